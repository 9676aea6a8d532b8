#pragma once
// The about box's drawing layer: 8-bit ARGB pixels in memory that someone
// else owns (a host world, a bitmap), with the few operations a dialog and a
// title need: rectangles, bitmap copies and text in the built-in font.
// Everything is clipped to the surface.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Quarn::Platform {

struct DrawColour {
    uint8_t alpha = 255, red = 0, green = 0, blue = 0;
    friend bool operator==(const DrawColour&, const DrawColour&) = default;
};

constexpr DrawColour kDrawWhite {255, 255, 255, 255};
constexpr DrawColour kDrawBlack {255, 0, 0, 0};

// How text is set: the font's pixels scaled up by `scale`, each set pixel
// also drawn `embolden` pixels to its right for a heavier weight.
struct TextStyle {
    DrawColour colour = kDrawBlack;
    int scale = 1;
    int embolden = 0;
};

class DrawSurface {
public:
    DrawSurface() = default;
    // `data` is the top-left pixel; rows are `rowBytes` apart.
    DrawSurface(void* data, int width, int height, std::ptrdiff_t rowBytes)
        : data_(static_cast<std::byte*>(data)), width_(width), height_(height), rowBytes_(rowBytes)
    {
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return !data_ || width_ <= 0 || height_ <= 0; }

    DrawColour* row(int y) const { return reinterpret_cast<DrawColour*>(data_ + rowBytes_ * y); }
    // The pixel at (x, y); (x, y) must lie inside.
    DrawColour& at(int x, int y) const { return row(y)[x]; }

    // Fills [x0, x1) x [y0, y1).
    void fillRect(int x0, int y0, int x1, int y1, DrawColour colour) const;
    // Copies `source` with its top-left pixel at (x, y).
    void blit(const DrawSurface& source, int x, int y) const;
    // One line of text with its top-left at (x, y); returns its width.
    int drawText(int x, int y, std::string_view text, const TextStyle& style) const;

private:
    std::byte* data_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t rowBytes_ = 0;
};

}  // namespace Quarn::Platform
