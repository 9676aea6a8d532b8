#include "qrTitlePainter.h"

#include "qrFont.h"

#include <cstdint>

namespace Quarn::Platform {

namespace {

uint32_t hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint8_t mix(int a, int b, int t, int range)
{
    return uint8_t(a + (b - a) * t / range);
}

// A night sky darkening upwards, with faint rain falling to the left.
void paintSky(DrawBitmap& title)
{
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x)
            title.at(x, y) = {255, mix(8, 36, y, title.height()), mix(14, 52, y, title.height()),
                mix(40, 96, y, title.height())};
    constexpr int kDrops = 60, kLength = 9;
    for (int d = 0; d < kDrops; ++d) {
        const uint32_t h = hash(uint32_t(d) * 2654435761U + 17U);
        const int x0 = int(h % uint32_t(title.width())), y0 = int((h >> 12) % uint32_t(title.height()));
        const uint8_t shade = uint8_t(110 + (h >> 24) % 80);
        for (int k = 0; k < kLength; ++k) {
            const int x = x0 - k / 3, y = y0 + k;
            if (x >= 0 && y < title.height())
                title.at(x, y) = {255, uint8_t(shade - 20), uint8_t(shade - 5), shade};
        }
    }
}

}  // namespace

DrawBitmap paintTitle()
{
    DrawBitmap title(kTitleWidth, kTitleHeight);
    paintSky(title);
    const DrawSurface surface = title.surface();
    const TextStyle name {{255, 235, 242, 255}, 4, 1};
    const int nameWidth = BitmapFont::textWidth("NIMBREL", name.scale);
    surface.drawText((kTitleWidth - nameWidth) / 2, 6, "NIMBREL", name);
    const TextStyle maker {{255, 150, 175, 215}, 1, 0};
    const int makerWidth = BitmapFont::textWidth("Brastor 4", maker.scale);
    surface.drawText((kTitleWidth - makerWidth) / 2, kTitleHeight - 11, "Brastor 4", maker);
    return title;
}

}  // namespace Quarn::Platform
