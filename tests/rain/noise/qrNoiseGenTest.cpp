// The noise generators and the noise processor beyond its monochrome values
// (those are checked against the literal reference). Wrong ranges or clamps
// would shift the mean of grained noise, keys that follow the window would
// make the grain crawl when the region changes, and the colour modes, grain,
// self-multiply and thread count each change what the noise looks like.
#include "noise/qrNoiseGen.h"
#include "noise/qrRGBANoiseGen.h"
#include "noise/qrRGBNoiseProc.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;
using Gen = QrNoiseGen<float, float, 2147483647>;
using NoiseF = QrRGBNoiseProc<ARGBF, ARGBF, 1>;

// The values `gen` gives a w x h image of -99, row by row.
template <class G> std::vector<float> generate(G& gen, int32_t w, int32_t h)
{
    auto t = QrTexture<float, float>::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        std::fill(t.pixelAtIndex(0, y), t.pixelAtIndex(0, y) + w, -99.0f);
    gen.process(t);
    std::vector<float> values;
    for (int32_t y = 0; y < h; ++y)
        values.insert(values.end(), t.pixelAtIndex(0, y), t.pixelAtIndex(0, y) + w);
    return values;
}

TEST(QrNoiseGen, ValuesSpanOffsetToOffsetPlusRangeWithinTheClamps)
{
    // Offset, range, low clamp, and the bounds after the clamps. The last row
    // has most values far above the generator's white.
    for (auto [offset, range, clampLow, lowest, highest] : {std::tuple {0.0f, 1.0f, false, 0.0f, 1.0f},
             {-0.5f, 1.0f, false, -0.5f, 0.5f}, {-0.5f, 1.0f, true, 0.0f, 0.5f},
             {3.0f, 0.25f, false, 3.0f, 3.25f}, {0.0f, 8.0f * 2147483648.0f, false, 0.0f, 2147483648.0f}}) {
        Gen gen;
        gen.seed = 17;
        gen.offset = offset;
        gen.range = range;
        gen.clampLow = clampLow;
        const std::vector<float> v = generate(gen, 64, 64);
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        EXPECT_GE(*lo, lowest) << offset << " " << range;
        EXPECT_LE(*hi, highest + 1e-6f);
        EXPECT_LT(*lo, lowest + 0.02f * range);
        EXPECT_GT(*hi, highest - 0.02f * range);
        if (clampLow) {
            EXPECT_NEAR(std::count(v.begin(), v.end(), 0.0f), 64 * 64 / 2, 64 * 64 / 20);
        }
    }
}

TEST(QrNoiseGen, ValuesBelongToAbsoluteCoordinates)
{
    Gen a, b;
    a.range = b.range = 1.0f;
    b.setRegion(5, 9, 30, 20);
    const std::vector<float> whole = generate(a, 40, 40), part = generate(b, 40, 40);
    for (int32_t y = 9; y <= 20; ++y)
        for (int32_t x = 5; x <= 30; ++x)
            ASSERT_EQ(part[y * 40 + x], whole[y * 40 + x]) << x << "," << y;
    EXPECT_EQ(part[9 * 40 + 4], -99.0f);
}

TEST(QrNoiseGen, GrainKeepsTheMeanAndReachesTheBorders)
{
    Gen gen;
    gen.range = 1.0f;
    gen.grainX = gen.grainY = 4.0f;
    const std::vector<float> v = generate(gen, 48, 48);
    EXPECT_TRUE(gen.isSmoothing());
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    EXPECT_GT(*lo, 0.05f);  // no dark rim from missing data
    EXPECT_LT(*hi, 0.95f);
    EXPECT_NEAR(std::accumulate(v.begin(), v.end(), 0.0) / double(v.size()), 0.5, 0.03);
}

TEST(QrRGBANoiseGen, ChannelsTakeTheirOwnRangesAndKeys)
{
    auto img = QrTexture<Quarn::Pixel::RGBAF>::allocate(30, 30);
    QrRGBANoiseGen<Quarn::Pixel::RGBAF> gen;
    const float ranges[4] = {0.1f, 0.5f, 1.0f, 1.0f};
    std::copy_n(ranges, 4, gen.range);
    gen.process(img);
    float top[4] = {0, 0, 0, 0};
    int sameAsRed = 0;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 30; ++x) {
            const auto& p = *img.pixelAtIndex(x, y);
            for (int c = 0; c < 4; ++c)
                top[c] = std::max(top[c], p.c[c]);
            sameAsRed += p.c[2] == p.c[0] * 10.0f;
        }
    EXPECT_NEAR(top[0], 0.1f, 0.01f);
    EXPECT_NEAR(top[1], 0.5f, 0.05f);
    EXPECT_NEAR(top[2], 1.0f, 0.05f);
    EXPECT_EQ(top[3], 0.0f);  // the fourth channel only on request
    EXPECT_LT(sameAsRed, 5);
}

