#pragma once
// The blend formulas as the textbook writes them, on normalised (0..1)
// values in double: the reference the blend tests compare the working
// arithmetic with.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace BlendReference {

// A pixel normalised to 0..1: alpha, red, green, blue.
using Ref = std::array<double, 4>;

inline double positive(double v)
{
    return v <= 0.0 ? 0.0 : v;
}

// Colour formula of a method that treats red, green and blue alike; none for
// the other methods.
inline std::optional<double> channelFormula(int code, double s, double e, double mix)
{
    switch (code) {
    case 19: return (s - e) * mix + e;
    case 22:
    case 11: return s + e;
    case 5: return std::abs(s - e);
    case 21: return positive(e - s);
    case 20: return positive(s - e);
    case 4: return std::min(s, e);
    case 9: return std::max(s, e);
    case 17: return 1 - (1 - s) * (1 - e);
    case 14: return s * e;
    case 15: return s < 0.5 ? 2 * s * e : s > 0.5 ? 1 - 2 * (1 - s) * (1 - e) : e;
    case 6: return s + e - 2 * s * e;
    case 2: return e == 0 ? 0 : positive(1 - (1 - s) / e);
    case 3: return e == 1 ? 1 : s / (1 - e);
    case 7: return e < 0.5 ? 2 * s * e : 1 - 2 * (1 - s) * (1 - e);
    case 10: return positive(s + e - 1);
    case 12: return e < 0.5 ? positive(s + 2 * e - 1) : e > 0.5 ? s + 2 * e - 1 : s;
    case 18: return e < 0.5 ? 2 * s * e + (1 - 2 * e) * s * s : 2 * s * (1 - e) + (2 * e - 1) * std::sqrt(s);
    default: return std::nullopt;
    }
}

struct HslRef {
    double h, s, l;
};

// Hue in sixths of the circle, counted from red through yellow; the
// red-maximum, green-minimum sector ends at 6 rather than wrapping to 0.
inline HslRef toHsl(double r, double g, double b)
{
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2, d = mx - mn;
    if (l <= 0)
        return {0, 0, 0};
    if (d <= 0)
        return {0, 0, l};
    const double s = l <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    double h;
    if (r == mx)
        h = g == mn ? 6 - (b - mn) / d : (g - mn) / d;
    else if (g == mx)
        h = b == mn ? 2 - (r - mn) / d : 2 + (b - mn) / d;
    else
        h = r == mn ? 4 - (g - mn) / d : 4 + (r - mn) / d;
    return {h / 6, s, l};
}

inline std::array<double, 3> fromHsl(HslRef c)
{
    const double hi = c.l <= 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
    if (hi <= 0)
        return {0, 0, 0};
    const double lo = 2 * c.l - hi;
    const int sector = std::min(int(c.h * 6), 6);
    const double rise = lo + (hi - lo) * (c.h * 6 - sector);
    const double fall = hi - (hi - lo) * (c.h * 6 - sector);
    // Sector 6 (hue exactly 1) continues sector 5's pattern.
    const std::array<std::array<double, 3>, 7> table = {{{hi, rise, lo}, {fall, hi, lo}, {lo, hi, rise},
        {lo, fall, hi}, {rise, lo, hi}, {hi, lo, fall}, {hi, lo, fall}}};
    return table[size_t(sector)];
}

inline Ref referenceBlend(int code, const Ref& s, const Ref& e, double mix)
{
    Ref r = s;
    const double unionAlpha = s[0] + e[0] - s[0] * e[0];
    if (channelFormula(code, 0, 0, 0)) {
        r[0] = unionAlpha;
        for (size_t c = 1; c < 4; ++c)
            r[c] = *channelFormula(code, s[c], e[c], mix);
    } else if (code == 1 || code == 8 || code == 13 || code == 16) {
        const HslRef hs = toHsl(s[1], s[2], s[3]), he = toHsl(e[1], e[2], e[3]);
        HslRef out = hs;  // Saturation: s of e
        if (code == 1)
            out = {he.h, he.s, hs.l};  // Colour
        if (code == 13)
            out = {hs.h, hs.s, he.l};  // Luminosity
        if (code == 8)
            out = {he.h, he.l == 0 ? 0 : hs.s, hs.l};  // Hue
        if (code == 16)
            out = {hs.h, he.s, hs.l};
        const auto rgb = fromHsl(out);
        r = {unionAlpha, rgb[0], rgb[1], rgb[2]};
    } else if (code >= 23 && code <= 26) {
        const bool sourceOnTop = code == 23 || code == 25;
        const Ref& top = sourceOnTop ? s : e;
        const Ref& under = sourceOnTop ? e : s;
        r[0] = top[0] + under[0] - top[0] * under[0];
        for (size_t c = 1; c < 4; ++c)
            r[c] = code >= 25 ? top[c] + under[c] * (1 - top[0])  // premultiplied
                              : top[c] * top[0] + under[c] * (1 - top[0]);  // straight
    }
    return r;
}

inline Ref referenceMix(const Ref& s, const Ref& r, const Ref& e, double mix)
{
    Ref o;
    for (size_t c = 0; c < 4; ++c)
        o[c] = mix <= 0.5 ? s[c] + (r[c] - s[c]) * 2 * mix : r[c] + (e[c] - r[c]) * (2 * mix - 1);
    return o;
}

}  // namespace BlendReference
