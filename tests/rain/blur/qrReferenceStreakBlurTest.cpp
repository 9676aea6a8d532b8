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
#include <string>
#include <tuple>

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

// The first stored value that the exact reference value does not explain:
// an integer must be the truncation of a value within 2e-6 of white of it,
// a float within 2e-6 of it.
template <class S>
std::string unexplained(const QrTexture<S>& product, const QrReferenceBlur::FloatImage& reference)
{
    const double white = S::Desc::kWhite;
    for (int32_t y = 0; y < reference.height; ++y)
        for (int32_t x = 0; x < reference.width; ++x)
            for (int ch = 0; ch < 4; ++ch) {
                const double exact = reference.at(x, y)[ch], got = product.pixelAtIndex(x, y)->c[ch];
                const double low = S::kInteger && got == 0.0 ? -INFINITY : got;
                const double high = S::kInteger ? (got == white ? INFINITY : got + 1.0) : got;
                const double tolerance = 2e-6 * white;
                if (exact < low - tolerance || exact > high + tolerance)
                    return testing::PrintToString(std::tuple(x, y, ch, got, exact));
            }
    return "";
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
                    // Noise, or mostly dark with scattered bright drops like the rain layer.
                    QrTexture<S> input = noiseImage<S>(w, h, ++seed);
                    for (int32_t y = 0; drops && y < h; ++y)
                        for (int32_t x = 0; x < w; ++x)
                            if (hashed(x, y, seed + 1) > 0.1f)
                                *input.pixelAtIndex(x, y) = S::black();

                    const float direction = float(degrees * kPi / 180.0);
                    QrTexture<S> product = QrTexture<S>::allocate(w, h);
                    SimpleLinearBlur<S>(
                        {.length = length, .direction = direction, .quality = v.quality, .thirds = v.thirds})
                        .process(input, product);

                    // The reference takes its start rows in the product's order:
                    // strips of at least twice the deposit reach, even strips first.
                    QrReferenceBlur::Settings s {length, direction, v.quality, v.thirds, 16};
                    s.rowsPerStrip = std::max(2 * QrReferenceBlur::depositRowReach(s), 16);
                    EXPECT_EQ(unexplained(product, QrReferenceBlur::Blur<S>(input, s).run()), "")
                        << "(x, y, channel, product, reference) at " << degrees << " degrees, length "
                        << length << ", " << w << "x" << h << (drops ? ", drops" : ", noise") << ", quality "
                        << v.quality << (v.thirds ? ", thirds" : "");
                }
}

// The rain's own variant (bilinear, thirds) at every depth, the others at
// 8-bit and float.
TEST(ReferenceStreakBlur, EveryVariantMatchesTheLiteralScatter)
{
    expectMatchOverAllCases<ARGB16>({1, true});
    for (Variant v : {Variant {1, true}, {0, false}, {0, true}, {1, false}, {2, true}, {2, false}}) {
        expectMatchOverAllCases<ARGB8>(v);
        expectMatchOverAllCases<ARGBF>(v);
    }
}

}  // namespace
