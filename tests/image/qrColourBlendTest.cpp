// Every blend method at every depth and several mixes, against a reference
// written from the textbook formulas on normalised (0..1) values in double,
// compared after the depth's store conversion; then the places where a
// formula switches branch or guards a division, and the gain,
// premultiplication, mix, unpremultiplication and clamp steps around it;
// last the blend processor that applies the step over images.
#include "qrBlendReference.h"
#include "qrColourBlend.h"
#include "qrColourBlendProc.h"
#include "qrMultiProcessor.h"
#include "qrPixel.h"
#include "qrTestImage.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace Quarn::Pixel;
namespace Blend = Quarn::Blend;

using namespace BlendReference;

// The stored value must be what the exact value stores as, give or take the
// float rounding of the working arithmetic.
template <class S> void expectStored(const S& actual, const Ref& exact, const std::string& what)
{
    const double white = S::Desc::kWhite;
    for (int c = 0; c < 4; ++c) {
        const double v = exact[size_t(c)] * white;
        const double slack = 2e-5 * std::max(std::abs(v), white);
        const double got = double(actual[c]);
        if constexpr (S::kInteger) {
            auto store = [white](double x) { return std::trunc(std::clamp(x, 0.0, white)); };
            EXPECT_TRUE(got >= store(v - slack) && got <= store(v + slack))
                << what << " channel " << c << ": stored " << got << ", exact " << v;
        } else {
            EXPECT_NEAR(got, v, slack) << what << " channel " << c;
        }
    }
}

// Sample pairs in 8-bit units (alpha, red, green, blue): ends of the range,
// the middle, equal green and blue, and a spread of mixed values.
std::vector<std::pair<Ref, Ref>> samplePairs()
{
    std::vector<std::pair<Ref, Ref>> pairs = {
        {{255, 200, 100, 30}, {128, 60, 180, 250}},
        {{100, 0, 255, 128}, {255, 255, 0, 127}},
        {{0, 77, 77, 200}, {40, 10, 10, 10}},
        {{255, 255, 255, 255}, {255, 255, 0, 0}},
        {{30, 250, 3, 140}, {220, 254, 1, 96}},
        {{128, 128, 128, 128}, {0, 0, 0, 0}},
        {{255, 0, 0, 0}, {255, 90, 90, 90}},
        {{200, 12, 240, 12}, {17, 33, 64, 250}},
        {{255, 204, 51, 51}, {255, 0, 0, 0}},
    };
    uint32_t h = 12345;
    for (int i = 0; i < 24; ++i) {
        Ref s, e;
        for (size_t c = 0; c < 4; ++c) {
            h = h * 1664525u + 1013904223u;
            s[c] = double((h >> 8) % 256);
            h = h * 1664525u + 1013904223u;
            e[c] = double((h >> 8) % 256);
        }
        pairs.emplace_back(s, e);
    }
    return pairs;
}

