// What the rain relies on from the streak blur: light is spread along the
// direction over about the length, its total is kept, negligible lengths
// change nothing, and running in place changes nothing either.
#include "blur/qrSimpleLinearBlur.h"
#include "qrVectorBlurTestImages.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace QrVectorBlurTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The blur as the rain configures it.
template <class S> void rainBlur(float length, float direction, const Texture<S>& in, Texture<S>& out)
{
    SimpleLinearBlur<S> blur(length, direction);
    blur.quality = 1;
    blur.thirds = true;
    blur.process(in, out);
}

// A bright pixel becomes a thin streak along the direction, centred on it.
// How much of its light one pixel keeps depends on where the paths crossing
// it start (at oblique angles between about half and one and a half of it),
// so light and centre are checked over a block of spot positions, as the
// rain's scattered drops see them.
TEST(SimpleLinearBlurStreak, SpotBecomesAStreakAlongEachDirection)
{
    const float length = 30.0f;
    for (double degrees : {0.0, 20.0, 45.0, 90.0, 120.0, 180.0, -60.0, 250.0}) {
        SCOPED_TRACE(degrees);
        const float direction = float(degrees * kPi / 180.0);
        double total = 0.0, offsetX = 0.0, offsetY = 0.0;
        int32_t spots = 0;
        for (int32_t sy = 40; sy < 54; sy += 2)
            for (int32_t sx = 40; sx < 54; sx += 2) {
                SCOPED_TRACE(testing::Message() << "spot " << sx << ", " << sy);
                Texture<ARGBF> image = spotImage<ARGBF>(96, 96, sx, sy);
                rainBlur(length, direction, image, image);
                const Spread s = spreadOf(image, ARGBF::kRed);
                EXPECT_LT(axisDifference(s.axis, direction), 3.0 * kPi / 180.0);
                EXPECT_GT(s.along, 0.2 * length);
                EXPECT_LT(s.along, 0.5 * length);
                EXPECT_LT(s.across, 1.5);
                EXPECT_LT(std::hypot(s.cx - sx, s.cy - sy), 4.0);
                total += s.total;
                offsetX += s.cx - sx;
                offsetY += s.cy - sy;
                ++spots;
            }
        EXPECT_NEAR(total / spots, 1.0, 0.03);
        EXPECT_LT(std::hypot(offsetX, offsetY) / spots, 0.6);
    }
}

TEST(SimpleLinearBlurStreak, StreakGrowsWithTheLength)
{
    double previous = 0.0;
    for (float length : {6.0f, 12.0f, 24.0f, 48.0f}) {
        SCOPED_TRACE(length);
        Texture<ARGBF> image = spotImage<ARGBF>(128, 64, 64, 32);
        rainBlur(length, 0.0f, image, image);
        const Spread s = spreadOf(image, ARGBF::kGreen);
        EXPECT_GT(s.along, previous * 1.5);
        previous = s.along;
    }
}

