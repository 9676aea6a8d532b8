#pragma once
// The built-in bitmap font of the about box and the title bitmap: 5 x 7
// pixel glyphs for printable ASCII on a 6 x 9 cell. Characters outside
// ' '..'~' draw as '?'.
#include <string_view>

namespace Quarn::Platform {

class BitmapFont {
public:
    static constexpr int kGlyphWidth = 5;
    static constexpr int kGlyphHeight = 7;
    static constexpr int kAdvance = 6;  // glyph plus one column of space
    static constexpr int kLineHeight = 9;  // glyph plus two rows of space

    // Whether pixel (x, y) of the glyph for `c` is set; false outside the glyph.
    static bool pixel(char c, int x, int y);
    // Width in pixels of `text` on one line at `scale` (no trailing space).
    static int textWidth(std::string_view text, int scale);
};

}  // namespace Quarn::Platform
