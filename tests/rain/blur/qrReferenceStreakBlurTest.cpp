// The streak blur against a slow, literal scatter (qrReferenceStreakBlur.h)
// at every depth, over directions, lengths and odd sizes. The two may differ
// only by float rounding (the running sums and the bilinear weights are
// rounded in another order), so a truncated 8-bit or 16-bit value may land
// one step apart when the exact value sits on a step, and a float value a
// few ulps apart. Anything more is a fault in the blur.
#include "qrReferenceStreakBlur.h"
#include "blur/qrSimpleLinearBlur.h"
#include "qrVectorBlurTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace QrVectorBlurTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Difference {
    double maxAbs = 0.0;  // largest difference of one stored value
    double maxExcess = 0.0;  // integers: how far the reference lies outside
                             // the values that store as the product's value
    int32_t pixels = 0;  // pixels with any channel different
    int32_t offByOne = 0;  // integers: pixels whose largest difference is one step
    int32_t worstX = -1, worstY = -1, worstChannel = -1;
    double productValue = 0.0, referenceValue = 0.0;
};

// The distance from v to the values that the storage conversion (clamp to
// black..white, truncate) turns into `stored`.
template <class S> double excess(double v, double stored)
{
    const double white = S::Desc::kWhite;
    const double low = stored == 0.0 ? -INFINITY : stored;
    const double high = stored == white ? INFINITY : stored + 1.0;
    return v < low ? low - v : (v >= high ? v - high : 0.0);
}

template <class S> Difference compare(const Texture<S>& product, const QrReferenceBlur::FloatImage& reference)
{
    Difference d;
    for (int32_t y = 0; y < reference.height; ++y)
        for (int32_t x = 0; x < reference.width; ++x) {
            double pixelMax = 0.0;
            for (int ch = 0; ch < 4; ++ch) {
                const double exact = reference.at(x, y)[ch];
                const double want = QrReferenceBlur::store<S>(reference.at(x, y)[ch]);
                const double got = product.pixelAtIndex(x, y)->c[ch];
                const double diff = std::fabs(want - got);
                pixelMax = std::max(pixelMax, diff);
                if (S::kInteger)
                    d.maxExcess = std::max(d.maxExcess, excess<S>(exact, got));
                if (diff > d.maxAbs) {
                    d.maxAbs = diff;
                    d.worstX = x, d.worstY = y, d.worstChannel = ch;
                    d.productValue = got, d.referenceValue = exact;
                }
            }
            d.pixels += pixelMax > 0.0;
            d.offByOne += S::kInteger && pixelMax == 1.0;
        }
    return d;
}

std::string describe(const Difference& d)
{
    char text[240];
    std::snprintf(text, sizeof text,
        "max %.3g (excess %.3g) over %d pixels (%d by one step); worst at (%d, %d) "
        "channel %d: product %.9g, reference %.9g",
        d.maxAbs, d.maxExcess, d.pixels, d.offByOne, d.worstX, d.worstY, d.worstChannel, d.productValue,
        d.referenceValue);
    return text;
}

// Float rounding only: a stored integer may land one step away, but only
// when the reference lies within a few float ulps of the truncation step;
// a float may differ by a few ulps of 1.
template <class S> void expectRoundingOnly(const Difference& d)
{
    if constexpr (S::kInteger) {
        EXPECT_LE(d.maxAbs, 1.0) << describe(d);
        EXPECT_LE(d.maxExcess, 2e-6 * S::Desc::kWhite) << describe(d);
    } else {
        EXPECT_LE(d.maxAbs, 2e-6) << describe(d);
    }
}

struct Case {
    double degrees;
    float length;
    int32_t width, height;
};

// Directions along both axes and between them, lengths from "no blur at all"
// to longer than the image, odd sizes; 41 x 37 is cut into several strips of
// start rows.
std::vector<Case> cases()
{
    std::vector<Case> all;
    for (double degrees : {-90.0, 0.0, 30.0, 90.0, 135.0, 180.0})
        for (float length : {0.02f, 1.0f, 7.5f, 50.0f})
            for (auto [w, h] : {std::pair {1, 1}, {7, 5}, {13, 11}, {33, 15}, {41, 37}})
                all.push_back({degrees, length, w, h});
    return all;
}

// Mostly dark with scattered bright drops, like the rain layer.
template <class S> Texture<S> dropsImage(int32_t width, int32_t height, int32_t seed)
{
    Texture<S> t = noiseImage<S>(width, height, seed);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (QrHash::unit(QrHash::hash(QrHash::key(x, y, seed + 1))) > 0.1f)
                *t.pixelAtIndex(x, y) = S::black();
    return t;
}

struct Variant {
    int32_t quality = 1;
    bool thirds = true;
};

// The product blur and the reference on the same input; the reference takes
// its start rows in the product's order (strips of at least twice the
// deposit reach, even strips first).
template <class S> Difference runBoth(const Texture<S>& input, const Case& c, const Variant& v)
{
    const float direction = float(c.degrees * kPi / 180.0);
    Texture<S> product = Texture<S>::allocate(input.width(), input.height());
    SimpleLinearBlur<S> blur(c.length, direction);
    blur.quality = v.quality;
    blur.thirds = v.thirds;
    blur.process(input, product);

    QrReferenceBlur::Settings s;
    s.length = c.length;
    s.direction = direction;
    s.quality = v.quality;
    s.thirds = v.thirds;
    s.rowsPerStrip = std::max(2 * QrReferenceBlur::depositRowReach(s), 16);
    return compare(product, QrReferenceBlur::Blur<S>(input, s).run());
}

template <class S> void expectMatchOverAllCases(const Variant& v)
{
    int32_t seed = 0;
    for (const Case& c : cases())
        for (bool drops : {false, true}) {
            ++seed;
            SCOPED_TRACE(testing::Message() << c.degrees << " degrees, length " << c.length << ", " << c.width
                                            << "x" << c.height << (drops ? ", drops" : ", noise")
                                            << ", quality " << v.quality << (v.thirds ? ", thirds" : ""));
            const Texture<S> input =
                drops ? dropsImage<S>(c.width, c.height, seed) : noiseImage<S>(c.width, c.height, seed);
            expectRoundingOnly<S>(runBoth(input, c, v));
        }
}

TEST(ReferenceStreakBlurRain, MatchesTheLiteralScatterAtEveryDepth)
{
    const Variant rain;
    expectMatchOverAllCases<ARGB8>(rain);
    expectMatchOverAllCases<ARGB16>(rain);
    expectMatchOverAllCases<ARGBF>(rain);
}

TEST(ReferenceStreakBlurSettings, NearestAndBilinearVariantsMatchTheLiteralScatter)
{
    for (Variant v :
        {Variant {0, false}, Variant {0, true}, Variant {1, false}, Variant {2, true}, Variant {2, false}}) {
        expectMatchOverAllCases<ARGB8>(v);
        expectMatchOverAllCases<ARGBF>(v);
    }
}

}  // namespace
