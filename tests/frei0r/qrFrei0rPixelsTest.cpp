// Moving frames between frei0r's RGBA bytes and the effect's ARGB pixels.
#include "qrFrei0rPixels.h"
#include "qrFrei0rTestFrames.h"

#include <gtest/gtest.h>

#include <cstring>

using Quarn::Frei0r::FrameTexture;

using QrFrei0rTest::gradientFrame;

TEST(Frei0rPixels, UnpackPutsEachRgbaByteIntoItsArgbChannel)
{
    const int w = 13, h = 7;
    const auto frame = gradientFrame(w, h);
    auto argb = FrameTexture::allocate(w, h);
    Quarn::Frei0r::unpackRGBA(frame.data(), argb);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto& p = *argb.pixelAtIndex(x, y);
            ASSERT_EQ(p.r(), x) << x << "," << y;
            ASSERT_EQ(p.g(), y) << x << "," << y;
            ASSERT_EQ(p.b(), x + y) << x << "," << y;
            ASSERT_EQ(p.a(), 255 - x) << x << "," << y;
        }
}

TEST(Frei0rPixels, PackRestoresTheFrameEvenOverTheImagesOwnMemory)
{
    // The filter renders ARGB straight into the host's output frame and
    // reorders it there.
    const int w = 9, h = 5;
    const auto frame = gradientFrame(w, h);
    auto separate = FrameTexture::allocate(w, h);
    Quarn::Frei0r::unpackRGBA(frame.data(), separate);

    std::vector<uint32_t> shared(frame.size());
    FrameTexture inPlace(w, h, shared.data(), std::ptrdiff_t(w) * 4);
    for (int y = 0; y < h; ++y)
        std::memcpy(inPlace.rowStart(y), separate.rowStart(y), size_t(w) * 4);
    Quarn::Frei0r::packRGBA(inPlace, shared.data());
    EXPECT_EQ(std::memcmp(shared.data(), frame.data(), frame.size() * 4), 0);
}
