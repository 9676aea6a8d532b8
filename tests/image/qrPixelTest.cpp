// Storage <-> working conversions and the ranges of every pixel type.
#include "qrPixel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

using namespace Quarn::Pixel;

namespace {

struct StoreCase {
    float work;
    double expected8;
    double expected16;
};

// Integer stores clamp to the depth's black..white and then truncate toward
// zero; they never round.
const StoreCase kStoreCases[] = {
    {40000.0f, 255, 32768},
    {-3.0f, 0, 0},
    {123.9f, 123, 123},
    {0.999f, 0, 0},
    {254.9f, 254, 254},
    {255.0f, 255, 255},
    {256.0f, 255, 256},
    {32767.9f, 255, 32767},
    {32768.0f, 255, 32768},
    {-0.5f, 0, 0},
    {1e30f, 255, 32768},
    {-1e30f, 0, 0},
};

TEST(PixelStore, IntegerDepthsClampThenTruncate)
{
    for (const StoreCase& c : kStoreCases) {
        ARGBW255 w8 = ARGBW255::filled(c.work);
        ARGBW32768 w16 = ARGBW32768::filled(c.work);
        const ARGB8 s8 = convert<ARGB8>(w8);
        const ARGB16 s16 = convert<ARGB16>(w16);
        const Single8 m8 = convert<Single8>(SingleW255::filled(c.work));
        const Single16 m16 = convert<Single16>(SingleW32768::filled(c.work));
        for (int ch = 0; ch < 4; ++ch) {
            EXPECT_EQ(s8[ch], c.expected8) << "8-bit store of " << c.work;
            EXPECT_EQ(s16[ch], c.expected16) << "16-bit store of " << c.work;
        }
        EXPECT_EQ(m8[0], c.expected8) << "8-bit matte store of " << c.work;
        EXPECT_EQ(m16[0], c.expected16) << "16-bit matte store of " << c.work;
    }
}

// Float stores keep values outside the range; NaN stores as black in integer
// depths; 32-bit integers clamp at their exact bounds and truncate toward zero.
TEST(PixelStore, OtherStoresKeepOrClampAsTheirTypeAllows)
{
    for (float v : {1.7f, -0.25f, 0.5f, 1e6f}) {
        EXPECT_EQ(convert<ARGBF>(ARGBWF::filled(v)), ARGBF::filled(v));
        EXPECT_EQ(convert<SingleF>(SingleWF::filled(v))[0], v);
        EXPECT_EQ(convert<float>(v), v);
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(convert<ARGB8>(ARGBW255::filled(nan)), ARGB8::black());
    EXPECT_EQ(convert<Single16>(SingleW32768::filled(nan)), Single16::black());
    EXPECT_EQ(convert<RGBAI32>(RGBAWI32::filled(3e9f))[0], std::numeric_limits<int32_t>::max());
    EXPECT_EQ(convert<RGBAI32>(RGBAWI32::filled(-3e9f))[0], std::numeric_limits<int32_t>::min());
    EXPECT_EQ(convert<RGBAI32>(RGBAWI32::filled(-7.9f))[0], -7);
}

TEST(PixelLoad, StorageValuesBecomeWorkingValuesUnscaled)
{
    const ARGB8 s8 {{200, 0, 17, 255}};
    const ARGBW255 w8 = convert<ARGBW255>(s8);
    EXPECT_EQ(w8, (ARGBW255 {{200.0f, 0.0f, 17.0f, 255.0f}}));
    const ARGB16 s16 {{32768, 1, 16384, 0}};
    EXPECT_EQ(convert<ARGBW32768>(s16), (ARGBW32768 {{32768.0f, 1.0f, 16384.0f, 0.0f}}));
    // A round trip through the working type changes no storable value.
    for (int v = 0; v <= 255; ++v) {
        const ARGB8 p = ARGB8::filled(uint8_t(v));
        EXPECT_EQ(convert<ARGB8>(convert<ARGBW255>(p)), p);
    }
}

TEST(PixelLayout, ChannelNamesFollowTheOrderAndArithmeticIsElementWise)
{
    const ARGB8 argb {{1, 2, 3, 4}};
    EXPECT_EQ(std::tuple(argb.a(), argb.r(), argb.b()), std::tuple(1, 2, 4));
    const RGBAF rgba {{1, 2, 3, 4}};
    EXPECT_EQ(std::tuple(rgba.r(), rgba.a()), std::tuple(1.0f, 4.0f));
    const Single8 single {{9}};
    EXPECT_EQ(std::tuple(single.a(), single.g()), std::tuple(9, 9));
    const ARGBW255 a {{1, 2, 3, 4}}, b {{10, 20, 30, 40}};
    EXPECT_EQ(a + b, (ARGBW255 {{11, 22, 33, 44}}));
    EXPECT_EQ(b - a, (ARGBW255 {{9, 18, 27, 36}}));
    EXPECT_EQ(a * 0.5f, (ARGBW255 {{0.5f, 1, 1.5f, 2}}));
}

}  // namespace
