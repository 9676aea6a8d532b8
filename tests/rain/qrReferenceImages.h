#pragma once
// Test pictures for the reference comparisons, and an exact comparison that
// names the first pixels that differ.
#include "qrRainTestImages.h"
#include "qrReferenceRain.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <type_traits>

namespace QrReference {

// A component value near `v` (work units) that the storage can hold, moved
// by `steps` of its smallest increment (one for integers, one ulp for float).
template <class S> typename S::Component near(float v, int steps)
{
    using C = typename S::Component;
    if constexpr (S::kInteger) {
        const double w = S::Desc::kWhite;
        return C(std::min(std::max(std::trunc(double(v)) + steps, 0.0), w));
    } else {
        float r = v;
        for (; steps > 0; --steps)
            r = std::nextafter(r, 2.0f * r + 1.0f);
        for (; steps < 0; ++steps)
            r = std::nextafter(r, -1.0f);
        return C(r);
    }
}

// A width x height picture whose components are hashed, with a good share of
// them exactly at, just below and just above the two thresholds, and at 0
// and white. `overWhite` allows float components above white.
template <class S>
QrTexture<S> picture(
    int32_t width, int32_t height, int32_t salt, float lowMark, float highMark, bool overWhite = false)
{
    const float white = float(S::Desc::kWhite);
    QrTexture<S> t = QrTexture<S>::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            S& p = *t.pixelAtIndex(x, y);
            for (int c = 0; c < S::kChannels; ++c) {
                const int32_t h = hash(key(x, y, salt * 4 + c));
                const float u = unit(hash(h));
                switch (h % 12) {
                case 0: p.c[c] = near<S>(lowMark, 0); break;
                case 1: p.c[c] = near<S>(lowMark, 1); break;
                case 2: p.c[c] = near<S>(highMark, 0); break;
                case 3: p.c[c] = near<S>(highMark, 1); break;
                case 4: p.c[c] = near<S>(highMark, -1); break;
                case 5: p.c[c] = 0; break;
                case 6: p.c[c] = near<S>(white, 0); break;
                case 7: p.c[c] = near<S>(u * white * (overWhite ? 1.5f : 1.0f), 0); break;
                default: p.c[c] = near<S>(u * white, 0); break;
                }
            }
        }
    return t;
}

// A single-channel matte with hashed values over 0..white.
template <class M> QrTexture<M> mattePicture(int32_t width, int32_t height, int32_t salt)
{
    QrTexture<M> t = QrTexture<M>::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const float u = unit(hash(key(x, y, salt)));
            t.pixelAtIndex(x, y)->c[0] = near<M>(u * float(M::Desc::kWhite), 0);
        }
    return t;
}

using QrRainTest::copyOf;

// Equal values, or both not a number (a float pixel divided by a vanishing
// brightness gives NaN on both sides alike).
template <class C> bool same(C a, C b)
{
    if constexpr (std::is_floating_point_v<C>)
        return a == b || (std::isnan(a) && std::isnan(b));
    else
        return a == b;
}

// Empty when the two same-sized images hold the same values; otherwise
// the number of differing pixels and the first few, as
// "(x,y) channel index: reference vs product".
template <class S> std::string differences(const QrTexture<S>& reference, const QrTexture<S>& product)
{
    std::ostringstream text;
    text.precision(9);
    int64_t count = 0;
    for (int32_t y = 0; y < reference.height(); ++y)
        for (int32_t x = 0; x < reference.width(); ++x) {
            const S& a = *reference.pixelAtIndex(x, y);
            const S& b = *product.pixelAtIndex(x, y);
            bool equal = true;
            for (int c = 0; c < S::kChannels; ++c)
                equal = equal && same(a.c[c], b.c[c]);
            if (equal || ++count > 4)
                continue;
            text << " (" << x << "," << y << ")";
            for (int c = 0; c < S::kChannels; ++c)
                if (!same(a.c[c], b.c[c]))
                    text << " channel " << c << ": " << double(a.c[c]) << " vs " << double(b.c[c]);
        }
    if (count == 0)
        return {};
    return std::to_string(count) + " pixels differ;" + text.str();
}

}  // namespace QrReference