template <class S> void checkEveryMethod()
{
    using W = Work<S>;
    const double white = S::Desc::kWhite;
    const float mixes[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    for (const auto& [s8, e8] : samplePairs()) {
        // The inputs as the depth holds them, and their exact normalised values.
        W s, e;
        Ref sn, en;
        for (int c = 0; c < 4; ++c) {
            s[c] = float(S::kInteger ? std::trunc(s8[size_t(c)] / 255 * white) : s8[size_t(c)] / 255);
            e[c] = float(S::kInteger ? std::trunc(e8[size_t(c)] / 255 * white) : e8[size_t(c)] / 255);
            sn[size_t(c)] = s[c] / white;
            en[size_t(c)] = e[c] / white;
        }
        for (int code = -1; code <= 27; ++code) {
            for (float mix : mixes) {
                const S stored = convert<S>(Blend::blendStep(s, e, Blend::Settings {code, 1, 1, mix}));
                const Ref exact = referenceMix(sn, referenceBlend(code, sn, en, mix), en, mix);
                expectStored(stored, exact,
                    "code " + std::to_string(code) + " mix " + std::to_string(mix) + " source " +
                        std::to_string(s8[1]) + " effect " + std::to_string(e8[1]));
            }
        }
    }
}

TEST(ColourBlendMethods, EveryCodeMatchesItsFormulaAtEveryDepth)
{
    checkEveryMethod<ARGB8>();
    checkEveryMethod<ARGB16>();
    checkEveryMethod<ARGBF>();
}

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

// At a branch point or a guarded division the value comes from the formula
// that applies there (the sample pairs above seldom land on one); beside
// it, from the branch on that side.
const BranchCase kBranches[] = {
    {"Overlay at s = half gives e", Blend::kOverlay, 0.5f, 0.3f, 0.3f},
    {"HardLight at e = half gives s", Blend::kHardLight, 0.7f, 0.5f, 0.7f},
    {"SoftLight at e = half gives s", Blend::kSoftLight, 0.36f, 0.5f, 0.36f},
    {"LinearLight at e = half gives s", Blend::kLinearLight, 0.2f, 0.5f, 0.2f},
    {"LinearLight at half keeps a negative s", Blend::kLinearLight, -0.2f, 0.5f, -0.2f},
    {"LinearLight just below half floors it", Blend::kLinearLight, -0.2f, 0.49f, 0.0f},
    {"ColourBurn with e = 0 is 0", Blend::kColourBurn, 0.9f, 0.0f, 0.0f},
    {"ColourDodge with e = 1 is 1", Blend::kColourDodge, 0.0f, 1.0f, 1.0f},
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

struct StepCase {
    const char* what;
    Blend::Settings settings;
    ARGBWF source, effect;
    ARGBWF expected;
};

// Float depth, so the expected values are exact fractions without a store.
const StepCase kSteps[] = {
    {"mix 0 is the gained source, alpha kept", {Blend::kMultiply, 2, 1, 0, 0, 0, 0, false},
        {{0.5f, 0.1f, 0.2f, 0.3f}}, {{1, 1, 1, 1}}, {{0.5f, 0.2f, 0.4f, 0.6f}}},
    {"mix 1 is the gained effect, alpha kept", {Blend::kMultiply, 1, 0.5f, 1, 0, 0, 0, false}, {{1, 1, 1, 1}},
        {{0.25f, 0.4f, 0.6f, 0.8f}}, {{0.25f, 0.2f, 0.3f, 0.4f}}},
    {"mix 0.25 is halfway from source to blend", {Blend::kAdd, 1, 1, 0.25f, 0, 0, 0, false},
        {{1, 0.2f, 0.2f, 0.2f}}, {{1, 0.4f, 0.4f, 0.4f}}, {{1, 0.4f, 0.4f, 0.4f}}},
    {"mix 0.75 is halfway from blend to effect", {Blend::kAdd, 1, 1, 0.75f, 0, 0, 0, false},
        {{1, 0.2f, 0.2f, 0.2f}}, {{1, 0.4f, 0.4f, 0.4f}}, {{1, 0.5f, 0.5f, 0.5f}}},
    {"premultiplied source with alpha 0 has no colour whatever the gain",
        {Blend::kAdd, 3, 1, 0, 1, 0, 0, false}, {{0, 0.5f, 0.6f, 0.7f}}, {{1, 1, 1, 1}}, {{0, 0, 0, 0}}},
    {"premultiplied source is scaled by its alpha", {Blend::kAdd, 1, 1, 0, 1, 0, 0, false},
        {{0.5f, 0.8f, 0.4f, 0.2f}}, {{1, 1, 1, 1}}, {{0.5f, 0.4f, 0.2f, 0.1f}}},
    {"premultiplied effect is scaled by its alpha", {Blend::kAdd, 1, 1, 1, 0, 1, 0, false}, {{1, 1, 1, 1}},
        {{0.25f, 0.8f, 0.4f, 0.2f}}, {{0.25f, 0.2f, 0.1f, 0.05f}}},
    {"premultiply then unpremultiply gives the colour back", {Blend::kAdd, 1, 1, 0, 1, 0, 1, false},
        {{0.5f, 0.8f, 0.4f, 0.2f}}, {{1, 1, 1, 1}}, {{0.5f, 0.8f, 0.4f, 0.2f}}},
    {"unpremultiply leaves colour alone at the alpha threshold", {Blend::kAdd, 1, 1, 0, 0, 0, 1, false},
        {{1.5259022e-5f, 0.3f, 0.2f, 0.1f}}, {{1, 1, 1, 1}}, {{1.5259022e-5f, 0.3f, 0.2f, 0.1f}}},
    {"unpremultiply divides by alpha", {Blend::kAdd, 1, 1, 0, 0, 0, 1, false}, {{0.5f, 0.3f, 0.2f, 0.1f}},
        {{1, 1, 1, 1}}, {{0.5f, 0.6f, 0.4f, 0.2f}}},
    {"unclamped float inputs go into the formula", {Blend::kMultiply, 1, 1, 0.5f, 0, 0, 0, false},
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.25f, 0.75f, -0.25f, 1.0f}}},
    {"clamped inputs go into the formula", {Blend::kMultiply, 1, 1, 0.5f, 0, 0, 0, true},
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.0f, 0.5f, 0.0f, 0.5f}}},
    {"the mix uses the unclamped source", {Blend::kMultiply, 1, 1, 0, 0, 0, 0, true},
        {{1.5f, 1.5f, -0.5f, 0.5f}}, {{0.5f, 0.5f, 0.5f, 2.0f}}, {{1.5f, 1.5f, -0.5f, 0.5f}}},
    {"gains apply before the clamp", {Blend::kScreen, 4, 1, 0.5f, 0, 0, 0, true}, {{1, 0.5f, 0.1f, 0}},
        {{1, 0, 0, 0.5f}}, {{1, 1, 0.4f, 0.5f}}},
};