TEST(SimpleLinearBlurStreak, FlatImageStaysFlatAwayFromTheBorders)
{
    Texture<ARGBF> image = Texture<ARGBF>::allocate(80, 70);
    const ARGBF grey {{0.5f, 0.25f, 0.75f, 1.0f}};
    for (int32_t y = 0; y < 70; ++y)
        for (int32_t x = 0; x < 80; ++x)
            *image.pixelAtIndex(x, y) = grey;
    rainBlur(20.0f, 0.7f, image, image);
    for (int32_t y = 20; y < 50; ++y)
        for (int32_t x = 20; x < 60; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_NEAR(image.pixelAtIndex(x, y)->c[c], grey.c[c], 1e-5) << x << "," << y;
}

template <class S> void expectUnchangedByShortLength()
{
    const Texture<S> original = noiseImage<S>(37, 23, 5);
    for (float length : {0.0f, 0.01f, 0.029f}) {
        SCOPED_TRACE(length);
        Texture<S> image = copyOf(original);
        rainBlur(length, 1.0f, image, image);
        EXPECT_TRUE(identical(image, original));
    }
}

TEST(SimpleLinearBlurShortLength, LeavesEveryDepthUnchanged)
{
    expectUnchangedByShortLength<ARGB8>();
    expectUnchangedByShortLength<ARGB16>();
    expectUnchangedByShortLength<ARGBF>();
}

// In place, a row may only be written once no later path reads it; edge
// methods other than the edge colour read rows from the far side too.
template <class S> void expectInPlaceEqualsSeparate(float length, float direction, int32_t edge)
{
    Texture<S> original = noiseImage<S>(41, 170, 9);
    original.setEdgeMethods(edge, edge);
    Texture<S> inPlace = copyOf(original);
    inPlace.setEdgeMethods(edge, edge);
    Texture<S> separate = Texture<S>::allocate(41, 170);
    rainBlur(length, direction, inPlace, inPlace);
    rainBlur(length, direction, original, separate);
    EXPECT_TRUE(identical(inPlace, separate)) << "edge method " << edge;
    EXPECT_FALSE(identical(inPlace, original));
}

TEST(SimpleLinearBlurInPlace, EqualsBlurringIntoAnotherImage)
{
    for (int32_t edge : {kEdgeColour, kEdgeRepeat, kEdgeReflect, kEdgeWrap}) {
        expectInPlaceEqualsSeparate<ARGB8>(15.0f, 1.3f, edge);
        expectInPlaceEqualsSeparate<ARGB16>(9.0f, -0.4f, edge);
        expectInPlaceEqualsSeparate<ARGBF>(25.0f, 2.0f, edge);
    }
}

// One blur run over several layers in turn (as depth layers of rain would
// be) gives what a fresh blur gives each of them: nothing of one run's
// set-up or memory leaks into the next.
TEST(SimpleLinearBlurReuse, EveryRunEqualsAFreshBlur)
{
    struct Run {
        int32_t width, height;
        float length, direction;
        int32_t quality;
        bool region;
    };
    SimpleLinearBlur<ARGB8> reused(1.0f, 0.0f);
    int32_t seed = 20;
    for (Run r : {Run {90, 70, 30.0f, 1.2f, 1, false}, Run {40, 120, 8.0f, -0.5f, 1, true},
             Run {130, 30, 60.0f, 2.9f, 2, false}, Run {50, 50, 12.0f, 0.3f, 0, true}}) {
        SCOPED_TRACE(testing::Message() << r.width << "x" << r.height << " length " << r.length);
        const Texture<ARGB8> original = noiseImage<ARGB8>(r.width, r.height, ++seed);
        auto run = [&](SimpleLinearBlur<ARGB8>& blur) {
            blur.length = r.length;
            blur.direction = r.direction;
            blur.quality = r.quality;
            blur.thirds = r.quality > 0;
            blur.setRegion(r.region ? 3 : 0, r.region ? 5 : 0, r.width - (r.region ? 7 : 1), r.height - 1);
            Texture<ARGB8> out = copyOf(original);
            blur.process(out, out);
            return out;
        };
        SimpleLinearBlur<ARGB8> fresh(1.0f, 0.0f);
        const Texture<ARGB8> expected = run(fresh);
        EXPECT_TRUE(identical(run(reused), expected));
        EXPECT_FALSE(identical(expected, original));
    }
}

TEST(SimpleLinearBlurInterrupt, InterruptedBlurLeavesTheOutputUnwritten)
{
    const Texture<ARGB8> original = noiseImage<ARGB8>(40, 30, 11);
    Texture<ARGB8> image = copyOf(original);
    QrInterruptRecord record;
    record.interrupted = 1;
    SimpleLinearBlur<ARGB8> blur(12.0f, 0.5f);
    blur.quality = 1;
    blur.thirds = true;
    blur.setInterruptRecord(&record);
    blur.process(image, image);
    EXPECT_TRUE(identical(image, original));
}

TEST(SimpleLinearBlurRegion, OnlyTheRegionIsWritten)
{
    const Texture<ARGBF> original = noiseImage<ARGBF>(50, 40, 12);
    Texture<ARGBF> image = copyOf(original);
    SimpleLinearBlur<ARGBF> blur(10.0f, 0.0f);
    blur.quality = 1;
    blur.thirds = true;
    blur.setRegion(10, 5, 29, 24);
    blur.process(image, image);
    int changedInside = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 50; ++x) {
            const bool inside = x >= 10 && x <= 29 && y >= 5 && y <= 24;
            const bool same = *image.pixelAtIndex(x, y) == *original.pixelAtIndex(x, y);
            if (!inside)
                ASSERT_TRUE(same) << x << "," << y;
            else if (!same)
                ++changedInside;
        }
    EXPECT_GT(changedInside, 20 * 20 / 2);
}

}  // namespace
