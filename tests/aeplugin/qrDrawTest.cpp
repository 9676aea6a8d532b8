// The about box's drawing layer. Failures here mean unreadable text (wrong
// glyph bits or spacing), drawing outside a surface, lost or mangled splash
// pictures, or a description that no longer fits its box.
#include "qrDrawBitmap.h"
#include "qrDrawText.h"
#include "qrFont.h"
#include "qrResource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

using namespace Quarn::Platform;

// Set pixels of one glyph as text rows ('#' set, '.' clear).
std::string glyphPicture(char c)
{
    std::string rows;
    for (int y = 0; y < BitmapFont::kGlyphHeight; ++y) {
        for (int x = 0; x < BitmapFont::kGlyphWidth; ++x)
            rows += BitmapFont::pixel(c, x, y) ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

int countColour(const DrawBitmap& b, DrawColour colour)
{
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.at(x, y) == colour;
    return n;
}

TEST(BitmapFont, GlyphsHaveTheirShapesAndWidths)
{
    EXPECT_EQ(glyphPicture('L'), "#....\n#....\n#....\n#....\n#....\n#....\n#####\n");
    EXPECT_EQ(glyphPicture('T'), "#####\n..#..\n..#..\n..#..\n..#..\n..#..\n..#..\n");
    EXPECT_EQ(glyphPicture(' '), ".....\n.....\n.....\n.....\n.....\n.....\n.....\n");
    // Every printable character but space is visible and distinct.
    std::set<std::string> seen;
    for (char c = '!'; c <= '~'; ++c) {
        const std::string picture = glyphPicture(c);
        EXPECT_NE(picture.find('#'), std::string::npos) << "blank glyph for " << c;
        EXPECT_TRUE(seen.insert(picture).second) << "glyph of " << c << " repeats another";
    }
    // Characters outside the table draw as a question mark.
    EXPECT_EQ(glyphPicture('\x01'), glyphPicture('?'));
    EXPECT_EQ(glyphPicture('\x7f'), glyphPicture('?'));
    EXPECT_FALSE(BitmapFont::pixel('A', -1, 0));
    EXPECT_FALSE(BitmapFont::pixel('A', 0, BitmapFont::kGlyphHeight));
    // Text leaves no trailing space.
    EXPECT_EQ(BitmapFont::textWidth("", 1), 0);
    EXPECT_EQ(BitmapFont::textWidth("A", 1), BitmapFont::kGlyphWidth);
    EXPECT_EQ(BitmapFont::textWidth("AB", 2), (2 * BitmapFont::kAdvance - 1) * 2);
}

TEST(DrawSurface, FillAndBlitStayInsideTheSurface)
{
    DrawBitmap target(10, 6, kDrawWhite);
    target.surface().fillRect(-5, -5, 3, 2, kDrawBlack);  // clipped to 3 x 2
    EXPECT_EQ(countColour(target, kDrawBlack), 6);
    EXPECT_EQ(target.at(2, 1), kDrawBlack);
    EXPECT_EQ(target.at(3, 1), kDrawWhite);

    DrawBitmap red(4, 4, DrawColour {255, 255, 0, 0});
    target.surface().blit(red.surface(), 8, 4);  // only 2 x 2 lands
    EXPECT_EQ(countColour(target, red.at(0, 0)), 4);
    target.surface().blit(red.surface(), 20, 20);  // nothing lands
    EXPECT_EQ(countColour(target, red.at(0, 0)), 4);
}

TEST(DrawSurface, TextIsScaledAndEmboldened)
{
    DrawBitmap plain(20, 20, kDrawWhite), big(40, 40, kDrawWhite), bold(20, 20, kDrawWhite);
    plain.surface().drawText(0, 0, "I", {kDrawBlack, 1, 0});
    big.surface().drawText(0, 0, "I", {kDrawBlack, 3, 0});
    bold.surface().drawText(0, 0, "I", {kDrawBlack, 1, 1});
    const int pixels = countColour(plain, kDrawBlack);
    EXPECT_EQ(pixels, 2 * 3 + 5);  // "I": two bars of three and a stem of five
    EXPECT_EQ(countColour(big, kDrawBlack), pixels * 9);
    EXPECT_GT(countColour(bold, kDrawBlack), pixels);
}

TEST(WrapText, KeepsLinesWithinTheWidthAndParagraphsApartCuttingLongWords)
{
    const int width = BitmapFont::textWidth("0123456789", 1);  // ten characters
    const auto lines = wrapText("one two three four\n\nfive", width, 1);
    EXPECT_EQ(lines, (std::vector<std::string> {"one two", "three four", "", "five"}));
    for (const auto& line : lines)
        EXPECT_LE(BitmapFont::textWidth(line, 1), width);
    EXPECT_EQ(wrapText("abcdefghij klm", BitmapFont::textWidth("abcd", 1), 1),
        (std::vector<std::string> {"abcd", "efgh", "ij", "klm"}));
}

TEST(BmpFile, RoundTripsPixelsAndRejectsOtherFiles)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("nimbrel_bmp_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    DrawBitmap picture(5, 3, kDrawWhite);
    picture.at(0, 0) = {255, 10, 20, 30};  // top-left: bottom-up files store it last
    picture.at(4, 2) = {128, 200, 100, 50};
    const std::string path = (dir / "picture.bmp").string();
    ASSERT_TRUE(writeBmpFile(path, picture));
    const auto read = readBmpFile(path);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->width(), 5);
    ASSERT_EQ(read->height(), 3);
    EXPECT_EQ(read->at(0, 0), picture.at(0, 0));
    EXPECT_EQ(read->at(4, 2), picture.at(4, 2));
    EXPECT_EQ(read->at(2, 1), kDrawWhite);

    EXPECT_FALSE(readBmpFile((dir / "missing.bmp").string()).has_value());
    const std::string text = (dir / "text.bmp").string();
    std::ofstream(text) << "not a bitmap at all, just some words that fill a header";
    EXPECT_FALSE(readBmpFile(text).has_value());
    std::filesystem::remove_all(dir);
}

TEST(Resources, StringTableHoldsTheDescriptionAndNothingElse)
{
    const std::string description = resourceString(kStringDescription);
    EXPECT_EQ(description.rfind("Nimbrel adds a 2D rain effect to an image.", 0), 0u);
    EXPECT_NE(description.find("effect.\n\nFor further"), std::string::npos);
    EXPECT_EQ(description.back(), '.');
    EXPECT_EQ(resourceString(kStringObsolete), "Valtherion is not obsolete.");
    EXPECT_TRUE(resourceString(3).empty());
}

TEST(Resources, TitleBitmapIsADrawnPictureOfThreeHundredByFifty)
{
    const DrawBitmap title = resourceBitmap(kBitmapTitle);
    ASSERT_EQ(title.width(), kTitleWidth);
    ASSERT_EQ(title.height(), kTitleHeight);
    std::set<uint32_t> colours;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x) {
            const DrawColour c = title.at(x, y);
            EXPECT_EQ(c.alpha, 255);
            colours.insert(uint32_t(c.red) << 16 | c.green << 8 | c.blue);
        }
    EXPECT_GT(colours.size(), 20u);  // sky gradient, rain and lettering
    EXPECT_TRUE(resourceBitmap(7).empty());
}

}  // namespace
