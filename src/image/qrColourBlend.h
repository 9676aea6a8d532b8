#pragma once
// Per-pixel blending of a source pixel with an effect pixel: gains, optional
// premultiplication, the method's formula, the mix between source, blend and
// effect, and optional unpremultiplication. Works on working pixels (float
// values on the depth's scale); storing the result is the caller's step.
#include "qrBlendFormulas.h"
#include "qrBlendMethod.h"

#include <cstdint>

namespace Quarn::Blend {

// Alpha above which a result may be unpremultiplied; the same literal at
// every depth.
constexpr float kUnpremultiplyThreshold = 1.5259022e-5f;

// Everything a blend needs besides its two pixels.
struct Settings {
    int32_t method = kNone;
    float sourceGain = 1.0f;
    float effectGain = 1.0f;
    float mix = 0.5f;
    int32_t premultiplySource = 0;  // 1: premultiply the gained source
    int32_t premultiplyEffect = 0;  // 1: premultiply the gained effect
    int32_t unpremultiplyResult = 0;  // 1: unpremultiply the mixed result
    bool clamp = false;  // clamp the formula's inputs to 0..white
};

// The copy of p with every channel inside 0..white.
template <class W> inline W clampToWhite(const W& p)
{
    constexpr float white = Scale<W>::kWhite;
    W out = p;
    for (int c = 0; c < W::kChannels; ++c)
        out[c] = out[c] < 0.0f ? 0.0f : (out[c] > white ? white : out[c]);
    return out;
}

// r = blend of s and e by method M, through clamped copies when clamp is set.
template <int32_t M, class W> inline W blendClamped(const W& s, const W& e, float mix, bool clamp)
{
    return clamp ? blendAs<M>(clampToWhite(s), clampToWhite(e), mix) : blendAs<M>(s, e, mix);
}

// The per-pixel blend with the method chosen at run time. Neither input is
// changed; codes outside 1..26 give s unchanged.
template <class W>
inline void blendPixel(W& result, const W& s, const W& e, int32_t method, float mix, bool clamp)
{
    withMethod(method, [&](auto m) { result = blendClamped<decltype(m)::value>(s, e, mix, clamp); });
}

// The per-pixel steps below are forced inline: left to itself, GCC made
// them calls per pixel, and the blend stage ran 2 to 3 times slower.

// Colour times gain, then, when premultiply is 1, times alpha/white (0 where
// alpha is 0). The factor is kept in double, so each colour is rounded once,
// as in product(), and an opaque pixel keeps its colour exactly. Alpha is
// kept.
template <class W>
[[gnu::always_inline]] inline W gainAndPremultiply(const W& p, float gain, int32_t premultiply)
{
    W out = p;
    out.r() *= gain;
    out.g() *= gain;
    out.b() *= gain;
    // Opaque colour times white/white is the colour itself.
    if (premultiply != 1 || out.a() == Scale<W>::kWhite)
        return out;
    if (out.a() == 0.0f) {
        out.r() = out.g() = out.b() = 0.0f;
        return out;
    }
    if constexpr (Scale<W>::kPowerOfTwo) {
        const float factor = out.a() * float(Scale<W>::kInvWhite);  // exact
        out.r() *= factor;
        out.g() *= factor;
        out.b() *= factor;
    } else {
        const double factor = double(out.a()) * Scale<W>::kInvWhite;
        out.r() = float(double(out.r()) * factor);
        out.g() = float(double(out.g()) * factor);
        out.b() = float(double(out.b()) * factor);
    }
    return out;
}

// Position `mix` on the path source (0) -> blend (0.5) -> effect (1). The
// three points themselves are returned as they are: r + (e - r)·1 need not
// be e in float when r is much larger than e.
template <class W> [[gnu::always_inline]] inline W mixResult(const W& s, const W& r, const W& e, float mix)
{
    if (mix == 0.5f)
        return r;
    if (mix == 0.0f)
        return s;
    if (mix == 1.0f)
        return e;
    W o;
    if (mix < 0.5f) {
        const float t = 2.0f * mix;
        for (int c = 0; c < W::kChannels; ++c)
            o[c] = s[c] + (r[c] - s[c]) * t;
    } else {
        const float t = 2.0f * mix - 1.0f;
        for (int c = 0; c < W::kChannels; ++c)
            o[c] = r[c] + (e[c] - r[c]) * t;
    }
    return o;
}

// Colour times white/alpha where alpha is above the threshold. Colour times
// white is rounded to float first: after a premultiplication that usually
// gives back the integer colour·alpha exactly, which the division by alpha
// (a multiplication by 1/alpha in double, as good here) then turns into the
// colour itself. An opaque pixel keeps its colour exactly.
template <class W> [[gnu::always_inline]] inline W unpremultiply(const W& p)
{
    W out = p;
    if (!(out.a() > kUnpremultiplyThreshold) || out.a() == Scale<W>::kWhite)
        return out;
    constexpr float white = Scale<W>::kWhite;
    const float a = out.a();
    if constexpr (Scale<W>::kPowerOfTwo) {
        // Colour times white is exact: one division rounds once.
        out.r() = out.r() * white / a;
        out.g() = out.g() * white / a;
        out.b() = out.b() * white / a;
    } else {
        const double inverse = 1.0 / double(a);
        out.r() = float(double(out.r() * white) * inverse);
        out.g() = float(double(out.g() * white) * inverse);
        out.b() = float(double(out.b() * white) * inverse);
    }
    return out;
}

// The whole per-pixel step of the blend processor with method M.
template <int32_t M, class W>
[[gnu::always_inline]] inline W blendStep(const W& source, const W& effect, const Settings& settings)
{
    const W s = gainAndPremultiply(source, settings.sourceGain, settings.premultiplySource);
    const W e = gainAndPremultiply(effect, settings.effectGain, settings.premultiplyEffect);
    const W r = blendClamped<M>(s, e, settings.mix, settings.clamp);
    const W o = mixResult(s, r, e, settings.mix);
    return settings.unpremultiplyResult == 1 ? unpremultiply(o) : o;
}

// The same with the method taken from the settings at run time.
template <class W> inline W blendStep(const W& source, const W& effect, const Settings& settings)
{
    W out;
    withMethod(
        settings.method, [&](auto m) { out = blendStep<decltype(m)::value>(source, effect, settings); });
    return out;
}

}  // namespace Quarn::Blend