template <class Proc>
void configure(Proc& proc, float lo, float hi, float cutoff, int32_t mode = Proc::kMonochrome)
{
    proc.noiseMode = mode;
    proc.seed = 4242;
    proc.cutoff = cutoff;
    std::fill_n(proc.minimum, 4, lo);
    std::fill_n(proc.maximum, 4, hi);
}

TEST(QrRGBNoiseProc, ResultDoesNotDependOnThreads)
{
    const auto source = nightImage<ARGB16>(97, 131);
    expectSameForEveryThreadCount(source, [&source] {
        auto out = copyOf(source);
        QrRGBNoiseProc<ARGB16, Quarn::Pixel::ARGBW32768, 32768> proc;
        configure(proc, -0.3f, 0.4f, 0.5f);
        proc.affectAlpha = true;
        proc.process(out, out);
        return out;
    });
}

// Colour noise takes a hash per channel; tinted noise one hash for all,
// spread over each channel's own range (with equal ranges: monochrome noise).
TEST(QrRGBNoiseProc, ColourModesDifferInHowChannelsAreCorrelated)
{
    const auto source = filled(60, 60, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    auto noisy = [&source](int mode, float lo, float hi, float redHi, float blueLo) {
        auto out = copyOf(source);
        NoiseF proc;
        configure(proc, lo, hi, 0.0f, mode);
        proc.maximum[0] = redHi;
        proc.minimum[2] = blueLo;
        proc.process(source, out);
        return out;
    };
    EXPECT_EQ(differingPixels(noisy(NoiseF::kMonochrome, -0.1f, 0.1f, 0.1f, -0.1f),
                  noisy(NoiseF::kTinted, -0.1f, 0.1f, 0.1f, -0.1f)),
        0);
    const auto colour = noisy(NoiseF::kColour, -0.1f, 0.1f, 0.1f, -0.1f);
    // Red up to +0.2, green none, blue down to -0.1.
    const auto tinted = noisy(NoiseF::kTinted, 0.0f, 0.0f, 0.2f, -0.1f);
    int64_t grey = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const ARGBF& c = *colour.pixelAtIndex(x, y);
            grey += c.r() == c.g() && c.g() == c.b();
            const ARGBF& p = *tinted.pixelAtIndex(x, y);
            const float red = p.r() - 0.5f, blue = 0.5f - p.b();
            ASSERT_EQ(p.g(), 0.5f);
            ASSERT_GE(red, 0.0f);
            ASSERT_LE(red, 0.2f + 1e-6f);
            // One hash u: red rises by 0.2u, blue falls by 0.1(1 - u).
            ASSERT_NEAR(blue, (0.2f - red) * 0.5f, 1e-5f) << x << "," << y;
        }
    EXPECT_LT(grey, 10);
}

TEST(QrRGBNoiseProc, GrainSmoothsTheNoise)
{
    auto roughness = [](const QrTexture<ARGBF>& img) {
        double sum = 0.0;
        for (int32_t y = 10; y < 70; ++y)
            for (int32_t x = 10; x < 69; ++x)
                sum += std::fabs(img.pixelAtIndex(x + 1, y)->r() - img.pixelAtIndex(x, y)->r());
        return sum;
    };
    const auto source = filled(80, 80, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    for (int mode : {NoiseF::kMonochrome, NoiseF::kColour}) {
        auto rough = copyOf(source), smooth = copyOf(source);
        NoiseF a, b;
        configure(a, -0.2f, 0.2f, 0.0f, mode);
        configure(b, -0.2f, 0.2f, 0.0f, mode);
        b.grainX[0] = b.grainY[0] = 3.0f;
        a.process(source, rough);
        b.process(source, smooth);
        EXPECT_FALSE(a.isPregenerated());
        EXPECT_TRUE(b.isPregenerated());
        EXPECT_LT(roughness(smooth), roughness(rough) * 0.5) << "mode " << mode;
        EXPECT_GT(roughness(smooth), 0.0) << "mode " << mode;
    }
}

TEST(QrRGBNoiseProc, SelfMultiplyDarkensTowardsTheExtremes)
{
    auto img = filled(20, 20, pixel<ARGB8>(1, 0.5, 0.5, 0.5));
    QrRGBNoiseProc<ARGB8, Quarn::Pixel::ARGBW255, 255> proc;
    configure(proc, 0.0f, 0.0f, 0.0f);  // no noise at all
    proc.multiplyPasses = 1;
    proc.process(img, img);
    const ARGB8& p = *img.pixelAtIndex(3, 3);
    EXPECT_EQ(p.r(), (127 * 127) / 255);  // 127 squared in units of white
    EXPECT_EQ(p.a(), 255);  // alpha only with the flag
}

}  // namespace
