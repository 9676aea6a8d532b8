#pragma once
// Slow, literal reference versions of the rain's noise and rain passes, one
// pixel at a time with no tables, fusion or skipping, so that the optimised
// processors can be compared with them value for value. Sources and mattes
// are read through the textures' single-pixel edge addressing (pixelAt).
#include "proc/qrRainSettings.h"
#include "qrProcRegion.h"
#include "qrRainTestImages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QrReference {

// The 32-bit hash, written with the subtraction; the arithmetic is done in
// 64 bits and reduced to 32 after each operation.
inline int32_t hash(int32_t n)
{
    auto wrap = [](uint64_t v) { return v & 0xFFFFFFFFu; };
    const uint64_t v = uint32_t(n);
    const uint64_t m = wrap(wrap(v << 13) ^ v);
    const uint64_t inner = wrap(wrap(m * m) * 15731 + 789221);
    const uint64_t h = wrap(m * inner) - 771171059;  // may wrap below 0
    return int32_t(h & 0x7FFFFFFF);
}

inline int32_t key(int32_t x, int32_t y, int32_t seed)
{
    const int64_t n = int64_t(x) * 7907 + int64_t(y) * 17387 + int64_t(seed);
    return int32_t(uint32_t(uint64_t(n)));
}

inline float unit(int32_t h)
{
    return float(h) * 4.656613e-10f;
}

// Storage conversion: integers clamp to 0..white and truncate; float keeps.
template <class S> typename S::Component store(float v)
{
    using C = typename S::Component;
    if constexpr (S::kInteger) {
        return C(std::trunc(std::clamp(double(v), 0.0, double(S::Desc::kWhite))));
    } else {
        return C(v);
    }
}

// Settings of the monochrome noise, ranges in units of white.
struct MonoNoise {
    int32_t seed = 0;
    float minimum[4] = {-0.05f, -0.05f, -0.05f, -0.05f};
    float maximum[4] = {0.05f, 0.05f, 0.05f, 0.05f};
    float cutoff = 0.0f;
    const float* responseTable = nullptr;  // 766 entries
    bool affectAlpha = false;
};

// The noise value of one hash under monochrome settings, in work units,
// after the cut-off.
struct MonoValue {
    float lo = 0, range = 0, t = 0, s = 1;
    bool cutting = false;

    static MonoValue make(const MonoNoise& n, float white)
    {
        // Means of three floats taken exactly, then scaled to work units.
        auto mean3 = [](const float* v) { return float((double(v[0]) + v[1] + v[2]) / 3.0); };
        MonoValue k;
        k.lo = mean3(n.minimum) * white;
        const float hi = mean3(n.maximum) * white;
        k.range = hi - k.lo;
        const float largest = std::max(std::fabs(hi), std::fabs(k.lo));
        k.t = largest * n.cutoff;
        k.s = largest / (largest - k.t);
        k.cutting = n.cutoff > 0.0f;
        return k;
    }

    float operator()(int32_t h) const
    {
        const float v = float(h) * range * 4.656613e-10f + lo;
        if (!cutting)
            return v;
        return v >= 0.0f ? std::max(0.0f, (v - t) * s) : std::min(0.0f, (v + t) * s);
    }
};

// Monochrome noise added to every pixel of `region`, read from `in` and
// written to `out` (which may be `in`).
template <class S>
void monoNoise(const QrTexture<S>& in, QrTexture<S>& out, const QrRect& region, const MonoNoise& n)
{
    if (n.cutoff >= 1.0f)
        return;
    const float white = float(S::Desc::kWhite);
    const MonoValue value = MonoValue::make(n, white);
    for (int32_t y = region.y0; y < region.y1; ++y)
        for (int32_t x = region.x0; x < region.x1; ++x) {
            const S src = in.pixelAt(x, y);
            float v = value(hash(key(x, y, n.seed)));
            if (n.responseTable) {
                // Brightness index from the exact mean of the three channels.
                const double sum = double(src.r()) + double(src.g()) + double(src.b());
                const int i = int(std::floor(sum / 3.0 * 765.0 / double(white)));
                v = v * n.responseTable[i];
            }
            S result = src;
            for (int c : {S::kRed, S::kGreen, S::kBlue})
                result.c[c] = store<S>(std::clamp(float(src.c[c]) + v, 0.0f, white));
            if (n.affectAlpha)
                result.c[S::kAlpha] = store<S>(std::clamp(float(src.c[S::kAlpha]) + v, 0.0f, white));
            *out.placedPixel(x, y) = result;
        }
}

inline int32_t dropSeed(int32_t frame, int32_t seed)
{
    const double product = std::fabs(double(frame) * 12541.0);
    const int64_t whole = int64_t(product);
    return int32_t(uint32_t(uint64_t(whole) + uint64_t(uint32_t(seed))));
}

// Highlight pixel: brightest colour channel ramped from the minimum to white,
// every channel scaled in long double and truncated from there.
template <class S> S highlight(const S& p, float minThreshold, float maxThreshold)
{
    using Long = long double;
    const Long white = Long(S::Desc::kWhite);
    const float r = float(p.r()), g = float(p.g()), b = float(p.b());
    const Long m = std::max(r, std::max(g, b));
    Long num = white, den = m;
    if (r <= maxThreshold && g <= maxThreshold && b <= maxThreshold) {
        if (r <= minThreshold && g <= minThreshold && b <= minThreshold)
            return S {};
        num = white * (m - minThreshold);
        den = (Long(maxThreshold) - minThreshold) * m;
    }
    S out;
    for (int c = 0; c < S::kChannels; ++c) {
        const Long v = Long(p.c[c]) * num / den;
        out.c[c] = typename S::Component(S::kInteger ? std::clamp(v, Long(0), white) : v);
    }
    return out;
}

// The rain layer before the streak blur: highlights over the region of an
// all-zero image of the output's size, then the drop noise in place.
template <class S>
QrTexture<S> layerBeforeStreaks(const QrTexture<S>& source, int32_t width, int32_t height,
    const QrRect& region, const QrRainSettings& rain)
{
    QrTexture<S> layer = QrRainTest::filled(width, height, S {});
    for (int32_t y = region.y0; y < region.y1; ++y)
        for (int32_t x = region.x0; x < region.x1; ++x)
            *layer.placedPixel(x, y) = highlight(source.pixelAt(x, y), rain.minThreshold, rain.maxThreshold);

    MonoNoise drops;
    drops.seed = dropSeed(rain.frame, rain.seed);
    std::fill_n(drops.minimum, 4, 0.0f);
    std::fill_n(drops.maximum, 4, rain.density);
    drops.cutoff = 1.0f - rain.density * 0.1f;
    drops.affectAlpha = true;
    monoNoise(layer, layer, region, drops);
    return layer;
}

// The rain pass: source plus layer weighted by the matte and the intensity.
template <class S, class M>
void rainPass(const QrTexture<S>& source, const QrTexture<S>& layer, const QrTexture<M>* matte,
    const QrRect& region, float intensity, QrTexture<S>& out)
{
    const float white = float(S::Desc::kWhite);
    for (int32_t y = region.y0; y < region.y1; ++y)
        for (int32_t x = region.x0; x < region.x1; ++x) {
            const float k = matte ? float(matte->pixelAt(x, y).c[0]) / white : 1.0f;
            const S src = source.pixelAt(x, y);
            const S& lit = *layer.placedPixel(x, y);
            S& dst = *out.placedPixel(x, y);
            for (int c = 0; c < S::kChannels; ++c)
                dst.c[c] = store<S>(float(src.c[c]) + float(lit.c[c]) * k * intensity);
        }
}

}  // namespace QrReference
