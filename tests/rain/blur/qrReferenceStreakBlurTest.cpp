// The streak blur against a slow, literal scatter (qrReferenceStreakBlur.h)
// at every depth, over directions, lengths, odd sizes and the nearest and
// bilinear variants. The two may differ only by float rounding (the running
// sums and the bilinear weights are rounded in another order), so a
// truncated 8-bit or 16-bit value may land one step apart when the exact
// value sits on a step, and a float value a few ulps apart. Anything more is
// a fault in the blur.
#include "qrReferenceStreakBlur.h"
#include "blur/qrSimpleLinearBlur.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

// The largest difference of one stored value and, for integers, how far the
// exact reference lies outside the values that store as the product's value.
struct Difference {
    double maxAbs = 0.0, maxExcess = 0.0;
    int32_t x = -1, y = -1, channel = -1;
    double product = 0.0, reference = 0.0;
};

template <class S>
Difference compare(const QrTexture<S>& product, const QrReferenceBlur::FloatImage& reference)
{
    const double white = S::Desc::kWhite;
    Difference d;
    for (int32_t y = 0; y < reference.height; ++y)
        for (int32_t x = 0; x < reference.width; ++x)
            for (int ch = 0; ch < 4; ++ch) {
                const double exact = reference.at(x, y)[ch];
                const double got = product.pixelAtIndex(x, y)->c[ch];
                const double diff = std::fabs(QrReference::store<S>(float(exact)) - got);
                if (S::kInteger) {
                    const double low = got == 0.0 ? -INFINITY : got;
                    const double high = got == white ? INFINITY : got + 1.0;
                    d.maxExcess = std::max(
                        d.maxExcess, exact < low ? low - exact : (exact >= high ? exact - high : 0.0));
                }
                if (diff > d.maxAbs)
                    d = {diff, d.maxExcess, x, y, ch, got, exact};
            }
    return d;
}

struct Variant {
    int32_t quality;
    bool thirds;
};

template <class S> void expectMatchOverAllCases(const Variant& v)
{
    constexpr double kPi = 3.14159265358979323846;
    int32_t seed = 0;
    // Directions along both axes and between them, lengths from "no blur at
    // all" to longer than the image, odd sizes; 41 x 37 is cut into several
    // strips of start rows.
    for (double degrees : {-90.0, 0.0, 30.0, 90.0, 135.0, 180.0})
        for (float length : {0.02f, 1.0f, 7.5f, 50.0f})
            for (auto [w, h] : {std::pair {1, 1}, {7, 5}, {13, 11}, {33, 15}, {41, 37}})
                for (bool drops : {false, true}) {
                    SCOPED_TRACE(testing::Message()
                        << degrees << " degrees, length " << length << ", " << w << "x" << h
                        << (drops ? ", drops" : ", noise") << ", quality " << v.quality
                        << (v.thirds ? ", thirds" : ""));
                    // Noise, or mostly dark with scattered bright drops like the rain layer.
                    QrTexture<S> input = noiseImage<S>(w, h, ++seed);
                    for (int32_t y = 0; drops && y < h; ++y)
                        for (int32_t x = 0; x < w; ++x)
                            if (QrHash::unit(QrHash::hash(QrHash::key(x, y, seed + 1))) > 0.1f)
                                *input.pixelAtIndex(x, y) = S::black();

                    const float direction = float(degrees * kPi / 180.0);
                    QrTexture<S> product = QrTexture<S>::allocate(w, h);
                    SimpleLinearBlur<S> blur(length, direction);
                    blur.quality = v.quality;
                    blur.thirds = v.thirds;
                    blur.process(input, product);

                    // The reference takes its start rows in the product's order:
                    // strips of at least twice the deposit reach, even strips first.
                    QrReferenceBlur::Settings s {length, direction, v.quality, v.thirds, 16};
                    s.rowsPerStrip = std::max(2 * QrReferenceBlur::depositRowReach(s), 16);
                    const Difference d = compare(product, QrReferenceBlur::Blur<S>(input, s).run());
                    const auto worst = testing::Message()
                        << "worst at (" << d.x << ", " << d.y << ") channel " << d.channel << ": product "
                        << d.product << ", reference " << d.reference;
                    EXPECT_LE(d.maxAbs, S::kInteger ? 1.0 : 2e-6) << worst;
                    if constexpr (S::kInteger) {
                        EXPECT_LE(d.maxExcess, 2e-6 * S::Desc::kWhite) << worst;
                    }
                }
}

TEST(ReferenceStreakBlur, TheRainsBlurMatchesTheLiteralScatterAtEveryDepth)
{
    const Variant rain {1, true};
    expectMatchOverAllCases<ARGB8>(rain);
    expectMatchOverAllCases<ARGB16>(rain);
    expectMatchOverAllCases<ARGBF>(rain);
}

TEST(ReferenceStreakBlur, NearestAndBilinearVariantsMatchTheLiteralScatter)
{
    for (Variant v :
        {Variant {0, false}, Variant {0, true}, Variant {1, false}, Variant {2, true}, Variant {2, false}}) {
        expectMatchOverAllCases<ARGB8>(v);
        expectMatchOverAllCases<ARGBF>(v);
    }
}

}  // namespace
