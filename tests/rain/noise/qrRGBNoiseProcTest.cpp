// The hash, the noise generators and the noise processor. The hash, the pixel
// key and the monochrome noise, which place and light every drop, are checked
// against slow, literal references, to the last storage value. Beyond those:
// wrong ranges or clamps shift the mean of grained noise, keys that follow the
// window make the grain crawl, and the colour modes, grain, self-multiply and
// thread count each change what the noise looks like.
#include "noise/qrNoiseGen.h"
#include "noise/qrNoiseMonoKernel.h"
#include "noise/qrRGBANoiseGen.h"
#include "noise/qrRGBNoiseProc.h"
#include "qrRainTestImages.h"
#include "qrReferenceRain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace QrReference;
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
    EXPECT_EQ(differences(noisy(NoiseF::kMonochrome, -0.1f, 0.1f, 0.1f, -0.1f),
                  noisy(NoiseF::kTinted, -0.1f, 0.1f, 0.1f, -0.1f)),
        "");
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

// The hash and the pixel key decide every drop position; a change in either
// silently moves all the rain, so they are checked against values worked out
// with unbounded integers and against the literal 64-bit reference.
TEST(QrHash, HashKeyAndUnitMatchValuesComputedWithUnboundedIntegers)
{
    for (auto [n, hash] : {std::pair {0, 1376312589}, {1, 1316808037}, {-1, 107238581}, {12345, 2032478005},
             {INT32_MAX, 107238581}, {INT32_MIN, 1376312589}})
        EXPECT_EQ(QrHash::hash(n), hash) << "n = " << n;
    static_assert(QrHash::hash(0) == 1376312589, "usable in constant expressions");
    for (auto [x, y, seed, key] : {std::tuple {0, 0, 1, 1}, {3, 5, 1, 110657}, {1919, 1079, 42, 33934148},
             {-4, -7, 0, -153337}, {100000, 200000, -5, -26867301}})
        EXPECT_EQ(QrHash::key(x, y, seed), key) << x << "," << y << "," << seed;
    // The unit is exactly 2^-31, so scaling by it never rounds; the largest
    // hash rounds up to 2^31 as a float, so 1 itself is reachable.
    EXPECT_EQ(QrHash::kUnit, std::ldexp(1.0f, -31));
    EXPECT_LE(QrHash::unit(INT32_MAX), 1.0f);
}

TEST(QrHash, HashKeyAndAdvanceMatchTheLiteralArithmetic)
{
    std::vector<int32_t> keys = {
        0, 1, -1, 2, 13, INT_MIN, INT_MAX, INT_MIN + 1, 0x12345678, -0x12345678, 7907, 17387};
    for (int32_t i = 0; i < 20000; ++i)
        keys.push_back(int32_t(uint32_t(i) * 2654435761u));
    for (int32_t n : keys)
        ASSERT_EQ(QrHash::hash(n), QrReference::hash(n)) << "n " << n;
    const int32_t coords[] = {0, 1, -1, 5, -77, 4096, 271828, -271828, INT_MAX, INT_MIN};
    for (int32_t x : coords)
        for (int32_t y : coords)
            for (int32_t seed : {0, 1, -1, 4242, INT_MAX, INT_MIN}) {
                ASSERT_EQ(QrHash::key(x, y, seed), QrReference::key(x, y, seed))
                    << x << "," << y << " " << seed;
                for (int32_t steps : {1, 3, 1000})
                    ASSERT_EQ(QrHash::advance(QrHash::key(x, y, seed), steps),
                        QrReference::key(int32_t(uint32_t(x) + uint32_t(steps)), y, seed));
            }
}

// Hashes the kernel declares silent (so that the noise loop skips them) must
// give exactly 0 by the reference arithmetic: a wrong interval would drop or
// invent the faintest drops.
TEST(QrReferenceNoiseKernel, HashesSkippedAsSilentGiveNoNoise)
{
    // Lower and upper noise value, cut-off and white: the drops' settings at
    // each depth, and some of both signs.
    std::vector<std::tuple<float, float, float, float>> settings = {
        {-0.3f, 0.1f, 0.5f, 255.0f}, {-0.05f, 0.05f, 0.2f, 32768.0f}, {-1.0f, 1.0f, 0.9f, 1.0f}};
    for (float white : {255.0f, 32768.0f, 1.0f})
        for (float density : {0.001f, 0.6f, 1.7f, 5.0f, 9.99f})
            settings.emplace_back(0.0f, density, 1.0f - density * 0.1f, white);
    for (auto [lo, hi, cutoff, white] : settings) {
        const MonoNoise n {0, {lo, lo, lo, lo}, {hi, hi, hi, hi}, cutoff};
        const QrNoiseMonoKernel kernel = QrNoiseMonoKernel::make(n.minimum, n.maximum, cutoff, white);
        const MonoValue value = MonoValue::make(n, white);

        std::vector<int64_t> probes;
        for (int64_t edge : {int64_t(kernel.quietFirst), int64_t(kernel.quietLast)})
            for (int64_t d = -3000; d <= 3000; ++d)
                probes.push_back(edge + d);
        for (int64_t h = 0; h < (int64_t(1) << 31); h += 65521)
            probes.push_back(h);
        for (int64_t h : probes) {
            if (h < 0 || h > INT_MAX)
                continue;
            const float expected = value(int32_t(h));
            if (kernel.isQuiet(int32_t(h)))
                ASSERT_EQ(expected, 0.0f) << "hash " << h << " white " << white << " range " << lo << ".."
                                          << hi << " cutoff " << cutoff;
            else
                ASSERT_EQ(kernel.cut(kernel.rawFromHash(int32_t(h))), expected) << "hash " << h;
        }
    }
}

