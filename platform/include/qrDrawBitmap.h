#pragma once
// An 8-bit ARGB image that owns its pixels (rows packed), for bitmaps the
// plug-in makes or reads: the title, the splash picture, the about box.
#include "qrDrawSurface.h"

#include <optional>
#include <string>
#include <vector>

namespace Quarn::Platform {

class DrawBitmap {
public:
    DrawBitmap() = default;
    // A width x height bitmap filled with `colour`.
    DrawBitmap(int width, int height, DrawColour colour = kDrawWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }
    DrawSurface surface() { return {pixels_.data(), width_, height_, rowBytes()}; }
    DrawSurface surface() const
    {
        return {const_cast<DrawColour*>(pixels_.data()), width_, height_, rowBytes()};
    }
    std::ptrdiff_t rowBytes() const { return std::ptrdiff_t(width_) * sizeof(DrawColour); }
    const DrawColour& at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    DrawColour& at(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DrawColour> pixels_;
};

// Decodes an uncompressed 24- or 32-bit device-independent bitmap in memory
// (an info header and the pixels, as a bitmap resource holds it); nothing
// when the data is of another kind or too short.
std::optional<DrawBitmap> readDib(const unsigned char* dib, std::size_t size);
// Reads an uncompressed 24- or 32-bit Windows bitmap file (bottom-up or
// top-down); nothing when the file is missing or of another kind.
std::optional<DrawBitmap> readBmpFile(const std::string& path);
// Writes `bitmap` as a 32-bit bottom-up bitmap file; false on failure.
bool writeBmpFile(const std::string& path, const DrawBitmap& bitmap);

}  // namespace Quarn::Platform
