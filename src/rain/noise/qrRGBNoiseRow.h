#pragma once
// Adding noise to one run of ARGB pixels: the per-pixel arithmetic of the
// noise processor, kept apart from its band walking so that the rain can add
// its drops to a layer row it has just written, while the row is in cache.
#include "noise/qrNoiseMonoKernel.h"
#include "qrPixel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

template <class S, int white> struct QrRGBNoiseRow {
    using Component = typename S::Component;
    static constexpr float kWhite = float(white);
    static constexpr int kColour[3] = {S::kRed, S::kGreen, S::kBlue};

    // Settings shared by every mode.
    struct Common {
        const float* responseTable = nullptr;  // 766 factors by brightness, or null
        bool affectAlpha = false;
    };

    static Component add(Component in, float v)
    {
        const float sum = std::clamp(float(in) + v, 0.0f, kWhite);
        return Quarn::Pixel::storeComponent<Component, S::kInteger>(sum, 0.0, double(white));
    }

    // The response factor for the brightness of `in`: the table entry at
    // floor(mean(R, G, B) * 765 / white), written without the division by 3
    // so that integer depths hit their entries exactly.
    static float response(const S& in, const float* table)
    {
        const float sum = float(in.r()) + float(in.g()) + float(in.b());
        const float index = std::floor(sum * (255.0f / kWhite));
        return table[int(std::clamp(index, 0.0f, 765.0f))];
    }

    // One value `v` (work units) added to the colour channels and, when
    // asked, to alpha.
    static void addAll(const S& in, float v, const Common& common, S& out)
    {
        if (common.responseTable)
            v *= response(in, common.responseTable);
        if (v == 0.0f && S::kInteger) {  // integer storage is already in range
            out = in;
            return;
        }
        for (int c : kColour)
            out.c[c] = add(in.c[c], v);
        out.c[S::kAlpha] = common.affectAlpha ? add(in.c[S::kAlpha], v) : in.c[S::kAlpha];
    }

    // Monochrome noise over `count` pixels read from `in` with `step`,
    // written to `out`; `key` is the pixel key of the first pixel and
    // `pregenerated`, when not null, holds the raw noise of the run.
    static void mono(const S* in, int32_t step, int32_t count, S* out, int32_t key,
        const QrNoiseMonoKernel& kernel, const float* pregenerated, const Common& common)
    {
        for (int32_t k = 0; k < count; ++k, in += step, key = QrHash::advance(key, 1)) {
            float v = 0.0f;
            if (pregenerated) {
                v = kernel.cut(pregenerated[k] + kernel.lo);
            } else {
                const int32_t h = QrHash::hash(key);
                if (!kernel.isQuiet(h))
                    v = kernel.cut(kernel.rawFromHash(h));
            }
            if (v == 0.0f && S::kInteger) {  // integer storage is already in range
                if (in != out + k)
                    out[k] = *in;
                continue;
            }
            addAll(*in, v, common, out[k]);
        }
    }

    // Colour noise: channel c (0..2 colour, 3 alpha) takes its own value from
    // `kernels[c]`. `perChannelKeys` gives each channel its own hash (key
    // n + c, independent colour noise); otherwise all channels share the hash
    // of key n and differ only by their ranges (correlated, tinted noise).
    // `pregenerated`, when not null, holds four raw values per pixel (RGBA).
    static void colour(const S* in, int32_t step, int32_t count, S* out, int32_t key,
        const QrNoiseMonoKernel kernels[4], bool perChannelKeys, const float* pregenerated,
        const Common& common)
    {
        const int channels[4] = {S::kRed, S::kGreen, S::kBlue, S::kAlpha};
        const int used = common.affectAlpha ? 4 : 3;
        for (int32_t k = 0; k < count; ++k, in += step, key = QrHash::advance(key, 1)) {
            const float factor = common.responseTable ? response(*in, common.responseTable) : 1.0f;
            S result = *in;
            for (int c = 0; c < used; ++c) {
                const QrNoiseMonoKernel& kc = kernels[c];
                const float raw = pregenerated ? pregenerated[4 * k + c] + kc.lo
                                               : kc.raw(perChannelKeys ? QrHash::offset(key, c) : key);
                result.c[channels[c]] = add(in->c[channels[c]], kc.cut(raw) * factor);
            }
            out[k] = result;
        }
    }
};
