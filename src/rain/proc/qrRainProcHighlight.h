#pragma once
// The rain's highlight pass on one run of pixels: a source pixel whose
// brightest colour channel m lies above the diffusion minimum is copied into
// the rain layer scaled by s(m), so that m ramps from 0 at the minimum to
// white at the maximum and stays white above it; alpha takes the same factor.
// Darker pixels leave a transparent black layer pixel.
#include "qrPixel.h"
#include "proc/qrRainProcTable.h"

#include <algorithm>
#include <cstdint>

template <class S, int white> class QrRainProcHighlight {
public:
    using Component = typename S::Component;

    // Thresholds in work units (0..white).
    QrRainProcHighlight(float minThreshold, float maxThreshold) : table_(Scale {minThreshold, maxThreshold})
    {
    }

    // s(m); 0 exactly when the pixel stays out of the layer. The tests run
    // in this order so that no m = 0 is divided by while both thresholds are
    // non-negative, and a minimum above the maximum keeps only m > maximum.
    static float scale(float m, float minThreshold, float maxThreshold)
    {
        const float w = float(white);
        if (m <= maxThreshold) {
            if (m <= minThreshold)
                return 0.0f;
            return w * (m - minThreshold) / (maxThreshold - minThreshold) / m;
        }
        return w / m;
    }

    // Writes `count` layer pixels from source pixels read from `src` with
    // `step` (0 repeats one pixel, e.g. the edge colour).
    void run(const S* src, int32_t step, int32_t count, S* layer) const
    {
        if (step == 0) {
            std::fill(layer, layer + count, lit(*src));
            return;
        }
        for (int32_t k = 0; k < count; ++k, src += step)
            layer[k] = lit(*src);
    }

    S lit(const S& p) const
    {
        const float s = table_(std::max({p.r(), p.g(), p.b()}));
        S out {};
        if (s == 0.0f)
            return out;
        for (int c = 0; c < S::kChannels; ++c)
            out.c[c] =
                Quarn::Pixel::storeComponent<Component, S::kInteger>(float(p.c[c]) * s, 0.0, double(white));
        return out;
    }

private:
    struct Scale {
        float minThreshold, maxThreshold;
        float operator()(float m) const { return scale(m, minThreshold, maxThreshold); }
    };
    QrRainProcTable<Component, Scale> table_;
};
