#pragma once
// Blend method codes and the dispatch that turns a run-time code into a
// compile-time one, so that a processor picks its formula once per band and
// the pixel loop carries no switch.
#include <cstdint>
#include <type_traits>
#include <utility>

namespace Quarn::Blend {

// The codes stored in the blend processor (the "Method" menu maps onto them).
enum Method : int32_t {
    kNone = 0,
    kColour = 1,
    kColourBurn = 2,
    kColourDodge = 3,
    kDarken = 4,
    kDifference = 5,
    kExclusion = 6,
    kHardLight = 7,
    kHue = 8,
    kLighten = 9,
    kLinearBurn = 10,
    kLinearDodge = 11,
    kLinearLight = 12,
    kLuminosity = 13,
    kMultiply = 14,
    kOverlay = 15,
    kSaturation = 16,
    kScreen = 17,
    kSoftLight = 18,
    kMix = 19,
    kSubtractEffect = 20,
    kSubtractSource = 21,
    kAdd = 22,
    kSourceOverStraight = 23,
    kEffectOverStraight = 24,
    kCompositeSource = 25,
    kCompositeEffect = 26,
};

constexpr int32_t kMethodCount = 27;

template <int32_t M> using MethodConstant = std::integral_constant<int32_t, M>;

namespace Detail {
template <class F, int32_t... M> void dispatch(int32_t method, F& f, std::integer_sequence<int32_t, M...>)
{
    const bool known = ((method == M && (f(MethodConstant<M> {}), true)) || ...);
    if (!known)
        f(MethodConstant<kNone> {});
}
}  // namespace Detail

// Calls f(MethodConstant<code>{}); codes outside 0..26 behave as kNone.
template <class F> void withMethod(int32_t method, F&& f)
{
    Detail::dispatch(method, f, std::make_integer_sequence<int32_t, kMethodCount> {});
}

}  // namespace Quarn::Blend
