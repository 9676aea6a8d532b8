// The noise processor makes the rain's drops. Failures here mean drops that
// move with the window, change with the thread count, leak into alpha, or
// ignore the cut-off the density relies on.
#include "noise/qrRGBNoiseProc.h"
#include "qrRainProcTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;
using Noise8 = QrRGBNoiseProc<ARGB8, Quarn::Pixel::ARGBW255, 255>;
using NoiseF = QrRGBNoiseProc<ARGBF, ARGBF, 1>;

template <class Proc> void configureDrops(Proc& proc, float lo, float hi, float cutoff)
{
    proc.noiseMode = Proc::kMonochrome;
    proc.seed = 4242;
    proc.cutoff = cutoff;
    for (int c = 0; c < 4; ++c) {
        proc.minimum[c] = lo;
        proc.maximum[c] = hi;
    }
}

TEST(QrRGBNoiseProc, CutoffAtOrAboveOneLeavesTheImageUnchanged)
{
    for (float cutoff : {1.0f, 1.5f}) {
        auto img = nightImage<ARGB8>(40, 30);
        const auto before = copyOf(img);
        Noise8 proc;
        configureDrops(proc, -1.0f, 1.0f, cutoff);
        proc.affectAlpha = true;
        proc.process(img, img);
        EXPECT_EQ(differingPixels(img, before), 0) << "cutoff " << cutoff;
    }
}

TEST(QrRGBNoiseProc, CutoffNineTenthsLeavesNoiseInAboutATenthOfThePixels)
{
    auto img = filled(200, 150, pixel<ARGB8>(1, 0, 0, 0));
    Noise8 proc;
    configureDrops(proc, 0.0f, 1.0f, 0.9f);
    proc.process(img, img);
    int64_t lit = 0;
    for (int32_t y = 0; y < img.height(); ++y)
        for (int32_t x = 0; x < img.width(); ++x) {
            const ARGB8& p = *img.pixelAtIndex(x, y);
            lit += p.r() > 0;
            // Monochrome: one value for every colour channel; alpha untouched.
            ASSERT_EQ(p.r(), p.g());
            ASSERT_EQ(p.r(), p.b());
            ASSERT_EQ(p.a(), 255);
        }
    const double fraction = double(lit) / (img.width() * img.height());
    // Values just above the cut-off truncate to 0 in 8 bits, so a little less.
    EXPECT_NEAR(fraction, 0.1, 0.012);
}

TEST(QrRGBNoiseProc, NoiseStaysPutWhenTheWindowMoves)
{
    auto whole = filled(64, 48, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    auto part = copyOf(whole);
    NoiseF a, b;
    configureDrops(a, -0.2f, 0.2f, 0.0f);
    configureDrops(b, -0.2f, 0.2f, 0.0f);
    a.process(whole, whole);
    b.setRegion(10, 7, 50, 40);
    b.process(part, part);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const bool inside = x >= 10 && x <= 50 && y >= 7 && y <= 40;
            const ARGBF expected = inside ? *whole.pixelAtIndex(x, y) : pixel<ARGBF>(1, 0.5, 0.5, 0.5);
            ASSERT_EQ(*part.pixelAtIndex(x, y), expected) << x << "," << y;
        }
}

TEST(QrRGBNoiseProc, ResultDoesNotDependOnThreads)
{
    auto single = nightImage<ARGB16>(97, 131);
    auto threaded = copyOf(single);
    QrRGBNoiseProc<ARGB16, Quarn::Pixel::ARGBW32768, 32768> one, many;
    for (auto* proc : {&one, &many}) {
        configureDrops(*proc, -0.3f, 0.4f, 0.5f);
        proc->affectAlpha = true;
    }
    one.setMultiThreaded(false);
    QrMultiProcessor::overrideProcessorCount(3);
    one.process(single, single);
    many.process(threaded, threaded);
    QrMultiProcessor::overrideProcessorCount(0);
    EXPECT_EQ(differingPixels(single, threaded), 0);
    EXPECT_GT(differingPixels(single, nightImage<ARGB16>(97, 131)), 97 * 131 / 3);
}

