#pragma once
// The farther rain layers: drops only, each in a layer of its own that the
// rain processor streaks with the layer's own length and direction and adds
// in its rain pass with the layer's own intensity. The nearest layer (with
// the highlights) stays the processor's own layer; this holds the rest.
// `D` is the depth (QrDepth8, QrDepth16 or QrDepthF).
#include "noise/qrHash.h"
#include "noise/qrNoiseMonoKernel.h"
#include "noise/qrRGBNoiseRow.h"
#include "qrDepth.h"

#include <cstdint>
#include <vector>

template <class D> class QrRainDepthLayers {
    using S = typename D::Storage;
    static constexpr int white = D::kWhite;

public:
    using Texture = typename D::Texture;

    struct Layer {
        Texture texture;  // the output's geometry, blank outside the region
        QrNoiseMonoKernel drops;
        bool hasDrops = false;
        int32_t dropSeed = 0;
        float intensity = 0.0f;
    };

    bool empty() const { return layers_.empty(); }
    std::size_t size() const { return layers_.size(); }
    Layer& operator[](std::size_t i) { return layers_[i]; }
    const Layer& operator[](std::size_t i) const { return layers_[i]; }

    void clear() { layers_.clear(); }
    void add(Layer layer) { layers_.push_back(std::move(layer)); }

    // Row y of every layer, `count` pixels from column x0: drops on black.
    void addDrops(int32_t y, int32_t x0, int32_t count)
    {
        using Row = QrRGBNoiseRow<S, white>;
        static const S black {};
        const typename Row::Common common {nullptr, true};  // no response table, alpha too
        for (Layer& l : layers_)
            if (l.hasDrops)
                Row::mono(&black, 0, count, l.texture.placedPixel(x0, y), QrHash::key(x0, y, l.dropSeed),
                    l.drops, nullptr, common);
    }

    // The rain pass over a run of `n` pixels at (x, y), every channel alike:
    // out = src + (near * k) * intensity + the sum of (far * k) * its
    // intensity, summed in float and stored once. `k` is null without a matte.
    void combine(const S* src, int32_t step, int32_t n, int32_t x, int32_t y, const S* near, S* out,
        float intensity, const float* k) const
    {
        const S* far[kMaxFar];
        const std::size_t count = layers_.size() < kMaxFar ? layers_.size() : kMaxFar;
        for (std::size_t i = 0; i < count; ++i)
            far[i] = layers_[i].texture.placedPixel(x, y);
        for (int32_t p = 0; p < n; ++p, src += step) {
            const float w = k ? k[p] : 1.0f;
            for (int c = 0; c < S::kChannels; ++c) {
                float v = float(src->c[c]) + float(near[p].c[c]) * w * intensity;
                for (std::size_t i = 0; i < count; ++i)
                    v += float(far[i][p].c[c]) * w * layers_[i].intensity;
                out[p].c[c] =
                    Quarn::Pixel::storeComponent<typename S::Component, S::kInteger>(v, 0.0, double(white));
            }
        }
    }

private:
    static constexpr std::size_t kMaxFar = 8;
    std::vector<Layer> layers_;
};
