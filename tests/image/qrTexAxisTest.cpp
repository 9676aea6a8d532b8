// Crop, origin and window settings of an image's axes, and the edge and run
// addressing that maps coordinates to pixels.
#include "qrTexIndexer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(TexIndexerSettings, NewIndexerCoversTheImage)
{
    QrTexIndexer ix(7, 5);
    for (const QrTexAxis* a : {&ix.xAxis(), &ix.yAxis()}) {
        EXPECT_EQ(a->cropFirst, 0);
        EXPECT_EQ(a->cropLast, a->size - 1);
        EXPECT_EQ(a->cropCount, a->size);
        EXPECT_EQ(a->windowFirst, 0);
        EXPECT_EQ(a->windowLast, a->size - 1);
        EXPECT_EQ(a->edgeMethod, kEdgeColour);
        EXPECT_EQ(a->flags, 0u);
        EXPECT_EQ(a->originIndex, 0);
        EXPECT_EQ(a->placement, 0);
    }
    EXPECT_FALSE(ix.isWindowed());
}

TEST(TexIndexerSettings, CropEndsAreOrderedAndClampedIntoTheImage)
{
    QrTexIndexer ix(10, 8);
    ix.setCrop(5, 2, -4, 100);
    EXPECT_EQ(ix.xAxis().cropFirst, 2);
    EXPECT_EQ(ix.xAxis().cropLast, 5);
    EXPECT_EQ(ix.xAxis().cropCount, 4);
    EXPECT_EQ(ix.yAxis().cropFirst, 0);
    EXPECT_EQ(ix.yAxis().cropLast, 7);
    EXPECT_EQ(ix.yAxis().cropCount, 8);
}

TEST(TexIndexerSettings, CropIsKeptInsideTheWindowOnlyWhenAskedTo)
{
    QrTexIndexer ix(20, 20);
    ix.setWindow(4, 12, 0, 19);
    ix.setCrop(0, 19, 0, 19);
    EXPECT_EQ(ix.xAxis().cropFirst, 0) << "crop may exceed the window by default";
    EXPECT_TRUE(ix.setClipCropToWindow(true));
    EXPECT_EQ(ix.xAxis().cropFirst, 4);
    EXPECT_EQ(ix.xAxis().cropLast, 12);
    ix.setWindow(6, 8, 0, 19);
    EXPECT_EQ(ix.xAxis().cropFirst, 6) << "a new window re-clamps the crop";
    EXPECT_EQ(ix.xAxis().cropLast, 8);
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
    EXPECT_EQ(ix.xAxis().windowFirst, 2);
    EXPECT_EQ(ix.xAxis().windowCount, 8);
    EXPECT_EQ(ix.yAxis().windowCount, 6);
    EXPECT_TRUE(ix.xAxis().isWindowed());
    EXPECT_FALSE(ix.yAxis().isWindowed());
    EXPECT_TRUE(ix.isWindowed());
    ix.resetWindow();
    EXPECT_FALSE(ix.isWindowed());
    EXPECT_EQ(ix.xAxis().windowCount, 10);
}

