#pragma once
// The rain pass on one run of pixels: the rain layer, weighted by the matte
// and the intensity, is added to the source, every channel alike (alpha
// included): out = src + (layer * k) * intensity, stored with the depth's
// store conversion (integer depths clamp and truncate, float is kept).
#include "qrPixel.h"

#include <cstdint>

template <class S, int white> struct QrRainProcCombine {
    using Component = typename S::Component;
    static constexpr int kChannels = S::kChannels;
    static constexpr int32_t kBlock = 16;

    static Component store(float v)
    {
        return Quarn::Pixel::storeComponent<Component, S::kInteger>(v, 0.0, double(white));
    }

    // Without a matte (k = 1, and layer * 1 is the layer exactly). A source
    // walked forwards is added component by component, which vectorises.
    static void run(const S* src, int32_t step, int32_t count, const S* layer, S* out, float intensity)
    {
        if (step == 1) {
            // Pixels are packed channel arrays: walk the run as components.
            const auto* s = reinterpret_cast<const Component*>(src);
            const auto* l = reinterpret_cast<const Component*>(layer);
            auto* o = reinterpret_cast<Component*>(out);
            // Each component depends on the same component only, so blocks
            // of a fixed size vectorise, even when the output is the source.
            const int32_t n = count * kChannels;
            int32_t i = 0;
            for (; i + kBlock <= n; i += kBlock) {
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC ivdep
#endif
                for (int32_t j = 0; j < kBlock; ++j)
                    o[i + j] = store(float(s[i + j]) + float(l[i + j]) * intensity);
            }
            for (; i < n; ++i)
                o[i] = store(float(s[i]) + float(l[i]) * intensity);
            return;
        }
        for (int32_t k = 0; k < count; ++k, src += step)
            for (int c = 0; c < kChannels; ++c)
                out[k].c[c] = store(float(src->c[c]) + float(layer[k].c[c]) * intensity);
    }

    // With the matte weights k[0 .. count-1] of the run.
    static void run(
        const S* src, int32_t step, int32_t count, const S* layer, S* out, float intensity, const float* k)
    {
        for (int32_t p = 0; p < count; ++p, src += step)
            for (int c = 0; c < kChannels; ++c)
                out[p].c[c] = store(float(src->c[c]) + float(layer[p].c[c]) * k[p] * intensity);
    }
};
