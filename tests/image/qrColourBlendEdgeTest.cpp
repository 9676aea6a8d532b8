// The places where a blend formula switches branch or guards a division, and
// the gain, premultiplication, unpremultiplication, clamp and store steps
// around the formula.
#include "qrColourBlend.h"
#include "qrPixel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Quarn::Pixel;
namespace Blend = Quarn::Blend;

// A working pixel of depth W from normalised (0..1) alpha, red, green, blue.
template <class W> W pixel(float a, float r, float g, float b)
{
    const float white = float(W::Desc::kWhite);
    return W {{a * white, r * white, g * white, b * white}};
}

// The red channel of the blend of two grey-ish pixels, normalised.
template <class W> float blendRed(int32_t method, float s, float e, bool clamp = false)
{
    W result {};
    Blend::blendPixel(result, pixel<W>(1, s, 0, 0), pixel<W>(1, e, 0, 0), method, 0.5f, clamp);
    return result.r() / float(W::Desc::kWhite);
}

struct BranchCase {
    const char* what;
    int32_t method;
    float s, e;
    float expected;  // normalised
};

// At a branch point the value comes from the formula that applies there;
// beside it, from the branch on that side.
const BranchCase kBranches[] = {
    {"Overlay at s = half gives e", Blend::kOverlay, 0.5f, 0.3f, 0.3f},
    {"Overlay below half is 2se", Blend::kOverlay, 0.25f, 0.5f, 0.25f},
    {"Overlay above half is screen-like", Blend::kOverlay, 0.75f, 0.5f, 0.75f},
    {"HardLight at e = half gives s", Blend::kHardLight, 0.7f, 0.5f, 0.7f},
    {"HardLight below half is 2se", Blend::kHardLight, 0.5f, 0.25f, 0.25f},
    {"SoftLight at e = half gives s", Blend::kSoftLight, 0.36f, 0.5f, 0.36f},
    {"SoftLight below half", Blend::kSoftLight, 0.25f, 0.25f, 0.15625f},
    {"SoftLight above half uses the root", Blend::kSoftLight, 0.25f, 0.75f, 0.375f},
    {"LinearLight at e = half gives s", Blend::kLinearLight, 0.2f, 0.5f, 0.2f},
    {"LinearLight below half floors at 0", Blend::kLinearLight, 0.1f, 0.4f, 0.0f},
    {"LinearLight above half is unclamped", Blend::kLinearLight, 0.9f, 0.75f, 1.4f},
    {"ColourBurn with e = 0 is 0", Blend::kColourBurn, 0.9f, 0.0f, 0.0f},
    {"ColourBurn floors at 0", Blend::kColourBurn, 0.2f, 0.5f, 0.0f},
    {"ColourBurn divides the inverse by e", Blend::kColourBurn, 0.75f, 0.5f, 0.5f},
    {"ColourDodge with e = 1 is 1", Blend::kColourDodge, 0.0f, 1.0f, 1.0f},
    {"ColourDodge may exceed white", Blend::kColourDodge, 0.75f, 0.5f, 1.5f},
    {"Subtract Source floors at 0", Blend::kSubtractSource, 0.6f, 0.5f, 0.0f},
    {"Subtract Effect floors at 0", Blend::kSubtractEffect, 0.5f, 0.6f, 0.0f},
    {"LinearBurn floors at 0", Blend::kLinearBurn, 0.25f, 0.5f, 0.0f},
};

template <class W> void checkBranches(const char* depth)
{
    for (const BranchCase& c : kBranches)
        EXPECT_NEAR(blendRed<W>(c.method, c.s, c.e), c.expected, 1e-5f) << depth << ": " << c.what;
}

TEST(ColourBlendBranches, BranchPointsGiveTheirFormulaAtEveryScale)
{
    checkBranches<ARGBW255>("8-bit");
    checkBranches<ARGBW32768>("16-bit");
    checkBranches<ARGBWF>("float");
}

