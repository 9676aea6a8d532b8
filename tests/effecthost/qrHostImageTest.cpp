#include "qrFixtureHost.h"
#include "qrHostWorld.h"

#include <cstdint>
#include <cstring>

namespace {

using namespace Quarn::Host;

// 0.5 reads back as 128/255 at 8 bits; 16-bit white is 32768, not full range.
TEST(HostImage, ChannelsAreNormalisedByTheDepthsWhite)
{
    struct Case {
        Depth depth;
        float stored;  // what a value of 0.5 reads back as
    };
    for (const Case& c :
        {Case {Depth::Bits8, 128 / 255.0f}, Case {Depth::Bits16, 0.5f}, Case {Depth::Float, 0.5f}}) {
        HostImage image(2, 1, c.depth);
        image.setPixel(1, 0, {1.0f, 0.5f, 0.0f, 0.25f});
        EXPECT_FLOAT_EQ(image.channel(1, 0, 0), 1.0f);
        EXPECT_FLOAT_EQ(image.channel(1, 0, 1), c.stored);
        EXPECT_FLOAT_EQ(image.channel(0, 0, 1), 0.0f);
    }
    HostImage image(1, 1, Depth::Bits16);
    image.setPixel(0, 0, {1.0f, 2.0f, -1.0f, 0.5f});
    std::uint16_t raw[4];
    std::memcpy(raw, image.data(), sizeof raw);
    EXPECT_EQ(raw[0], 32768);
    EXPECT_EQ(raw[1], 32768);  // clamped
    EXPECT_EQ(raw[2], 0);
    EXPECT_EQ(raw[3], 16384);
}

TEST(HostImage, DepthConversionKeepsThePicture)
{
    const HostImage source = HostTest::picture(3, 2);
    for (Depth d : {Depth::Bits16, Depth::Float}) {
        const HostImage back = source.converted(d).converted(Depth::Bits8);
        EXPECT_EQ(std::memcmp(back.data(), source.data(), source.rowBytes() * 2), 0);
    }
}

TEST(HostWorld, RowsArePaddedAndThePaddingIsWatched)
{
    for (Depth d : {Depth::Bits8, Depth::Bits16, Depth::Float}) {
        HostWorld world(5, 3, d);
        const PF_EffectWorld& w = world.world();
        EXPECT_GT(std::size_t(w.rowbytes), 5 * pixelSize(d));
        EXPECT_EQ(w.rowbytes % 16, 0);
        EXPECT_EQ((w.world_flags & PF_WorldFlag_DEEP) != 0, d == Depth::Bits16);
        EXPECT_TRUE(world.paddingIntact());
        // A writer that steps rows by width x pixel size spills into the padding.
        auto* bytes = reinterpret_cast<std::byte*>(w.data);
        bytes[w.rowbytes * 1 + 5 * pixelSize(d)] = std::byte {0};
        EXPECT_FALSE(world.paddingIntact());
    }
}

TEST(HostWorld, LoadAndReadRoundTripThroughPaddedRows)
{
    HostImage image(4, 3, Depth::Bits16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, {1.0f, x / 4.0f, y / 3.0f, 0.5f});
    HostWorld world(4, 3, Depth::Bits16);
    world.load(image);
    const HostImage back = world.read();
    EXPECT_EQ(std::memcmp(back.data(), image.data(), image.rowBytes() * 3), 0);
    EXPECT_TRUE(world.paddingIntact());
    // A row starts rowbytes after the previous one.
    const auto* second = reinterpret_cast<const PF_Pixel16*>(
        reinterpret_cast<const std::byte*>(world.world().data) + world.world().rowbytes);
    EXPECT_EQ(second[2].red, 16384);
}

TEST(HostWorld, NewWorldsAreTransparentBlackInsideTheRows)
{
    for (Depth d : {Depth::Bits8, Depth::Float}) {
        const HostImage blank = HostWorld(6, 4, d).read();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(blank.pixel(x, y), (Argb {0, 0, 0, 0}));
    }
}

}  // namespace
