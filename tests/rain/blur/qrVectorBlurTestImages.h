#pragma once
// Images for the streak blur tests: textures filled from a hash of the pixel
// position, exact comparison, and the light distribution of a blurred spot.
#include "noise/qrHash.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace QrVectorBlurTest {

template <class S> using Texture = QrTexture<S>;

// Every channel of every pixel from a hash, over the storage's whole range.
template <class S> Texture<S> noiseImage(int32_t width, int32_t height, int32_t seed)
{
    Texture<S> t = Texture<S>::allocate(width, height);
    const double white = S::Desc::kWhite;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) {
                const float u = QrHash::unit(QrHash::hash(QrHash::key(x * 4 + c, y, seed)));
                t.pixelAtIndex(x, y)->c[c] = typename S::Component(u * white);
            }
    return t;
}

// Black everywhere but one pixel at white.
template <class S> Texture<S> spotImage(int32_t width, int32_t height, int32_t sx, int32_t sy)
{
    Texture<S> t = Texture<S>::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            *t.pixelAtIndex(x, y) = (x == sx && y == sy) ? S::white() : S::black();
    return t;
}

template <class S> Texture<S> copyOf(const Texture<S>& from)
{
    Texture<S> t = Texture<S>::allocate(from.width(), from.height());
    for (int32_t y = 0; y < from.height(); ++y)
        std::memcpy(t.rowStart(y), from.rowStart(y), sizeof(S) * std::size_t(from.width()));
    return t;
}

// True when both images hold the same bytes.
template <class S> bool identical(const Texture<S>& a, const Texture<S>& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int32_t y = 0; y < a.height(); ++y)
        if (std::memcmp(a.rowStart(y), b.rowStart(y), sizeof(S) * std::size_t(a.width())) != 0)
            return false;
    return true;
}

// Total, centre and second moments of one channel, seen as a mass
// distribution; `along` and `across` are the spreads along the principal
// axis and across it, `axis` its angle in radians (modulo pi).
struct Spread {
    double total = 0, cx = 0, cy = 0, along = 0, across = 0, axis = 0;
};

template <class S> Spread spreadOf(const Texture<S>& t, int channel)
{
    Spread s;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int32_t y = 0; y < t.height(); ++y)
        for (int32_t x = 0; x < t.width(); ++x) {
            const double m = t.pixelAtIndex(x, y)->c[channel];
            s.total += m;
            sx += m * x;
            sy += m * y;
            sxx += m * x * x;
            syy += m * y * y;
            sxy += m * x * y;
        }
    s.cx = sx / s.total;
    s.cy = sy / s.total;
    const double vxx = sxx / s.total - s.cx * s.cx, vyy = syy / s.total - s.cy * s.cy;
    const double vxy = sxy / s.total - s.cx * s.cy;
    const double mean = 0.5 * (vxx + vyy);
    const double diff = std::sqrt(0.25 * (vxx - vyy) * (vxx - vyy) + vxy * vxy);
    s.along = std::sqrt(mean + diff);
    s.across = std::sqrt(std::max(mean - diff, 0.0));
    s.axis = 0.5 * std::atan2(2 * vxy, vxx - vyy);
    return s;
}

// Difference of two directions taken modulo half a turn, in 0..pi/2.
inline double axisDifference(double a, double b)
{
    const double pi = 3.14159265358979323846;
    double d = std::fmod(std::fabs(a - b), pi);
    return std::min(d, pi - d);
}

}  // namespace QrVectorBlurTest
