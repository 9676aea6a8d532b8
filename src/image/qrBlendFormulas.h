#pragma once
// The blend formulas, one per method code, on working pixels of any depth.
// Values run from 0 to the depth's white (255, 32768 or 1): every constant 1
// of the textbook formulas is white, every 0.5 is half of white, and every
// product of two channel values is divided by white once. Integer stores
// truncate, so the order of the operations is chosen to keep exact results
// exact: a product is divided by white, never multiplied by a rounded
// reciprocal, and a division comes last where it can, so that an integer in
// exact arithmetic is the float result too.
#include "qrBlendHsl.h"
#include "qrBlendMethod.h"

#include <cmath>

namespace Quarn::Blend {

// The constants of a working pixel type's scale.
template <class W> struct Scale {
    static constexpr float kWhite = float(W::Desc::kWhite);
    static constexpr float kHalf = float(W::Desc::kWhite / 2.0);
    static constexpr double kInvWhite = 1.0 / double(W::Desc::kWhite);
    // White is a power of two (16-bit, float): dividing by it is exact, so
    // float arithmetic rounds only where double would.
    static constexpr bool kPowerOfTwo = [] {
        const auto w = static_cast<long long>(W::Desc::kWhite);
        return double(w) == W::Desc::kWhite && w > 0 && (w & (w - 1)) == 0;
    }();
};

// x·y / white with a single rounding to float: the product of two floats is
// exact in double, and the double quotient (x·y times 1/white in double) is
// within 2^-52 of the exact one, so the float result is the exact quotient
// rounded, and exactly the integer wherever the exact quotient is one. (A
// float multiplication by a rounded 1/white is not: 255·255 became 254.99998.)
template <class Sc> inline float product(float a, float b)
{
    if constexpr (Sc::kPowerOfTwo)
        return a * b * float(Sc::kInvWhite);
    else
        return float(double(a) * double(b) * Sc::kInvWhite);
}

// s "screened" by e, s + e - s·e, written as s + e·(white - s) so that a
// white e gives white and a black e gives s, whatever s.
template <class Sc> inline float screen(float s, float e)
{
    return s + product<Sc>(e, Sc::kWhite - s);
}

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
        return screen<Sc>(s, e);
    } else if constexpr (M == kMultiply) {
        return product<Sc>(s, e);
    } else if constexpr (M == kOverlay) {
        if (s < H)
            return product<Sc>(2.0f * s, e);
        if (s > H)
            return W - product<Sc>(2.0f * (W - s), W - e);
        return e;
    } else if constexpr (M == kExclusion) {
        return s + e - product<Sc>(2.0f * s, e);
    } else if constexpr (M == kColourBurn) {
        if (e == 0.0f)
            return 0.0f;
        const float v = W - (W - s) * W / e;
        return v <= 0.0f ? 0.0f : v;
    } else if constexpr (M == kColourDodge) {
        return e == W ? W : s * W / (W - e);
    } else if constexpr (M == kHardLight) {
        // At e = half both branches are s; said outright, as the rounding of
        // a non-integer s through the product need not give s back.
        if (e == H)
            return s;
        return e < H ? product<Sc>(2.0f * s, e) : W - product<Sc>(2.0f * (W - s), W - e);
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
            return product<Sc>(2.0f * s, e) + product<Sc>(W - 2.0f * e, product<Sc>(s, s));
        if (e == H)
            return s;
        return product<Sc>(2.0f * s, W - e) + (2.0f * e - W) * std::sqrt(s / W);
    } else {
        static_assert(!isChannelMethod(M), "channel method without a formula");
        return s;
    }
}

// The colour of an HSL method, on colours of the depth's scale.
template <int32_t M> inline Rgb blendHsl(const Rgb& s, const Rgb& e, float white)
{
    const Hsl hs = rgbToHsl(s, white), he = rgbToHsl(e, white);
    if constexpr (M == kColour)
        return hslToRgb({he.h, he.s, hs.l}, white);
    else if constexpr (M == kLuminosity)
        return hslToRgb({hs.h, hs.s, he.l}, white);
    else if constexpr (M == kHue)
        return hslToRgb({he.h, he.l == 0.0f ? 0.0f : hs.s, hs.l}, white);
    else
        return hslToRgb({hs.h, he.s, hs.l}, white);
}

// r = blend of source s and effect e by method M; s is returned unchanged for
// kNone. mix is used by kMix only.
template <int32_t M, class W> inline W blendAs(const W& s, const W& e, float mix)
{
    using Sc = Scale<W>;
    W r = s;
    if constexpr (isChannelMethod(M) || isHslMethod(M))
        r.a() = screen<Sc>(s.a(), e.a());
    if constexpr (isChannelMethod(M)) {
        r.r() = blendChannel<M, Sc>(s.r(), e.r(), mix);
        r.g() = blendChannel<M, Sc>(s.g(), e.g(), mix);
        r.b() = blendChannel<M, Sc>(s.b(), e.b(), mix);
    } else if constexpr (isHslMethod(M)) {
        const Rgb c = blendHsl<M>({s.r(), s.g(), s.b()}, {e.r(), e.g(), e.b()}, Sc::kWhite);
        r.r() = c.r;
        r.g() = c.g;
        r.b() = c.b;
    } else if constexpr (M == kCompositeEffect || M == kCompositeSource) {
        // Premultiplied "over": the top layer plus what its alpha lets through.
        const W& top = M == kCompositeEffect ? e : s;
        const W& under = M == kCompositeEffect ? s : e;
        for (int c : {W::kRed, W::kGreen, W::kBlue})
            r[c] = product<Sc>(under[c], Sc::kWhite - top.a()) + top[c];
        r.a() = screen<Sc>(top.a(), under.a());
    } else if constexpr (M == kSourceOverStraight || M == kEffectOverStraight) {
        const W& top = M == kSourceOverStraight ? s : e;
        const W& under = M == kSourceOverStraight ? e : s;
        for (int c : {W::kRed, W::kGreen, W::kBlue})
            r[c] = product<Sc>(top[c] - under[c], top.a()) + under[c];
        r.a() = screen<Sc>(top.a(), under.a());
    }
    return r;
}

}  // namespace Quarn::Blend