TEST(ColourBlendBranches, LinearLightAtHalfKeepsANegativeSource)
{
    // Only the e < half branch floors at 0; at exactly half s passes through.
    EXPECT_FLOAT_EQ(blendRed<ARGBWF>(Blend::kLinearLight, -0.2f, 0.5f), -0.2f);
    EXPECT_FLOAT_EQ(blendRed<ARGBWF>(Blend::kLinearLight, -0.2f, 0.49f), 0.0f);
}

TEST(ColourBlendBranches, ColourDodgeBeyondWhiteIsClampedOnlyByIntegerStores)
{
    Blend::Settings settings;
    settings.method = Blend::kColourDodge;
    const auto dodge = [&](auto s, auto e) { return Blend::blendStep(s, e, settings); };
    EXPECT_EQ(
        convert<ARGB8>(dodge(pixel<ARGBW255>(1, 0.75f, 0, 0), pixel<ARGBW255>(1, 0.5f, 0, 0))).r(), 255);
    EXPECT_EQ(convert<ARGB16>(dodge(pixel<ARGBW32768>(1, 0.75f, 0, 0), pixel<ARGBW32768>(1, 0.5f, 0, 0))).r(),
        32768);
    EXPECT_FLOAT_EQ(
        convert<ARGBF>(dodge(pixel<ARGBWF>(1, 0.75f, 0, 0), pixel<ARGBWF>(1, 0.5f, 0, 0))).r(), 1.5f);
}

TEST(ColourBlendBranches, HueOfABlackEffectIsAGreyOfTheSourceLightness)
{
    ARGBWF result {};
    const ARGBWF source = pixel<ARGBWF>(1, 0.8f, 0.2f, 0.2f);  // lightness 0.5
    Blend::blendPixel(result, source, pixel<ARGBWF>(1, 0, 0, 0), Blend::kHue, 0.5f, false);
    EXPECT_FLOAT_EQ(result.r(), 0.5f);
    EXPECT_FLOAT_EQ(result.g(), 0.5f);
    EXPECT_FLOAT_EQ(result.b(), 0.5f);
}

struct StepCase {
    const char* what;
    Blend::Settings settings;
    ARGBWF source, effect;
    ARGBWF expected;
};

Blend::Settings settingsOf(int32_t method, float sourceGain, float effectGain, float mix,
    int32_t premultiplySource, int32_t premultiplyEffect, int32_t unpremultiply, bool clamp)
{
    return {method, sourceGain, effectGain, mix, premultiplySource, premultiplyEffect, unpremultiply, clamp};
}

