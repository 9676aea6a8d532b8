// Textures: the crop, origin and window settings of their axes and the edge
// and run addressing that maps coordinates to pixels; memory layout, sharing,
// windows, row walks and bilinear samples.
#include "qrTestImage.h"
#include "qrTexIndexer.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

using namespace Quarn::Pixel;

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

using Tex8 = QrTexture<ARGB8>;
using TexF = QrTexture<ARGBF>;

// A pixel value that names its position, so a wrong address shows.
ARGB8 tag(int32_t i, int32_t j)
{
    return ARGB8 {{255, uint8_t(i), uint8_t(j), uint8_t(i * 7 + j)}};
}

Tex8 taggedTexture(int32_t w, int32_t h)
{
    return imageFrom<ARGB8>(w, h, tag);
}

TEST(TextureMemory, AllocatedRowsArePackedAndAligned)
{
    const Tex8 t8 = Tex8::allocate(5, 3);
    const QrTexture<ARGB16> t16 = QrTexture<ARGB16>::allocate(5, 3);
    const TexF tf = TexF::allocate(5, 3);
    EXPECT_EQ(std::tuple(t8.stride(), t16.stride(), tf.stride()), std::tuple(20, 40, 80));
    for (const void* p : {(const void*)t8.data(), (const void*)t16.data(), (const void*)tf.data()})
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
    EXPECT_EQ(
        reinterpret_cast<char*>(t8.pixelAtIndex(2, 1)) - reinterpret_cast<char*>(t8.data()), 20 + 2 * 4);
}

TEST(TextureMemory, CopiesShareTheDataAndTakeTheAddressingUntilTheLastOneGoes)
{
    Tex8 a = taggedTexture(6, 4);
    a.setCrop(1, 3, 0, 2);
    a.setEdgeMethods(kEdgeWrap, kEdgeReflect);
    a.setEdgeColour(ARGB8 {{1, 2, 3, 4}});
    Quarn::Memory::Handle* handle = a.handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->refCount(), 1);
    {
        Tex8 b;
        b = a;
        EXPECT_EQ(std::tuple(b.handle(), b.data(), handle->refCount()), std::tuple(handle, a.data(), 2));
        EXPECT_EQ(std::tuple(b.width(), b.xAxis().cropLast, b.yAxis().edgeMethod, b.edgeColour()),
            std::tuple(6, 3, int32_t(kEdgeReflect), a.edgeColour()));
        EXPECT_EQ(b.pixelAt(7, 5), a.pixelAt(7, 5));
        Tex8 c(b);
        EXPECT_EQ(handle->refCount(), 3);
    }
    EXPECT_EQ(handle->refCount(), 1);
    a.releaseData();
    EXPECT_FALSE(a.hasData());
}

TEST(TextureMemory, HostMemoryIsWrappedWithItsRowBytes)
{
    // A host world whose rows are padded beyond width x pixel size.
    std::vector<ARGB16> world(7 * 3);
    for (size_t k = 0; k < world.size(); ++k)
        world[k] = ARGB16::filled(uint16_t(k));
    QrTexture<ARGB16> t(5, 3, world.data(), 7 * sizeof(ARGB16));
    EXPECT_EQ(t.handle(), nullptr);
    EXPECT_EQ(*t.pixelAtIndex(4, 2), world[2 * 7 + 4]);
    EXPECT_EQ(t.pixelAt(1, 1), world[7 + 1]);
}

TEST(TextureMemory, AllocateLikeTakesTheGeometryAndCoversOnlyTheWindow)
{
    QrTexIndexer geometry(10, 8);
    geometry.setWindow(2, 5, 1, 3);
    geometry.setOrigin(int32_t(4), int32_t(-1));
    geometry.setEdgeMethods(kEdgeRepeat, kEdgeWrap);
    const TexF t = TexF::allocateLike(geometry);
    EXPECT_EQ(std::tuple(t.width(), t.stride(), t.xAxis().originIndex, t.yAxis().edgeMethod),
        std::tuple(10, 4 * 16, 4, int32_t(kEdgeWrap)));
    EXPECT_EQ(static_cast<Quarn::Image::DataHandle*>(t.handle())->size(), 4u * 3u * 16u);
    EXPECT_EQ(t.pixelAtIndex(2, 1), t.data());
}

TEST(TextureWindow, NarrowingTheWindowKeepsPixelsWhereTheyAre)
{
    Tex8 t = taggedTexture(8, 6);
    t.setWindow(3, 6, 2, 4);
    EXPECT_EQ(*t.data(), tag(3, 2));
    EXPECT_EQ(*t.pixelAtIndex(5, 4), tag(5, 4));
    EXPECT_EQ(t.pixelAt(1, 3), t.edgeColour()) << "outside the window there is no pixel";
    t.resetWindow();
    EXPECT_EQ(*t.data(), tag(0, 0));
    EXPECT_EQ(t.pixelAt(1, 3), tag(1, 3));
}

