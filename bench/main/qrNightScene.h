#pragma once
// The benchmarks' picture: a generated night street at any size and depth.
#include "noise/qrHash.h"
#include "qrTexture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QrBench {

inline float unit(int32_t x, int32_t y, int32_t seed)
{
    return QrHash::unit(QrHash::hash(QrHash::key(x, y, seed)));
}

// A night street, colours 0..1: a sky gradient, a skyline of blocks with
// warm windows (some lit, a few near white), street lamps with bright cores
// and soft halos, a dark road, and sensor noise everywhere.
inline void nightPixel(int32_t x, int32_t y, int32_t w, int32_t h, float rgb[3])
{
    const float fy = float(y) / h, fx = float(x) / w;
    float r = 0.02f + 0.05f * fy, g = 0.03f + 0.06f * fy, b = 0.10f + 0.08f * fy;
    const int32_t block = x / std::max(1, w / 24);
    const float roof = 0.25f + 0.3f * unit(block, 0, 11);
    if (fy > roof && fy < 0.75f) {
        r = 0.05f, g = 0.05f, b = 0.07f;
        const int32_t wx = x / std::max(1, w / 160), wy = y / std::max(1, h / 90);
        const bool inWindow = (x % std::max(1, w / 160)) > w / 640 && (y % std::max(1, h / 90)) > h / 360;
        const float lit = unit(wx, wy, 23);
        if (inWindow && lit > 0.6f) {
            const float level = lit > 0.97f ? 0.98f : 0.4f + 0.5f * lit;
            r = level, g = level * 0.8f, b = level * 0.45f;
        }
    } else if (fy >= 0.75f) {
        r = g = b = 0.04f + 0.03f * (1.0f - fy);
    }
    // Lamps every eighth of the width at two fifths of the height.
    const float lampX = (std::floor(fx * 8.0f) + 0.5f) / 8.0f;
    const float dx = (fx - lampX) * w, dy = (fy - 0.4f) * h;
    const float d2 = (dx * dx + dy * dy) / (0.0004f * float(w) * float(w));
    const float glow = std::exp(-d2) + 0.2f * std::exp(-std::sqrt(d2));
    r += glow, g += glow * 0.95f, b += glow * 0.8f;
    const float grain = (unit(x, y, 5) - 0.5f) * 0.03f;
    rgb[0] = std::clamp(r + grain, 0.0f, 1.0f);
    rgb[1] = std::clamp(g + grain, 0.0f, 1.0f);
    rgb[2] = std::clamp(b + grain, 0.0f, 1.0f);
}

template <class S> QrTexture<S> nightScene(int32_t w, int32_t h)
{
    QrTexture<S> t = QrTexture<S>::allocate(w, h);
    const float white = float(S::Desc::kWhite);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            float rgb[3];
            nightPixel(x, y, w, h, rgb);
            S& p = *t.pixelAtIndex(x, y);
            p.c[S::kAlpha] = typename S::Component(white);
            p.c[S::kRed] = typename S::Component(rgb[0] * white);
            p.c[S::kGreen] = typename S::Component(rgb[1] * white);
            p.c[S::kBlue] = typename S::Component(rgb[2] * white);
        }
    return t;
}

}  // namespace QrBench
