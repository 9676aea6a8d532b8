// Textures: memory layout, sharing, windows, row walks and bilinear samples.
#include "qrTestImage.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

using namespace Quarn::Pixel;

namespace {

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
    EXPECT_EQ(t8.stride(), 20);
    EXPECT_EQ(t16.stride(), 40);
    EXPECT_EQ(tf.stride(), 80);
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
    EXPECT_EQ(t.width(), 10);
    EXPECT_EQ(t.stride(), 4 * 16);
    EXPECT_EQ(t.xAxis().originIndex, 4);
    EXPECT_EQ(t.yAxis().edgeMethod, kEdgeWrap);
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
