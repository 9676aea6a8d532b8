// Host images to the effect's textures and back: order, orientation, the
// 16-bit scale, alpha association and the in-place output.
#include "qrOfxPixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Quarn::Ofx;

TEST(OfxPixels, SixteenBitValuesMapBetweenTheTwoScalesWithRounding)
{
    struct Case {
        uint16_t host, effect;
    };
    const Case toEffect[] = {{0, 0}, {1, 1}, {2, 1}, {65535, 32768}, {32768, 16384}, {65534, 32767}, {3, 2}};
    for (const Case& c : toEffect)
        EXPECT_EQ(HostScale<uint16_t>::toEffect(c.host), c.effect) << c.host;
    const Case toHost[] = {{0, 0}, {65535, 32768}, {32768, 16384}, {2, 1}, {65535, 40000}};
    for (const Case& c : toHost)
        EXPECT_EQ(HostScale<uint16_t>::toHost(c.effect), c.host) << c.effect;
    // Every effect value survives the trip out and back.
    for (uint32_t v = 0; v <= 32768; ++v)
        ASSERT_EQ(HostScale<uint16_t>::toEffect(HostScale<uint16_t>::toHost(uint16_t(v))), v);
}

// A 3 x 2 RGBA 8-bit image, bottom row first, every byte distinct.
HostImage<uint8_t> sampleImage(std::vector<uint8_t>& bytes, OfxRectI bounds = {10, 20, 13, 22})
{
    bytes.resize(size_t(bounds.x2 - bounds.x1) * size_t(bounds.y2 - bounds.y1) * 4);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(10 + i * 5);
    HostImage<uint8_t> image;
    image.data = bytes.data();
    image.rowBytes = (bounds.x2 - bounds.x1) * 4;
    image.bounds = bounds;
    image.alpha = Alpha::premultiplied;
    return image;
}

TEST(OfxPixels, ReadingPutsTheTopRowFirstInArgbOrder)
{
    std::vector<uint8_t> bytes;
    const HostImage<uint8_t> image = sampleImage(bytes);
    auto texture = QrDepth8::Texture::allocate(3, 2);
    readArea<QrDepth8>(image, image.bounds, texture);
    // Texture row 0 is the image's top row (y = 21), the second in memory.
    const uint8_t* top = bytes.data() + 12;
    for (int i = 0; i < 3; ++i) {
        const auto& p = texture.rowStart(0)[i];
        EXPECT_EQ(p.r(), top[i * 4 + 0]);
        EXPECT_EQ(p.g(), top[i * 4 + 1]);
        EXPECT_EQ(p.b(), top[i * 4 + 2]);
        EXPECT_EQ(p.a(), top[i * 4 + 3]);
    }
    EXPECT_EQ(texture.rowStart(1)[0].r(), bytes[0]);
}

TEST(OfxPixels, AnAreaBeyondTheImageReadsTransparentBlack)
{
    std::vector<uint8_t> bytes;
    const HostImage<uint8_t> image = sampleImage(bytes);
    const OfxRectI area {9, 20, 13, 23};
    auto texture = QrDepth8::Texture::allocate(4, 3);
    readArea<QrDepth8>(image, area, texture);
    EXPECT_EQ(texture.rowStart(0)[1].a(), 0);  // y = 22 is above the image
    EXPECT_EQ(texture.rowStart(1)[0].a(), 0);  // x = 9 is left of it
    EXPECT_EQ(texture.rowStart(2)[1].r(), bytes[0]);
}

TEST(OfxPixels, WritingInPlaceGivesBackTheHostsBytes)
{
    std::vector<uint8_t> bytes;
    const HostImage<uint8_t> image = sampleImage(bytes);
    const std::vector<uint8_t> original = bytes;
    auto source = QrDepth8::Texture::allocate(3, 2);
    readArea<QrDepth8>(image, image.bounds, source);
    ASSERT_TRUE(canWrapInPlace(image, image.bounds));
    auto inPlace = wrapInPlace<QrDepth8>(image);
    for (int j = 0; j < 2; ++j)
        std::copy(source.rowStart(j), source.rowStart(j) + 3, inPlace.rowStart(j));
    EXPECT_NE(bytes, original);  // now in the effect's order
    writeWindow<QrDepth8>(inPlace, image.bounds, image.bounds, image);
    EXPECT_EQ(bytes, original);
}

TEST(OfxPixels, WritingStaysInsideTheWindow)
{
    std::vector<uint8_t> bytes;
    const HostImage<uint8_t> image = sampleImage(bytes);
    auto white = QrDepth8::Texture::allocate(3, 2);
    for (int j = 0; j < 2; ++j)
        std::fill(white.rowStart(j), white.rowStart(j) + 3, Quarn::Pixel::ARGB8::white());
    const std::vector<uint8_t> original = bytes;
    writeWindow<QrDepth8>(white, image.bounds, OfxRectI {11, 21, 12, 22}, image);
    for (size_t i = 0; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], i >= 16 && i < 20 ? 255 : original[i]) << i;
}

TEST(OfxPixels, StraightAlphaIsAssociatedOnTheWayInAndDissociatedOnTheWayOut)
{
    struct Case {
        uint8_t colour, alpha, associated;
    };
    const Case cases[] = {{200, 255, 200}, {200, 128, 100}, {255, 0, 0}, {3, 85, 1}};
    for (const Case& c : cases) {
        std::vector<uint8_t> px {c.colour, c.colour, c.colour, c.alpha};
        HostImage<uint8_t> image;
        image.data = px.data();
        image.rowBytes = 4;
        image.bounds = {0, 0, 1, 1};
        image.alpha = Alpha::straight;
        auto texture = QrDepth8::Texture::allocate(1, 1);
        readArea<QrDepth8>(image, image.bounds, texture);
        EXPECT_EQ(texture.rowStart(0)[0].g(), c.associated) << int(c.colour) << "/" << int(c.alpha);
        writeWindow<QrDepth8>(texture, image.bounds, image.bounds, image);
        EXPECT_NEAR(px[1], c.alpha ? c.colour : 0, c.alpha ? 255.0 / c.alpha : 0) << int(c.colour);
    }
}

TEST(OfxPixels, RgbImagesAreOpaqueAndKeepTheirThreeChannels)
{
    std::vector<uint16_t> px {65535, 0, 32768, 2, 4, 6};  // values that survive the trip
    HostImage<uint16_t> image;
    image.data = px.data();
    image.rowBytes = 12;
    image.bounds = {0, 0, 2, 1};
    image.channels = 3;
    image.alpha = Alpha::opaque;
    EXPECT_FALSE(canWrapInPlace(image, image.bounds));
    auto texture = QrDepth16::Texture::allocate(2, 1);
    readArea<QrDepth16>(image, image.bounds, texture);
    EXPECT_EQ(texture.rowStart(0)[0].a(), 32768);
    EXPECT_EQ(texture.rowStart(0)[0].r(), 32768);
    EXPECT_EQ(texture.rowStart(0)[0].b(), 16384);
    const std::vector<uint16_t> original = px;
    writeWindow<QrDepth16>(texture, image.bounds, image.bounds, image);
    EXPECT_EQ(px, original);
}

}  // namespace
