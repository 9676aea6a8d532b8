// The generators fill noise images for grain; wrong ranges or clamps would
// shift the mean of grained noise, and keys that follow the window would
// make the grain crawl when the region changes.
#include "noise/qrNoiseGen.h"
#include "noise/qrRGBANoiseGen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Gen = QrNoiseGen<float, float, 2147483647>;

QrTexture<float, float> blank(int32_t w, int32_t h)
{
    auto t = QrTexture<float, float>::allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        std::fill(t.pixelAtIndex(0, y), t.pixelAtIndex(0, y) + w, -99.0f);
    return t;
}

TEST(QrNoiseGen, ValuesSpanOffsetToOffsetPlusRangeWithinTheClamps)
{
    struct Row {
        float offset, range;
        bool clampLow;
        float lowest, highest;  // bounds after the clamps
    };
    // The last row has most values far above the generator's white.
    for (const Row& row : {Row {0.0f, 1.0f, false, 0.0f, 1.0f}, Row {-0.5f, 1.0f, false, -0.5f, 0.5f},
             Row {-0.5f, 1.0f, true, 0.0f, 0.5f}, Row {3.0f, 0.25f, false, 3.0f, 3.25f},
             Row {0.0f, 8.0f * 2147483648.0f, false, 0.0f, 2147483648.0f}}) {
        auto img = blank(64, 64);
        Gen gen;
        gen.seed = 17;
        gen.offset = row.offset;
        gen.range = row.range;
        gen.clampLow = row.clampLow;
        gen.process(img);
        float lo = 1e9f, hi = -1e9f;
        int atZero = 0;
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                const float v = *img.pixelAtIndex(x, y);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
                atZero += v == 0.0f;
            }
        EXPECT_GE(lo, row.lowest) << row.offset << " " << row.range;
        EXPECT_LE(hi, row.highest + 1e-6f);
        EXPECT_LT(lo, row.lowest + 0.02f * row.range);
        EXPECT_GT(hi, row.highest - 0.02f * row.range);
        if (row.clampLow) {
            EXPECT_NEAR(atZero, 64 * 64 / 2, 64 * 64 / 20);
        }
    }
}

TEST(QrNoiseGen, ValuesBelongToAbsoluteCoordinates)
{
    auto whole = blank(40, 40), part = blank(40, 40);
    Gen a, b;
    a.range = b.range = 1.0f;
    b.setRegion(5, 9, 30, 20);
    a.process(whole);
    b.process(part);
    for (int32_t y = 9; y <= 20; ++y)
        for (int32_t x = 5; x <= 30; ++x)
            ASSERT_EQ(*part.pixelAtIndex(x, y), *whole.pixelAtIndex(x, y)) << x << "," << y;
    EXPECT_EQ(*part.pixelAtIndex(4, 9), -99.0f);
}

TEST(QrNoiseGen, GrainKeepsTheMeanAndReachesTheBorders)
{
    auto img = blank(48, 48);
    Gen gen;
    gen.range = 1.0f;
    gen.grainX = gen.grainY = 4.0f;
    gen.process(img);
    EXPECT_TRUE(gen.isSmoothing());
    double sum = 0.0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 48; ++x) {
            const float v = *img.pixelAtIndex(x, y);
            ASSERT_GT(v, 0.05f) << x << "," << y;  // no dark rim from missing data
            ASSERT_LT(v, 0.95f);
            sum += v;
        }
    EXPECT_NEAR(sum / (48 * 48), 0.5, 0.03);
}

TEST(QrRGBANoiseGen, ChannelsTakeTheirOwnRangesAndKeys)
{
    auto img = QrTexture<Quarn::Pixel::RGBAF>::allocate(30, 30);
    QrRGBANoiseGen<Quarn::Pixel::RGBAF> gen;
    gen.range[0] = 0.1f;
    gen.range[1] = 0.5f;
    gen.range[2] = 1.0f;
    gen.range[3] = 1.0f;
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

}  // namespace