TEST(ColourBlendSteps, GainPremultiplyMixUnpremultiplyAndClampInOrder)
{
    for (const StepCase& c : kSteps) {
        const ARGBWF o = Blend::blendStep(c.source, c.effect, c.settings);
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_NEAR(o[ch], c.expected[ch], 1e-6f) << c.what << ", channel " << ch;
    }
}

// A new image with values that depend on position and `salt`.
template <class S> QrTexture<S> patterned(int32_t w, int32_t h, uint32_t salt)
{
    return imageFrom<S>(w, h, [salt](int32_t i, int32_t j) {
        Work<S> p;
        for (int c = 0; c < 4; ++c) {
            uint32_t k =
                (uint32_t(i) * 73856093u) ^ (uint32_t(j) * 19349663u) ^ (uint32_t(c + 1) * 83492791u) ^ salt;
            k = (k ^ (k >> 13)) * 0x5bd1e995u;
            p[c] = float((k >> 8) % 1001) / 1000.0f * float(S::Desc::kWhite);
        }
        return convert<S>(p);
    });
}

// The blend processor, on one thread or four, writes inside its region (with
// inclusive corners) the step of each effect pixel with the source pixel that
// the source's origin, crop and per-axis edge methods put at that position,
// and nothing outside it.
template <class S> void checkBlendProc()
{
    using W = Work<S>;
    QrTexture<S> source = patterned<S>(13, 9, 7);
    source.setOrigin(int32_t(2), int32_t(1));
    source.setCrop(1, 10, 0, 6);
    source.setEdgeMethods(kEdgeReflect, kEdgeColour);
    source.setEdgeColour(convert<S>(W {{0.25f, 0.5f, 0.75f, 1.0f}} * float(S::Desc::kWhite)));
    QrMultiProcessor::overrideProcessorCount(4);
    for (int32_t method = 0; method <= 26; ++method)
        for (const bool threaded : {false, true}) {
            QrTexture<S> out = patterned<S>(19, 15, 99);
            const QrTexture<S> before = patterned<S>(19, 15, 99);
            QrColourBlendProc<S> blend(method, 1.5f, 0.75f, 0.4f);
            blend.setPremultiplySource(1);
            blend.setUnpremultiplyResult(1);
            blend.setClampInputs(true);
            blend.setMultiThreaded(threaded);
            blend.setRegion(1, 2, 17, 13);
            blend.process(source, out);
            const Blend::Settings settings {method, 1.5f, 0.75f, 0.4f, 1, 0, 1, true};
            for (int32_t y = 0; y < 15; ++y)
                for (int32_t x = 0; x < 19; ++x) {
                    const S& was = *before.pixelAtIndex(x, y);
                    const bool inside = x >= 1 && x <= 17 && y >= 2 && y <= 13;
                    const S expected = inside ? convert<S>(Blend::blendStep(convert<W>(source.pixelAt(x, y)),
                                                    convert<W>(was), settings))
                                              : was;
                    ASSERT_EQ(*out.pixelAtIndex(x, y), expected)
                        << "method " << method << " threaded " << threaded << " at " << x << "," << y;
                }
        }
    QrMultiProcessor::overrideProcessorCount(0);
}

TEST(ColourBlendProc, BlendsTheRegionWithTheEdgeAddressedSourceAtEveryDepth)
{
    checkBlendProc<ARGB8>();
    checkBlendProc<ARGB16>();
    checkBlendProc<ARGBF>();
}

}  // namespace
