#pragma once
// The rain's highlight pass on one run of pixels: a source pixel whose
// brightest colour channel m lies above the diffusion minimum is copied into
// the rain layer scaled so that m ramps from 0 at the minimum to white at the
// maximum and is white above it; alpha takes the same factor. Darker pixels
// leave a transparent black layer pixel.
//
// The factor is kept as a fraction num/den of exact double products, and each
// layer value is c·num/den with one rounding, then truncated in double: a
// layer value that is an integer in exact arithmetic (white for the brightest
// channel at and above the maximum) stores as that integer, which a rounded
// float factor times c does not always give.
#include "qrPixel.h"
#include "proc/qrRainProcTable.h"

#include <algorithm>
#include <cstdint>

template <class S, int white> class QrRainProcHighlight {
public:
    using Component = typename S::Component;

    // The scale of a pixel whose brightest channel is m, as num / den; num is
    // 0 exactly when the pixel stays out of the layer.
    struct Ratio {
        double num = 0.0;
        double den = 1.0;
    };

    // Thresholds in work units (0..white).
    QrRainProcHighlight(float minThreshold, float maxThreshold) : table_(Ramp {minThreshold, maxThreshold})
    {
    }

    // The tests run in this order so that no m = 0 is divided by while both
    // thresholds are non-negative, and a minimum above the maximum keeps only
    // m > maximum. Differences of floats and products of a float with an
    // integer component are exact in double.
    static Ratio ratio(float m, float minThreshold, float maxThreshold)
    {
        if (m <= maxThreshold) {
            if (m <= minThreshold)
                return {};
            return {double(white) * (double(m) - minThreshold), (double(maxThreshold) - minThreshold) * m};
        }
        return {double(white), double(m)};
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
        const Ratio r = table_(std::max({p.r(), p.g(), p.b()}));
        S out {};
        if (r.num == 0.0)
            return out;
        for (int c = 0; c < S::kChannels; ++c)
            out.c[c] = store(double(p.c[c]) * r.num / r.den);
        return out;
    }

private:
    // The store conversion on the double value, so that truncation sees the
    // value before any float rounding. NaN stores as 0.
    static Component store(double v)
    {
        if constexpr (S::kInteger)
            return Component(v > 0.0 ? (v < double(white) ? v : double(white)) : 0.0);
        else
            return Component(v);
    }

    struct Ramp {
        float minThreshold, maxThreshold;
        Ratio operator()(float m) const { return ratio(m, minThreshold, maxThreshold); }
    };
    QrRainProcTable<Component, Ramp> table_;
};
