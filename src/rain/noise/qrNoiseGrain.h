#pragma once
// Grain for generated noise: a separable Gaussian that smooths a noise image
// into the region of an output image. The noise image is read through its
// own addressing (the generators give it margins and wrap edges), so the
// smoothing never runs out of data at the region's borders.
#include "qrPixel.h"
#include "qrProcRegion.h"
#include "qrTexture.h"

#include <cmath>
#include <cstdint>
#include <vector>

struct QrNoiseGrain {
    // Normalised Gaussian taps for a grain `size` in pixels: the kernel
    // reaches ceil(size) pixels either side with sigma = size / 2.
    static std::vector<float> taps(float size)
    {
        const int32_t reach = size > 0.0f ? int32_t(std::ceil(size)) : 0;
        std::vector<float> weights(std::size_t(2 * reach + 1), 1.0f);
        if (reach == 0)
            return weights;
        const double sigma = size * 0.5;
        double sum = 0.0;
        for (int32_t k = -reach; k <= reach; ++k) {
            const double w = std::exp(-0.5 * (k * k) / (sigma * sigma));
            weights[std::size_t(k + reach)] = float(w);
            sum += w;
        }
        for (float& w : weights)
            w = float(w / sum);
        return weights;
    }

    // Smooths `noise` with grain sizes (sizeX, sizeY) in pixels into the
    // region `r` of `out` (both addressed in coordinates).
    template <class P>
    static void blur(
        const QrTexture<P, P>& noise, QrTexture<P, P>& out, const QrRect& r, float sizeX, float sizeY)
    {
        using T = Quarn::Pixel::Traits<P>;
        const std::vector<float> wx = taps(sizeX), wy = taps(sizeY);
        const int32_t rx = int32_t(wx.size() / 2), ry = int32_t(wy.size() / 2);
        const int32_t rows = r.height() + 2 * ry, width = r.width();
        // Horizontal pass over the region's columns and the rows the
        // vertical taps need.
        std::vector<P> across(std::size_t(rows) * std::size_t(width));
        for (int32_t j = 0; j < rows; ++j)
            for (int32_t i = 0; i < width; ++i) {
                P sum {};
                for (int32_t k = -rx; k <= rx; ++k)
                    accumulate<T>(sum, noise.pixelAt(r.x0 + i + k, r.y0 - ry + j), wx[k + rx]);
                across[std::size_t(j) * width + i] = sum;
            }
        for (int32_t j = 0; j < r.height(); ++j) {
            P* row = out.placedPixel(r.x0, r.y0 + j);
            for (int32_t i = 0; i < width; ++i) {
                P sum {};
                for (int32_t k = 0; k <= 2 * ry; ++k)
                    accumulate<T>(sum, across[std::size_t(j + k) * width + i], wy[k]);
                row[i] = sum;
            }
        }
    }

private:
    template <class T, class P> static void accumulate(P& sum, const P& p, float w)
    {
        for (int c = 0; c < T::kChannels; ++c)
            T::channel(sum, c) += T::channel(p, c) * w;
    }
};
