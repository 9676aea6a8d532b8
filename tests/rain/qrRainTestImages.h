#pragma once
// Images, comparisons, depths and thread settings shared by the rain tests.
#include "noise/qrHash.h"
#include "qrDepth.h"
#include "qrMultiProcessor.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>

namespace QrRainTest {

using Depths = ::testing::Types<QrDepth8, QrDepth16, QrDepthF>;

// A pixel from fractions of white (a, r, g, b).
template <class S> S pixel(double a, double r, double g, double b)
{
    S p;
    for (auto [c, v] :
        {std::pair {int(S::kAlpha), a}, {int(S::kRed), r}, {int(S::kGreen), g}, {int(S::kBlue), b}})
        p.c[c] = typename S::Component(v * S::Desc::kWhite);
    return p;
}

// A width x height image whose pixel (x, y) is f(x, y).
template <class S>
QrTexture<S> image(int32_t width, int32_t height, const std::function<S(int32_t, int32_t)>& f)
{
    QrTexture<S> t = QrTexture<S>::allocate(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            *t.pixelAtIndex(x, y) = f(x, y);
    return t;
}

template <class S> QrTexture<S> filled(int32_t width, int32_t height, const S& p)
{
    return image<S>(width, height, [&p](int32_t, int32_t) { return p; });
}

template <class S> QrTexture<S> copyOf(const QrTexture<S>& t)
{
    return image<S>(t.width(), t.height(), [&t](int32_t x, int32_t y) { return *t.pixelAtIndex(x, y); });
}

// A hashed value in 0..1 for a position and a salt.
inline float hashed(int32_t x, int32_t y, int32_t salt)
{
    return QrHash::unit(QrHash::hash(QrHash::key(x, y, salt)));
}

// Every channel of every pixel from a hash, over the storage's whole range.
template <class S> QrTexture<S> noiseImage(int32_t width, int32_t height, int32_t seed)
{
    return image<S>(width, height, [seed](int32_t x, int32_t y) {
        S p;
        for (int c = 0; c < 4; ++c)
            p.c[c] = typename S::Component(hashed(x * 4 + c, y, seed) * double(S::Desc::kWhite));
        return p;
    });
}

// A dim picture with a few bright spots: a gradient below every threshold the
// tests use, and hashed lights (about one pixel in 50) well above them.
template <class S> QrTexture<S> nightImage(int32_t width, int32_t height)
{
    return image<S>(width, height, [width](int32_t x, int32_t y) {
        const float u = hashed(x, y, 77);
        if (u > 0.98f)
            return pixel<S>(1.0, 0.7 + u * 0.3, 0.95, 0.6);
        const double g = 0.3 * x / width;
        return pixel<S>(1.0, g, g * 0.8, g + 0.05 * y / (y + 10.0));
    });
}

// A component value near `v` (work units) that the storage can hold, moved
// by `steps` of its smallest increment (one for integers, one ulp for float).
template <class S> typename S::Component near(float v, int steps)
{
    using C = typename S::Component;
    if constexpr (S::kInteger) {
        return C(std::clamp(std::trunc(double(v)) + steps, 0.0, double(S::Desc::kWhite)));
    } else {
        for (; steps > 0; --steps)
            v = std::nextafter(v, 2.0f * v + 1.0f);
        for (; steps < 0; ++steps)
            v = std::nextafter(v, -1.0f);
        return C(v);
    }
}

// A width x height picture for the reference comparisons: hashed components,
// a good share of them exactly at, just below and just above the two
// thresholds, and at 0 and white. `overWhite` allows float components above white.
template <class S>
QrTexture<S> picture(
    int32_t width, int32_t height, int32_t salt, float lowMark, float highMark, bool overWhite = false)
{
    const float white = float(S::Desc::kWhite);
    return image<S>(width, height, [=](int32_t x, int32_t y) {
        S p;
        for (int c = 0; c < S::kChannels; ++c) {
            const int32_t h = QrHash::hash(QrHash::key(x, y, salt * 4 + c));
            const float u = QrHash::unit(QrHash::hash(h));
            const float marks[] = {lowMark, lowMark, highMark, highMark, highMark, 0.0f, white,
                u * white * (overWhite ? 1.5f : 1.0f)};
            const int steps[] = {0, 1, 0, 1, -1, 0, 0, 0};
            const int32_t k = h % 12;
            p.c[c] = k < 8 ? near<S>(marks[k], steps[k]) : near<S>(u * white, 0);
        }
        return p;
    });
}

// A single-channel matte with hashed values over 0..white.
template <class M> QrTexture<M> mattePicture(int32_t width, int32_t height, int32_t salt)
{
    return image<M>(width, height, [salt](int32_t x, int32_t y) {
        M m;
        m.c[0] = near<M>(hashed(x, y, salt) * float(M::Desc::kWhite), 0);
        return m;
    });
}

// The same bytes, or both not a number (a float pixel divided by a vanishing
// brightness gives NaN on both sides alike, whatever its payload).
template <class C> bool same(C a, C b)
{
    if constexpr (std::is_floating_point_v<C>)
        if (std::isnan(a) && std::isnan(b))
            return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Empty when the two same-sized images hold the same components; otherwise
// the number of differing pixels and the first few, as
// "(x,y) channel index: reference vs product".
template <class S> std::string differences(const QrTexture<S>& reference, const QrTexture<S>& product)
{
    std::ostringstream text;
    text.precision(9);
    int64_t count = 0;
    for (int32_t y = 0; y < reference.height(); ++y)
        for (int32_t x = 0; x < reference.width(); ++x) {
            const S &a = *reference.pixelAtIndex(x, y), &b = *product.pixelAtIndex(x, y);
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
    return count == 0 ? std::string() : std::to_string(count) + " pixels differ;" + text.str();
}

// Sets or clears QUARN_MAX_PROCESSORS and overrides the processor count (0:
// the machine's own) for the scope; restores the previous state afterwards.
class ScopedMaxProcessors {
public:
    explicit ScopedMaxProcessors(const char* value, int32_t processors = 0)
    {
        if (const char* old = std::getenv("QUARN_MAX_PROCESSORS"))
            previous_ = old;
        apply(value, processors);
    }
    ~ScopedMaxProcessors() { apply(previous_ ? previous_->c_str() : nullptr, 0); }
    ScopedMaxProcessors(const ScopedMaxProcessors&) = delete;
    ScopedMaxProcessors& operator=(const ScopedMaxProcessors&) = delete;

private:
    static void apply(const char* value, int32_t processors)
    {
        if (value)
            setenv("QUARN_MAX_PROCESSORS", value, 1);
        else
            unsetenv("QUARN_MAX_PROCESSORS");
        QrMultiProcessor::resetMaxProcessorsForTesting();
        QrMultiProcessor::overrideProcessorCount(processors);
    }
    std::optional<std::string> previous_;
};

// Renders once on one thread and again under each thread set-up (processor
// counts, some limited by QUARN_MAX_PROCESSORS so that threads are left
// without rows, 0 for the machine's own count) and expects every result to
// hold the first one's bytes. The first must differ from `unchanged`.
template <class S, class Render>
void expectSameForEveryThreadCount(const QrTexture<S>& unchanged, const Render& render)
{
    const QrTexture<S> reference = [&render] {
        ScopedMaxProcessors one(nullptr, 1);
        return render();
    }();
    ASSERT_NE(differences(reference, unchanged), "") << "the render should change the image";
    for (auto [processors, limit] :
        {std::pair<int32_t, const char*> {2, nullptr}, {2, "1"}, {2, "2"}, {3, nullptr}, {4, "3"},
            {5, nullptr}, {5, "2"}, {7, nullptr}, {8, "6"}, {13, nullptr}, {0, nullptr}, {0, "2"}}) {
        ScopedMaxProcessors split(limit, processors);
        EXPECT_EQ(differences(reference, render()), "")
            << processors << " processors, limit " << (limit ? limit : "unset");
    }
}

}  // namespace QrRainTest
