#pragma once
// Hue, saturation and lightness for the Colour, Luminosity, Hue and
// Saturation blends. Colour and lightness stay on the depth's scale (0..white)
// rather than being divided by white and multiplied back, so a lightness or
// a grey that is an integer stays that integer; saturation is a fraction and
// hue a fraction of the circle (0..1) in six sectors. The conversions are
// each other's inverse for colours inside 0..white.
#include <algorithm>
#include <cstdint>

namespace Quarn::Blend {

struct Hsl {
    float h = 0.0f;
    float s = 0.0f;
    float l = 0.0f;
};

struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline Hsl rgbToHsl(const Rgb& c, float white)
{
    const float mn = std::min(std::min(c.r, c.g), c.b);
    const float mx = std::max(std::max(c.r, c.g), c.b);
    Hsl out;
    out.l = (mn + mx) / 2.0f;
    if (out.l <= 0.0f)
        return Hsl {};
    const float d = mx - mn;
    if (d <= 0.0f)
        return out;
    out.s = out.l <= white / 2.0f ? d / (mx + mn) : d / (2.0f * white - mx - mn);
    const float rr = (mx - c.r) / d, gg = (mx - c.g) / d, bb = (mx - c.b) / d;
    float h;
    if (c.r == mx)
        h = c.g == mn ? 5.0f + bb : 1.0f - gg;
    else if (c.g == mx)
        h = c.b == mn ? 1.0f + rr : 3.0f - bb;
    else
        h = c.r == mn ? 3.0f + gg : 5.0f - rr;
    out.h = h / 6.0f;
    return out;
}

inline Rgb hslToRgb(const Hsl& c, float white)
{
    const float v = c.l <= white / 2.0f ? c.l * (1.0f + c.s) : c.l + c.s * (white - c.l);
    if (v <= 0.0f)
        return Rgb {};
    const float m = 2.0f * c.l - v;
    // Hue outside 0..1 (or NaN from NaN colour) cannot come out of rgbToHsl;
    // pinning it keeps the sector conversion defined.
    const float sixth = c.h > 0.0f ? std::min(6.0f * c.h, 6.0f) : 0.0f;
    const int32_t k = int32_t(sixth);
    const float f = sixth - float(k);
    const float w = v * ((v - m) / v) * f;
    const float up = m + w, down = v - w;
    switch (k) {
    case 0: return {v, up, m};
    case 1: return {down, v, m};
    case 2: return {m, v, up};
    case 3: return {m, down, v};
    case 4: return {up, m, v};
    default: return {v, m, down};  // sector 5, and 6 for a hue of exactly 1
    }
}

}  // namespace Quarn::Blend
