// The Windows resources carry the title as a bitmap file made from the
// painting the portable layer does: the two must show the same picture.
#include "qrDrawBitmap.h"
#include "qrTitlePainter.h"

#include <gtest/gtest.h>

namespace {

using namespace Quarn::Platform;

TEST(TitleBitmap, ResourceFileShowsThePaintedTitle)
{
    const auto file = readBmpFile(NIMBREL_SOURCE_DIR "/src/host/win32/title.bmp");
    ASSERT_TRUE(file.has_value());
    const DrawBitmap painted = paintTitle();
    ASSERT_EQ(file->width(), kTitleWidth);
    ASSERT_EQ(file->height(), kTitleHeight);
    int differing = 0;
    for (int y = 0; y < kTitleHeight; ++y)
        for (int x = 0; x < kTitleWidth; ++x)
            differing += !(file->at(x, y) == painted.at(x, y));
    EXPECT_EQ(differing, 0) << "regenerate src/host/win32/title.bmp with writeBmpFile(paintTitle())";
}

}  // namespace