TEST(TextureWalk, RunsDeliverTheEdgeAddressedPixelOfEveryCoordinate)
{
    for (int32_t mx = kEdgeColour; mx <= kEdgeWrap; ++mx) {
        for (int32_t my = kEdgeColour; my <= kEdgeWrap; ++my) {
            Tex8 t = taggedTexture(9, 7);
            t.setEdgeColour(ARGB8 {{9, 9, 9, 9}});
            t.setWindow(1, 7, 1, 6);
            t.setCrop(2, 6, 2, 5);
            t.setOrigin(int32_t(-3), int32_t(2));
            t.setEdgeMethods(mx, my);
            for (int32_t y = -12; y < 20; ++y) {
                std::vector<ARGB8> walked;
                t.forEachRun(y, -30, 30, [&](const ARGB8* p, int32_t step, int32_t count) {
                    for (int32_t k = 0; k < count; ++k, p += step)
                        walked.push_back(*p);
                });
                ASSERT_EQ(walked.size(), 60u);
                std::vector<ARGBW255> fetched(60);
                t.fetchRow(y, -30, 30, fetched.data());
                for (int32_t x = -30; x < 30; ++x) {
                    ASSERT_EQ(walked[x + 30], t.pixelAt(x, y)) << mx << my << " at " << x << "," << y;
                    ASSERT_EQ(fetched[x + 30], convert<ARGBW255>(t.pixelAt(x, y)));
                }
            }
        }
    }
}

TEST(TextureWalk, OutputPixelsAreAddressedThroughThePlacement)
{
    Tex8 t = taggedTexture(6, 5);
    t.setPlacement(100, -20);
    EXPECT_EQ(*t.placedPixel(103, -18), tag(3, 2));
    t.setWindow(2, 5, 1, 4);
    EXPECT_EQ(*t.placedPixel(102, -19), tag(2, 1));
}

// Bilinear reference written from the sampling rule: pixel centres at
// index + 0.5, each of the four neighbours edge-addressed.
ARGBWF referenceBilinear(const TexF& t, float x, float y)
{
    const float tx = x - 0.5f - t.xAxis().origin, ty = y - 0.5f - t.yAxis().origin;
    const int kx = int(std::floor(tx)), ky = int(std::floor(ty));
    const float fx = tx - kx, fy = ty - ky;
    ARGBWF out = ARGBWF::filled(0.0f);
    for (int dj = 0; dj < 2; ++dj)
        for (int di = 0; di < 2; ++di) {
            const float w = (di ? fx : 1 - fx) * (dj ? fy : 1 - fy);
            const ARGBF p = t.pixelAt(kx + di + t.xAxis().originIndex, ky + dj + t.yAxis().originIndex);
            for (int c = 0; c < 4; ++c)
                out[c] += p[c] * w;
        }
    return out;
}

TEST(TextureSampling, PixelCentresReturnThePixelItself)
{
    const TexF t = imageFrom<ARGBF>(3, 2, [](int32_t i, int32_t j) {
        return ARGBF {{1.0f, float(i), float(j), 0.25f}};
    });
    ARGBWF out;
    t.sampleBox(1.0f, 0.0f, 2.0f, 1.0f, out);  // centre (1.5, 0.5)
    EXPECT_EQ(out, (ARGBWF {{1.0f, 1.0f, 0.0f, 0.25f}}));
    t.sampleCentre(2.0f, 1.5f, 0.5f, 0.5f, out);  // half way from pixel (1,1) to (2,1)
    EXPECT_FLOAT_EQ(out[1], 1.5f);
    EXPECT_FLOAT_EQ(out[2], 1.0f);
}

TEST(TextureSampling, NeighboursOutsideTheDataUseTheEdgeColour)
{
    TexF t = imageFrom<ARGBF>(4, 4, [](int32_t i, int32_t j) {
        return ARGBF {{1.0f, float(i) / 4, float(j) / 4, 0.5f}};
    });
    t.setEdgeColour(ARGBF {{0.0f, 2.0f, -1.0f, 8.0f}});
    const float positions[][2] = {{0.2f, 0.3f}, {-0.4f, 2.0f}, {3.9f, 4.3f}, {1.7f, 2.2f}, {5.0f, -3.0f}};
    for (int method : {kEdgeColour, kEdgeRepeat, kEdgeReflect, kEdgeWrap}) {
        t.setEdgeMethods(method, method);
        t.setOrigin(0.25f, -0.5f);
        for (const auto& p : positions) {
            const ARGBWF got = t.bilinear(p[0], p[1]);
            const ARGBWF want = referenceBilinear(t, p[0], p[1]);
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(got[c], want[c], 1e-5f) << "method " << method << " at " << p[0] << "," << p[1];
        }
    }
    t.setEdgeMethods(kEdgeColour, kEdgeColour);
    t.setOrigin(int32_t(0), int32_t(0));
    // Half way between the corner pixel and the outside: an even blend.
    const ARGBWF corner = t.bilinear(0.0f, 0.5f);
    EXPECT_FLOAT_EQ(corner[0], 0.5f);
    EXPECT_FLOAT_EQ(corner[1], 1.0f);
    EXPECT_FLOAT_EQ(corner[3], 4.25f);
}

TEST(TextureSampling, SingleChannelFloatImagesSampleToo)
{
    QrTexture<float, float> t = QrTexture<float, float>::allocate(2, 1);
    t.pixelAtIndex(0, 0)[0] = 0.0f;
    t.pixelAtIndex(1, 0)[0] = 1.0f;
    t.setEdgeMethods(kEdgeRepeat, kEdgeRepeat);
    EXPECT_FLOAT_EQ(t.bilinear(1.0f, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(t.bilinear(1.25f, 7.0f), 0.75f);
    EXPECT_FLOAT_EQ(t.bilinear(9.0f, 0.5f), 1.0f);
}

}  // namespace