// Float depth, so the expected values are exact fractions without a store.
const StepCase kSteps[] = {
    {"mix 0 is the gained source, alpha kept", settingsOf(Blend::kMultiply, 2, 1, 0, 0, 0, 0, false),
        {{0.5f, 0.1f, 0.2f, 0.3f}}, {{1, 1, 1, 1}}, {{0.5f, 0.2f, 0.4f, 0.6f}}},
    {"mix 1 is the gained effect, alpha kept", settingsOf(Blend::kMultiply, 1, 0.5f, 1, 0, 0, 0, false),
        {{1, 1, 1, 1}}, {{0.25f, 0.4f, 0.6f, 0.8f}}, {{0.25f, 0.2f, 0.3f, 0.4f}}},
    {"mix 0.25 is halfway from source to blend", settingsOf(Blend::kAdd, 1, 1, 0.25f, 0, 0, 0, false),
        {{1, 0.2f, 0.2f, 0.2f}}, {{1, 0.4f, 0.4f, 0.4f}}, {{1, 0.4f, 0.4f, 0.4f}}},
    {"mix 0.75 is halfway from blend to effect", settingsOf(Blend::kAdd, 1, 1, 0.75f, 0, 0, 0, false),
        {{1, 0.2f, 0.2f, 0.2f}}, {{1, 0.4f, 0.4f, 0.4f}}, {{1, 0.5f, 0.5f, 0.5f}}},
    {"premultiplied source with alpha 0 has no colour whatever the gain",
        settingsOf(Blend::kAdd, 3, 1, 0, 1, 0, 0, false), {{0, 0.5f, 0.6f, 0.7f}}, {{1, 1, 1, 1}},
        {{0, 0, 0, 0}}},
    {"premultiplied source is scaled by its alpha", settingsOf(Blend::kAdd, 1, 1, 0, 1, 0, 0, false),
        {{0.5f, 0.8f, 0.4f, 0.2f}}, {{1, 1, 1, 1}}, {{0.5f, 0.4f, 0.2f, 0.1f}}},
    {"premultiplied effect is scaled by its alpha", settingsOf(Blend::kAdd, 1, 1, 1, 0, 1, 0, false),
        {{1, 1, 1, 1}}, {{0.25f, 0.8f, 0.4f, 0.2f}}, {{0.25f, 0.2f, 0.1f, 0.05f}}},
    {"premultiply then unpremultiply gives the colour back", settingsOf(Blend::kAdd, 1, 1, 0, 1, 0, 1, false),
        {{0.5f, 0.8f, 0.4f, 0.2f}}, {{1, 1, 1, 1}}, {{0.5f, 0.8f, 0.4f, 0.2f}}},
    {"unpremultiply leaves colour alone at the alpha threshold",
        settingsOf(Blend::kAdd, 1, 1, 0, 0, 0, 1, false), {{1.5259022e-5f, 0.3f, 0.2f, 0.1f}}, {{1, 1, 1, 1}},
        {{1.5259022e-5f, 0.3f, 0.2f, 0.1f}}},
    {"unpremultiply divides by alpha", settingsOf(Blend::kAdd, 1, 1, 0, 0, 0, 1, false),
        {{0.5f, 0.3f, 0.2f, 0.1f}}, {{1, 1, 1, 1}}, {{0.5f, 0.6f, 0.4f, 0.2f}}},
    {"unclamped float inputs go into the formula", settingsOf(Blend::kMultiply, 1, 1, 0.5f, 0, 0, 0, false),
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.25f, 0.75f, -0.25f, 1.0f}}},
    {"clamped inputs go into the formula", settingsOf(Blend::kMultiply, 1, 1, 0.5f, 0, 0, 0, true),
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.0f, 0.5f, 0.0f, 0.5f}}},
    {"the mix uses the unclamped source", settingsOf(Blend::kMultiply, 1, 1, 0, 0, 0, 0, true),
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.5f, 1.5f, -0.5f, 0.5f}}},
    {"gains apply before the clamp", settingsOf(Blend::kScreen, 4, 1, 0.5f, 0, 0, 0, true),
        {{1, 0.5f, 0.1f, 0}}, {{1, 0, 0, 0.5f}}, {{1, 1, 0.4f, 0.5f}}},
};

TEST(ColourBlendSteps, GainPremultiplyMixUnpremultiplyAndClampInOrder)
{
    for (const StepCase& c : kSteps) {
        const ARGBWF o = Blend::blendStep(c.source, c.effect, c.settings);
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_NEAR(o[ch], c.expected[ch], 1e-6f) << c.what << ", channel " << ch;
    }
}

TEST(ColourBlendSteps, EightBitStoresTruncateAndClamp)
{
    Blend::Settings settings;
    settings.method = Blend::kAdd;
    settings.mix = 1.0f;
    settings.effectGain = 254.9f / 254.0f;  // 254 becomes 254.9
    const ARGBW255 source {{255, 10, 10, 10}}, effect {{255, 254, 100, 0}};
    const ARGB8 high = convert<ARGB8>(Blend::blendStep(source, effect, settings));
    EXPECT_EQ(high.r(), 254) << "254.9 must truncate, not round";

    settings.mix = 0.0f;
    settings.sourceGain = -1.0f;
    const ARGB8 low = convert<ARGB8>(Blend::blendStep(source, effect, settings));
    EXPECT_EQ(low.r(), 0) << "negative results store as 0";
    EXPECT_EQ(low.a(), 255) << "gain must not touch alpha";
}

}  // namespace
