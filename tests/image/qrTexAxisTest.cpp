// Crop, origin and window settings of an image's axes, and the edge and run
// addressing that maps coordinates to pixels.
#include "qrTexIndexer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The crop of an axis as (first, last, count).
std::tuple<int32_t, int32_t, int32_t> cropOf(const QrTexAxis& a)
{
    return {a.cropFirst, a.cropLast, a.cropCount};
}

// A new indexer covers the image; crop ends are ordered and clamped into the
// image, edge methods into their range.
TEST(TexIndexerSettings, NewIndexerCoversTheImageAndSettingsAreClamped)
{
    QrTexIndexer ix(10, 8);
    for (const QrTexAxis* a : {&ix.xAxis(), &ix.yAxis()}) {
        EXPECT_EQ(cropOf(*a), std::tuple(0, a->size - 1, a->size));
        EXPECT_EQ(
            std::tuple(a->windowFirst, a->windowLast, a->edgeMethod, a->flags, a->originIndex, a->placement),
            std::tuple(0, a->size - 1, int32_t(kEdgeColour), 0u, 0, 0));
    }
    EXPECT_FALSE(ix.isWindowed());
    ix.setCrop(5, 2, -4, 100);
    EXPECT_EQ(cropOf(ix.xAxis()), std::tuple(2, 5, 4));
    EXPECT_EQ(cropOf(ix.yAxis()), std::tuple(0, 7, 8));
    ix.setEdgeMethods(7, -2);
    EXPECT_EQ(ix.xAxis().edgeMethod, kEdgeWrap);
    EXPECT_EQ(ix.yAxis().edgeMethod, kEdgeColour);
}

TEST(TexIndexerSettings, CropIsKeptInsideTheWindowOnlyWhenAskedTo)
{
    QrTexIndexer ix(20, 20);
    ix.setWindow(4, 12, 0, 19);
    ix.setCrop(0, 19, 0, 19);
    EXPECT_EQ(ix.xAxis().cropFirst, 0) << "crop may exceed the window by default";
    EXPECT_TRUE(ix.setClipCropToWindow(true));
    EXPECT_EQ(cropOf(ix.xAxis()), std::tuple(4, 12, 9));
    ix.setWindow(6, 8, 0, 19);
    EXPECT_EQ(cropOf(ix.xAxis()), std::tuple(6, 8, 3)) << "a new window re-clamps the crop";
    ix.setClipCropToWindow(false);
    ix.setCrop(1, 18, 0, 19);
    EXPECT_EQ(ix.xAxis().cropFirst, 1);
    ix.setClipCropToWindow(true);
    ix.reapplyCrop();
    EXPECT_EQ(ix.xAxis().cropCount, 3);
}

TEST(TexIndexerSettings, FloatOriginsRoundHalfUpForAddressing)
{
    struct Case {
        float origin;
        int32_t index;
    };
    const Case cases[] = {{2.5f, 3}, {-0.5f, 0}, {-1.7f, -2}, {0.49f, 0}, {-2.5f, -2}, {7.0f, 7}};
    QrTexIndexer ix(4, 4);
    for (const Case& c : cases) {
        ix.setOrigin(c.origin, -c.origin);
        EXPECT_EQ(ix.xAxis().originIndex, c.index) << c.origin;
        EXPECT_EQ(ix.xAxis().origin, c.origin);
    }
    ix.setOrigin(int32_t(-3), int32_t(9));
    EXPECT_EQ(ix.xAxis().originIndex, -3);
    EXPECT_EQ(ix.yAxis().origin, 9.0f);
}

TEST(TexIndexerSettings, WindowFlagsTrackWhetherAnAxisIsCut)
{
    QrTexIndexer ix(10, 6);
    EXPECT_FALSE(ix.setWindow(0, 9, 5, 0)) << "a window of the whole image is no window";
    EXPECT_EQ(ix.yAxis().flags & QrTexAxis::kWindowed, 0u);
    EXPECT_TRUE(ix.setWindow(9, 2, -3, 100));
    EXPECT_EQ(std::tuple(ix.xAxis().windowFirst, ix.xAxis().windowCount, ix.yAxis().windowCount),
        std::tuple(2, 8, 6));
    EXPECT_EQ(std::tuple(ix.xAxis().isWindowed(), ix.yAxis().isWindowed(), ix.isWindowed()),
        std::tuple(true, false, true));
    ix.resetWindow();
    EXPECT_FALSE(ix.isWindowed());
    EXPECT_EQ(ix.xAxis().windowCount, 10);
}

// Independent statement of the edge rules: Reflect has period 2n with the
// end pixels doubled, Wrap period n, Repeat clamps, Colour has no pixel.
int32_t referenceIndex(const QrTexAxis& a, int32_t coordinate)
{
    const int32_t n = a.cropCount;
    const int32_t d = coordinate - a.originIndex - a.cropFirst;
    int32_t k;
    if (d >= 0 && d < n) {
        k = d;
    } else {
        switch (a.edgeMethod) {
        case kEdgeRepeat: k = std::clamp(d, 0, n - 1); break;
        case kEdgeWrap: k = ((d % n) + n) % n; break;
        case kEdgeReflect: {
            const int32_t t = ((d % (2 * n)) + 2 * n) % (2 * n);
            k = t < n ? t : 2 * n - 1 - t;
            break;
        }
        default: return -1;
        }
    }
    k += a.cropFirst;
    return k < a.windowFirst || k > a.windowLast ? -1 : k;
}

