#pragma once
// The blend formulas, one per method code, on working pixels of any depth.
// Values run from 0 to the depth's white (255, 32768 or 1): every constant 1
// of the textbook formulas is white, every 0.5 is half of white, and every
// product of two channel values is divided by white once, with the factor
// folded into one constant (2·s·e at 8 bits is s·e·(2/255)). The operations
// follow the order in which the formulas are written, because integer stores
// truncate and a different order can move a result across an integer.
#include "qrBlendHsl.h"
#include "qrBlendMethod.h"

#include <cmath>

namespace Quarn::Blend {

// The constants of a working pixel type's scale.
template <class W> struct Scale {
    static constexpr float kWhite = float(W::Desc::kWhite);
    static constexpr float kHalf = float(W::Desc::kWhite / 2.0);
    static constexpr float kInvWhite = float(1.0 / W::Desc::kWhite);
    static constexpr float kTwoOverWhite = float(2.0 / W::Desc::kWhite);
    static constexpr float kInvWhiteSquared = float(1.0 / (W::Desc::kWhite * W::Desc::kWhite));
};

constexpr bool isHslMethod(int32_t m)
{
    return m == kColour || m == kHue || m == kLuminosity || m == kSaturation;
}

// Methods whose colour formula works on each of red, green and blue alone.
constexpr bool isChannelMethod(int32_t m)
{
    return m >= kColour && m <= kAdd && !isHslMethod(m);
}

// One colour channel of a channel method: s from the source, e from the effect.
template <int32_t M, class Sc> inline float blendChannel(float s, float e, float mix)
{
    constexpr float W = Sc::kWhite, H = Sc::kHalf;
    constexpr float k1 = Sc::kInvWhite, k2 = Sc::kTwoOverWhite;
    if constexpr (M == kMix) {
        return (s - e) * mix + e;
    } else if constexpr (M == kAdd || M == kLinearDodge) {
        return s + e;
    } else if constexpr (M == kDifference) {
        return std::fabs(s - e);
    } else if constexpr (M == kSubtractSource || M == kSubtractEffect) {
        const float v = M == kSubtractSource ? e - s : s - e;
        return v <= 0.0f ? 0.0f : v;
    } else if constexpr (M == kDarken) {
        return s < e ? s : e;
    } else if constexpr (M == kLighten) {
        return s > e ? s : e;
    } else if constexpr (M == kScreen) {
        return s + e - s * e * k1;
    } else if constexpr (M == kMultiply) {
        return s * e * k1;
    } else if constexpr (M == kOverlay) {
        if (s < H)
            return s * e * k2;
        if (s > H)
            return W - (W - s) * (W - e) * k2;
        return e;
    } else if constexpr (M == kExclusion) {
        return s + e - s * e * k2;
    } else if constexpr (M == kColourBurn) {
        if (e == 0.0f)
            return 0.0f;
        const float v = W - ((W - s) / e) * W;
        return v <= 0.0f ? 0.0f : v;
    } else if constexpr (M == kColourDodge) {
        return e == W ? W : (s / (W - e)) * W;
    } else if constexpr (M == kHardLight) {
        return e < H ? s * e * k2 : W - (W - s) * (W - e) * k2;
    } else if constexpr (M == kLinearBurn) {
        const float v = e - (W - s);
        return v <= 0.0f ? 0.0f : v;
    } else if constexpr (M == kLinearLight) {
        if (e < H) {
            const float v = s - 2.0f * (H - e);
            return v <= 0.0f ? 0.0f : v;
        }
        return e > H ? s + 2.0f * (e - H) : s;
    } else if constexpr (M == kSoftLight) {
        if (e < H)
            return s * e * k2 + (W - 2.0f * e) * s * s * Sc::kInvWhiteSquared;
        return s * (W - e) * k2 + (2.0f * e - W) * std::sqrt(s * k1);
    } else {
        static_assert(!isChannelMethod(M), "channel method without a formula");
        return s;
    }
}

// The colour of an HSL method, on colours normalised to 0..1.
template <int32_t M> inline Rgb blendHsl(const Rgb& s, const Rgb& e)
{
    const Hsl hs = rgbToHsl(s), he = rgbToHsl(e);
    if constexpr (M == kColour)
        return hslToRgb({he.h, he.s, hs.l});
    else if constexpr (M == kLuminosity)
        return hslToRgb({hs.h, hs.s, he.l});
    else if constexpr (M == kHue)
        return hslToRgb({he.h, he.l == 0.0f ? 0.0f : hs.s, hs.l});
    else
        return hslToRgb({hs.h, he.s, hs.l});
}

// r = blend of source s and effect e by method M; s is returned unchanged for
// kNone. mix is used by kMix only.
template <int32_t M, class W> inline W blendAs(const W& s, const W& e, float mix)
{
    using Sc = Scale<W>;
    constexpr float W1 = Sc::kWhite, k1 = Sc::kInvWhite;
    W r = s;
    if constexpr (isChannelMethod(M) || isHslMethod(M))
        r.a() = s.a() + e.a() - s.a() * e.a() * k1;
    if constexpr (isChannelMethod(M)) {
        r.r() = blendChannel<M, Sc>(s.r(), e.r(), mix);
        r.g() = blendChannel<M, Sc>(s.g(), e.g(), mix);
        r.b() = blendChannel<M, Sc>(s.b(), e.b(), mix);
    } else if constexpr (isHslMethod(M)) {
        const Rgb c = blendHsl<M>({s.r() / W1, s.g() / W1, s.b() / W1}, {e.r() / W1, e.g() / W1, e.b() / W1});
        r.r() = c.r * W1;
        r.g() = c.g * W1;
        r.b() = c.b * W1;
    } else if constexpr (M == kCompositeEffect || M == kCompositeSource) {
        // Premultiplied "over": the top layer plus what its alpha lets through.
        const W& top = M == kCompositeEffect ? e : s;
        const W& under = M == kCompositeEffect ? s : e;
        for (int c : {W::kRed, W::kGreen, W::kBlue})
            r[c] = under[c] * (W1 - top.a()) * k1 + top[c];
        r.a() = top.a() + under.a() - under.a() * top.a() * k1;
    } else if constexpr (M == kSourceOverStraight || M == kEffectOverStraight) {
        const W& top = M == kSourceOverStraight ? s : e;
        const W& under = M == kSourceOverStraight ? e : s;
        for (int c : {W::kRed, W::kGreen, W::kBlue})
            r[c] = (top[c] - under[c]) * top.a() * k1 + under[c];
        r.a() = top.a() + under.a() - under.a() * top.a() * k1;
    }
    return r;
}

}  // namespace Quarn::Blend