// One configuration of the monochrome noise (whose alpha range it ignores),
// with or without a response table.
struct NoiseCase {
    const char* name;
    MonoNoise noise;
    bool response = false;
};

const NoiseCase kNoiseCases[] = {
    {"defaults", {}},
    {"drops-like", {94105, {0, 0, 0, 0}, {1.7f, 1.7f, 1.7f, 1.7f}, 0.83f, nullptr, true}},
    {"one-tenth", {4242, {0, 0, 0, 0}, {1, 1, 1, 1}, 0.9f}},
    {"lopsided", {-123456789, {-0.3f, -0.3f, -0.3f, -0.3f}, {0.1f, 0.1f, 0.1f, 0.1f}, 0.5f, nullptr, true}},
    {"unequal channels", {17, {-0.2f, 0, 0.1f, 0.7f}, {0.3f, 0.5f, 0.05f, 0.9f}, 0.25f}},
    {"negative cut-off", {INT_MAX, {-0.1f, -0.1f, -0.1f, 0}, {0.2f, 0.2f, 0.2f, 0}, -0.5f, nullptr, true}},
    {"reversed range", {5, {0.2f, 0.2f, 0.2f, 0}, {-0.1f, -0.1f, -0.1f, 0}, 0.4f, nullptr, true}},
    {"wide and clamped", {INT_MIN, {-2, -2, -2, 0}, {3, 3, 3, 0}, 0.1f, nullptr, true}},
    {"response", {8, {-0.4f, -0.4f, -0.4f, 0}, {0.6f, 0.6f, 0.6f, 0}, 0.3f, nullptr, true}, true},
    {"response, no cut", {99, {0, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0}, 0.0f}, true},
    {"no noise at cut-off 1", {3, {-1, -1, -1, 0}, {1, 1, 1, 0}, 1.0f, nullptr, true}},
    {"no noise above cut-off 1", {3, {-1, -1, -1, 0}, {1, 1, 1, 0}, 1.5f, nullptr, true}},
};

template <class D> class QrReferenceNoise : public ::testing::Test {
};
TYPED_TEST_SUITE(QrReferenceNoise, Depths);

// In place over whole images and windows, and from a source read through its
// own addressing: shifted, cropped and mirrored against the output, which
// starts with other content.
TYPED_TEST(QrReferenceNoise, MonochromeNoiseEqualsTheReference)
{
    using S = typename TypeParam::Storage;
    const float white = float(TypeParam::kWhite);
    std::vector<float> table(766);
    for (int i = 0; i < 766; ++i)
        table[i] = 2.0f * unit(hash(i + 31));
    auto check = [&](const NoiseCase& c, const QrTexture<S>* source, const QrTexture<S>& start,
                     const QrRect& region, bool window, const std::string& where) {
        auto expected = copyOf(start), got = copyOf(start);
        MonoNoise ref = c.noise;
        ref.responseTable = c.response ? table.data() : nullptr;
        QrRGBNoiseProc<S, typename TypeParam::Work, TypeParam::kWhite> proc;
        proc.noiseMode = proc.kMonochrome;
        proc.seed = ref.seed;
        proc.cutoff = ref.cutoff;
        proc.affectAlpha = ref.affectAlpha;
        proc.responseTable = ref.responseTable;
        std::copy_n(ref.minimum, 4, proc.minimum);
        std::copy_n(ref.maximum, 4, proc.maximum);
        if (window)
            proc.setRegion(region.x0, region.y0, region.x1 - 1, region.y1 - 1);
        monoNoise(source ? *source : expected, expected, region, ref);
        proc.process(source ? *source : got, got);
        EXPECT_EQ(differences(expected, got), "") << c.name << ", " << where;
    };
    for (const NoiseCase& c : kNoiseCases) {
        for (auto [w, h] : {std::pair {1, 1}, {7, 5}, {41, 19}}) {
            const auto start = picture<S>(w, h, 3, 0.4f * white, 0.8f * white);
            check(c, nullptr, start, {0, 0, w, h}, false, std::to_string(w) + "x" + std::to_string(h));
            if (w > 2 && h > 2)
                check(c, nullptr, start, {1, 2, w - 1, h}, true,
                    std::to_string(w) + "x" + std::to_string(h) + ", window");
        }
        auto source = picture<S>(13, 9, 11, 0.3f * white, 0.7f * white);
        source.setOrigin(2, -1);
        source.setCrop(1, 10, 1, 7);
        source.setEdgeMethods(2, 3);  // reflect in x, wrap in y
        const auto start = picture<S>(23, 14, 12, 0.3f * white, 0.7f * white);
        check(c, &source, start, {0, 0, 23, 14}, false, "edge-addressed source");
    }
}

}  // namespace