struct AxisSetup {
    const char* name;
    int32_t size, cropA, cropB, windowA, windowB, origin;
};

const AxisSetup kSetups[] = {
    {"whole", 10, 0, 9, 0, 9, 0},
    {"inner crop", 16, 3, 9, 0, 15, 0},
    {"shifted origin", 12, 2, 10, 0, 11, -5},
    {"single pixel crop", 8, 4, 4, 0, 7, 3},
    {"window inside crop", 20, 2, 17, 6, 11, 0},
    {"window over crop end", 20, 5, 9, 8, 15, 0},
    {"window left of crop", 20, 10, 14, 0, 6, 2},
    {"window right of crop", 20, 2, 5, 9, 19, -1},
};

// Walks [x0, x1) run by run and checks that every pixel a run stands for is
// the pixel the reference rule picks, relative to the window.
void expectRunsMatchReference(const QrTexAxis& axis, int32_t x0, int32_t x1, const std::string& what)
{
    for (int32_t x = x0; x < x1;) {
        const QrRun run = axis.run(x);
        ASSERT_GE(run.length, 1) << what << " at " << x;
        ASSERT_TRUE(run.step >= -1 && run.step <= 1) << what << " at " << x;
        const int32_t count = std::min(run.length, x1 - x);
        for (int32_t k = 0; k < count; ++k) {
            const int32_t expected = referenceIndex(axis, x + k);
            const int32_t got = run.index < 0 ? -1 : run.index + k * run.step + axis.windowFirst;
            ASSERT_EQ(got, expected) << what << ": run from " << x << ", pixel " << x + k;
        }
        x += count;
    }
}

// Every method, every setup: single coordinates several periods away on both
// sides, and runs from any start, give what the reference rule gives.
TEST(TexAxisAddressing, CoordinatesAndRunsMatchTheReferenceRule)
{
    for (const AxisSetup& s : kSetups) {
        for (int32_t method = kEdgeColour; method <= kEdgeWrap; ++method) {
            QrTexIndexer ix(s.size, 1);
            ix.setWindow(s.windowA, s.windowB, 0, 0);
            ix.setCrop(s.cropA, s.cropB, 0, 0);
            ix.setOrigin(s.origin, 0);
            ix.setEdgeMethods(method, 0);
            const std::string what = std::string(s.name) + ", method " + std::to_string(method);
            for (int32_t c = -70; c <= 70; ++c)
                ASSERT_EQ(ix.xAxis().address(c), referenceIndex(ix.xAxis(), c))
                    << what << ", coordinate " << c;
            for (int32_t start = -45; start <= 45; start += 7)
                expectRunsMatchReference(ix.xAxis(), start, start + 80, what);
        }
    }
}

TEST(TexAxisRuns, RunsAreAsLongAsOneDirectionOfTheWalkLasts)
{
    struct Case {
        int32_t size, windowFirst, windowLast, method, coordinate;
        QrRun run;
    };
    // Hand-worked runs of the walk rules; the crop is the whole axis.
    const Case cases[] = {
        {10, 0, 9, kEdgeColour, -4, {-1, 0, 4}},
        {10, 0, 9, kEdgeRepeat, -4, {0, 0, 4}},
        {10, 0, 9, kEdgeReflect, -3, {2, -1, 3}},
        {10, 0, 9, kEdgeReflect, -12, {8, 1, 2}},
        {10, 0, 9, kEdgeReflect, 12, {7, -1, 8}},
        {10, 0, 9, kEdgeReflect, 23, {3, 1, 7}},
        {10, 0, 9, kEdgeWrap, -3, {7, 1, 3}},
        {10, 0, 9, kEdgeWrap, 13, {3, 1, 7}},
        {10, 0, 9, kEdgeColour, 10, {-1, 0, QrTexAxis::kEndless}},
        {10, 0, 9, kEdgeRepeat, 99, {9, 0, QrTexAxis::kEndless}},
        {10, 0, 9, kEdgeColour, 3, {3, 1, 7}},
        // Before the window: edge colour until it starts; inside, indices
        // relative to the window, stopping at its end.
        {20, 5, 9, kEdgeColour, 2, {-1, 0, 3}},
        {20, 5, 9, kEdgeColour, 6, {1, 1, 4}},
        // A backward reflected walk from after the window (index 12, then
        // 9) re-enters it.
        {20, 5, 9, kEdgeReflect, 27, {-1, 0, 3}},
        {20, 5, 9, kEdgeReflect, 30, {4, -1, 5}},
    };
    for (const Case& c : cases) {
        QrTexIndexer ix(c.size, 1);
        ix.setWindow(c.windowFirst, c.windowLast, 0, 0);
        ix.setEdgeMethods(c.method, 0);
        const QrRun r = ix.xAxis().run(c.coordinate);
        EXPECT_EQ(std::tuple(r.index, r.step, r.length), std::tuple(c.run.index, c.run.step, c.run.length))
            << "method " << c.method << " at " << c.coordinate << " on " << c.size;
    }
}

TEST(TexAxisRuns, EmptyAxisHasNoPixelAnywhere)
{
    QrTexIndexer ix(0, 0);
    ix.setEdgeMethods(kEdgeReflect, kEdgeWrap);
    EXPECT_EQ(ix.xAxis().address(0), -1);
    EXPECT_EQ(ix.yAxis().address(-5), -1);
    const QrRun r = ix.xAxis().run(3);
    EXPECT_EQ(r.index, -1);
    EXPECT_GE(r.length, 1);
}

}  // namespace