TEST(TexIndexerSettings, EdgeMethodsOutOfRangeAreClamped)
{
    QrTexIndexer ix(3, 3);
    ix.setEdgeMethods(7, -2);
    EXPECT_EQ(ix.xAxis().edgeMethod, kEdgeWrap);
    EXPECT_EQ(ix.yAxis().edgeMethod, kEdgeColour);
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

TEST(TexAxisAddressing, KnownMappingsOfACropOfTen)
{
    struct Case {
        int32_t method;
        int32_t coordinate;
        int32_t index;
    };
    const Case cases[] = {
        {kEdgeReflect, -1, 0},
        {kEdgeReflect, -10, 9},
        {kEdgeReflect, -11, 9},
        {kEdgeReflect, 10, 9},
        {kEdgeReflect, 20, 0},
        {kEdgeWrap, -1, 9},
        {kEdgeWrap, 10, 0},
        {kEdgeRepeat, -5, 0},
        {kEdgeRepeat, 15, 9},
        {kEdgeColour, -1, -1},
        {kEdgeColour, 10, -1},
        {kEdgeColour, 4, 4},
    };
    QrTexIndexer ix(10, 1);
    for (const Case& c : cases) {
        ix.setEdgeMethods(c.method, 0);
        EXPECT_EQ(ix.xAxis().address(c.coordinate), c.index)
            << "method " << c.method << " at " << c.coordinate;
    }
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

// Every method, every setup: the single-coordinate rule equals the
// reference for coordinates several periods away on both sides.
TEST(TexAxisAddressing, SingleCoordinatesMatchTheReferenceRule)
{
    for (const AxisSetup& s : kSetups) {
        for (int32_t method = kEdgeColour; method <= kEdgeWrap; ++method) {
            QrTexIndexer ix(s.size, 1);
            ix.setWindow(s.windowA, s.windowB, 0, 0);
            ix.setCrop(s.cropA, s.cropB, 0, 0);
            ix.setOrigin(s.origin, 0);
            ix.setEdgeMethods(method, 0);
            for (int32_t c = -70; c <= 70; ++c)
                ASSERT_EQ(ix.xAxis().address(c), referenceIndex(ix.xAxis(), c))
                    << s.name << ", method " << method << ", coordinate " << c;
        }
    }
}

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

TEST(TexAxisRuns, RunsReproduceThePerPixelRuleFromAnyStart)
{
    for (const AxisSetup& s : kSetups) {
        for (int32_t method = kEdgeColour; method <= kEdgeWrap; ++method) {
            QrTexIndexer ix(s.size, 1);
            ix.setWindow(s.windowA, s.windowB, 0, 0);
            ix.setCrop(s.cropA, s.cropB, 0, 0);
            ix.setOrigin(s.origin, 0);
            ix.setEdgeMethods(method, 0);
            const std::string what = std::string(s.name) + ", method " + std::to_string(method);
            for (int32_t start = -45; start <= 45; start += 7)
                expectRunsMatchReference(ix.xAxis(), start, start + 80, what);
        }
    }
}

TEST(TexAxisRuns, RunsAreAsLongAsOneDirectionOfTheWalkLasts)
{
    struct Case {
        int32_t method;
        int32_t coordinate;
        QrRun run;
    };
    // Crop 0..9: hand-worked runs of the walk rules.
    const Case cases[] = {
        {kEdgeColour, -4, {-1, 0, 4}},
        {kEdgeRepeat, -4, {0, 0, 4}},
        {kEdgeReflect, -3, {2, -1, 3}},
        {kEdgeReflect, -12, {8, 1, 2}},
        {kEdgeReflect, 12, {7, -1, 8}},
        {kEdgeReflect, 23, {3, 1, 7}},
        {kEdgeWrap, -3, {7, 1, 3}},
        {kEdgeWrap, 13, {3, 1, 7}},
        {kEdgeColour, 10, {-1, 0, QrTexAxis::kEndless}},
        {kEdgeRepeat, 99, {9, 0, QrTexAxis::kEndless}},
        {kEdgeColour, 3, {3, 1, 7}},
    };
    QrTexIndexer ix(10, 1);
    for (const Case& c : cases) {
        ix.setEdgeMethods(c.method, 0);
        const QrRun r = ix.xAxis().run(c.coordinate);
        EXPECT_EQ(r.index, c.run.index) << "method " << c.method << " at " << c.coordinate;
        EXPECT_EQ(r.step, c.run.step) << "method " << c.method << " at " << c.coordinate;
        EXPECT_EQ(r.length, c.run.length) << "method " << c.method << " at " << c.coordinate;
    }
}

TEST(TexAxisRuns, WindowedRunsStopAtTheWindowEdges)
{
    QrTexIndexer ix(20, 1);
    ix.setWindow(5, 9, 0, 0);
    // Inside the crop, before the window: edge colour until the window starts.
    QrRun r = ix.xAxis().run(2);
    EXPECT_EQ(r.index, -1);
    EXPECT_EQ(r.length, 3);
    // Inside the window the index is relative to the window and stops at its end.
    r = ix.xAxis().run(6);
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(r.step, 1);
    EXPECT_EQ(r.length, 4);
    // A backward reflected walk that starts after the window re-enters it.
    ix.setCrop(0, 19, 0, 0);
    ix.setEdgeMethods(kEdgeReflect, 0);
    r = ix.xAxis().run(27);  // reflected index 12, walking down
    EXPECT_EQ(r.index, -1);
    EXPECT_EQ(r.length, 3);
    r = ix.xAxis().run(30);  // reflected index 9, walking down to 5
    EXPECT_EQ(r.index, 4);
    EXPECT_EQ(r.step, -1);
    EXPECT_EQ(r.length, 5);
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
