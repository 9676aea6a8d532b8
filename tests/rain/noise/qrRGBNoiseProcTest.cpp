// The noise processor beyond its monochrome values (those are checked
// against the literal reference): the thread count, the colour modes, grain
// and the self-multiply passes.
#include "noise/qrRGBNoiseProc.h"
#include "qrRainTestImages.h"

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
    one.process(single, single);
    ScopedMaxProcessors three(nullptr, 3);
    many.process(threaded, threaded);
    EXPECT_EQ(differingPixels(single, threaded), 0);
    EXPECT_GT(differingPixels(single, nightImage<ARGB16>(97, 131)), 97 * 131 / 3);
}

// Colour noise takes a hash per channel; tinted noise one hash for all,
// spread over each channel's own range (with equal ranges: monochrome noise).
TEST(QrRGBNoiseProc, ColourModesDifferInHowChannelsAreCorrelated)
{
    const auto source = filled(60, 60, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    auto noisy = [&source](int mode, float lo, float hi, float redHi, float blueLo) {
        auto out = copyOf(source);
        NoiseF proc;
        configureDrops(proc, lo, hi, 0.0f);
        proc.noiseMode = mode;
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
    auto source = filled(80, 80, pixel<ARGBF>(1, 0.5, 0.5, 0.5));
    for (int mode : {NoiseF::kMonochrome, NoiseF::kColour}) {
        auto rough = copyOf(source), smooth = copyOf(source);
        NoiseF a, b;
        for (NoiseF* p : {&a, &b}) {
            configureDrops(*p, -0.2f, 0.2f, 0.0f);
            p->noiseMode = mode;
        }
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