TEST(QrRGBNoiseProc, AlphaReceivesNoiseOnlyWhenAsked)
{
    for (bool affect : {false, true}) {
        auto img = filled(50, 50, pixel<ARGBF>(0.5, 0.5, 0.5, 0.5));
        NoiseF proc;
        configureDrops(proc, -0.1f, 0.1f, 0.0f);
        proc.affectAlpha = affect;
        proc.process(img, img);
        int changed = 0;
        for (int32_t y = 0; y < 50; ++y)
            for (int32_t x = 0; x < 50; ++x) {
                const ARGBF& p = *img.pixelAtIndex(x, y);
                changed += p.a() != 0.5f;
                if (affect) {
                    ASSERT_EQ(p.a(), p.r());
                }
            }
        EXPECT_EQ(changed > 2000, affect) << "affectAlpha " << affect;
    }
}

TEST(QrRGBNoiseProc, ResponseTableScalesNoiseByBrightness)
{
    // Left half dark, right half bright; the table silences dark pixels and
    // doubles the noise of bright ones.
    auto source = image<ARGBF>(80, 20, [](int32_t x, int32_t) {
        const double v = x < 40 ? 0.1 : 0.8;
        return pixel<ARGBF>(1, v, v, v);
    });
    std::vector<float> table(766);
    for (int i = 0; i < 766; ++i)
        table[i] = i < 383 ? 0.0f : 2.0f;
    auto plain = copyOf(source), shaped = copyOf(source);
    NoiseF a, b;
    configureDrops(a, -0.05f, 0.05f, 0.0f);
    configureDrops(b, -0.05f, 0.05f, 0.0f);
    b.responseTable = table.data();
    a.process(source, plain);
    b.process(source, shaped);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            const float base = source.pixelAtIndex(x, y)->r();
            const float noise = plain.pixelAtIndex(x, y)->r() - base;
            const float got = shaped.pixelAtIndex(x, y)->r() - base;
            ASSERT_NEAR(got, x < 40 ? 0.0f : 2.0f * noise, 1e-6f) << x << "," << y;
        }
}

TEST(QrRGBNoiseProc, ColourModesDifferInHowChannelsAreCorrelated)
{
    auto source = filled(60, 60, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    auto mono = copyOf(source), colour = copyOf(source), tinted = copyOf(source);
    NoiseF m, c, t;
    for (auto* proc : {&m, &c, &t})
        configureDrops(*proc, -0.1f, 0.1f, 0.0f);
    c.noiseMode = NoiseF::kColour;
    t.noiseMode = NoiseF::kTinted;
    m.process(source, mono);
    c.process(source, colour);
    t.process(source, tinted);
    // With equal ranges, tinted noise is monochrome noise.
    EXPECT_EQ(differingPixels(mono, tinted), 0);
    int64_t grey = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const ARGBF& p = *colour.pixelAtIndex(x, y);
            grey += p.r() == p.g() && p.g() == p.b();
        }
    EXPECT_LT(grey, 10);
}

TEST(QrRGBNoiseProc, TintedNoiseFollowsEachChannelsRange)
{
    auto source = filled(60, 60, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    NoiseF t;
    configureDrops(t, 0.0f, 0.0f, 0.0f);
    t.noiseMode = NoiseF::kTinted;
    t.maximum[0] = 0.2f;  // red up to +0.2, green none, blue down to -0.1
    t.minimum[2] = -0.1f;
    t.process(source, source);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const ARGBF& p = *source.pixelAtIndex(x, y);
            const float red = p.r() - 0.5f, blue = 0.5f - p.b();
            ASSERT_EQ(p.g(), 0.5f);
            ASSERT_GE(red, 0.0f);
            ASSERT_LE(red, 0.2f + 1e-6f);
            // One hash u: red rises by 0.2u, blue falls by 0.1(1 - u).
            ASSERT_NEAR(blue, (0.2f - red) * 0.5f, 1e-5f) << x << "," << y;
        }
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
    auto source = filled(80, 80, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    for (int mode : {NoiseF::kMonochrome, NoiseF::kColour}) {
        auto rough = copyOf(source), smooth = copyOf(source);
        NoiseF a, b;
        configureDrops(a, -0.2f, 0.2f, 0.0f);
        configureDrops(b, -0.2f, 0.2f, 0.0f);
        a.noiseMode = b.noiseMode = mode;
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
    Noise8 proc;
    configureDrops(proc, 0.0f, 0.0f, 0.0f);  // no noise at all
    proc.multiplyPasses = 1;
    proc.process(img, img);
    const ARGB8& p = *img.pixelAtIndex(3, 3);
    EXPECT_EQ(p.r(), (127 * 127) / 255);  // 127 squared in units of white
    EXPECT_EQ(p.a(), 255);  // alpha only with the flag
}

}  // namespace
