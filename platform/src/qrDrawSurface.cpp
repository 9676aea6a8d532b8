#include "qrDrawSurface.h"

#include "qrFont.h"

#include <algorithm>

namespace Quarn::Platform {

void DrawSurface::fillRect(int x0, int y0, int x1, int y1, DrawColour colour) const
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    for (int y = y0; y < y1; ++y)
        std::fill(row(y) + x0, row(y) + std::max(x0, x1), colour);
}

void DrawSurface::blit(const DrawSurface& source, int x, int y) const
{
    const int sx0 = std::max(0, -x), sy0 = std::max(0, -y);
    const int sx1 = std::min(source.width(), width_ - x);
    const int sy1 = std::min(source.height(), height_ - y);
    if (source.empty() || sx0 >= sx1)
        return;
    for (int sy = sy0; sy < sy1; ++sy)
        std::copy(source.row(sy) + sx0, source.row(sy) + sx1, row(y + sy) + x + sx0);
}

int DrawSurface::drawText(int x, int y, std::string_view text, const TextStyle& style) const
{
    const int scale = std::max(style.scale, 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int left = x + int(i) * BitmapFont::kAdvance * scale;
        for (int gy = 0; gy < BitmapFont::kGlyphHeight; ++gy)
            for (int gx = 0; gx < BitmapFont::kGlyphWidth; ++gx)
                if (BitmapFont::pixel(text[i], gx, gy))
                    fillRect(left + gx * scale, y + gy * scale, left + (gx + 1) * scale + style.embolden,
                        y + (gy + 1) * scale, style.colour);
    }
    return BitmapFont::textWidth(text, scale);
}

}  // namespace Quarn::Platform
