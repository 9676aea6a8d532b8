// The integer depths against exact arithmetic: every blend method over every
// 8-bit (source, effect) pair and over a dense 16-bit sample, with the
// premultiplied and the straight alpha path. Wherever the exact value (the
// textbook formula in double, scaled by white) is an integer, the stored
// value must be that integer; elsewhere it must be the exact value truncated.
// Only exact values within float rounding of an integer may land on either
// side; they are counted and printed.
#include "qrBlendReference.h"
#include "qrColourBlend.h"
#include "qrPixel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace Quarn::Pixel;
using namespace BlendReference;
namespace Blend = Quarn::Blend;

// How many checked values the exact arithmetic says and what went wrong.
struct Tally {
    long checked = 0;
    long nearBoundary = 0;
    long wrong = 0;
    std::string firstWrong;

    // `exact` on the depth's scale; `stored` what the store conversion kept.
    // False when the stored value is wrong.
    bool add(double exact, double stored, double white)
    {
        ++checked;
        const double v = std::clamp(exact, 0.0, white);
        const double nearest = std::round(v);
        const double expected = std::abs(v - nearest) < 1e-9 ? nearest : std::trunc(v);
        if (stored == expected)
            return true;
        // A few float ulps of white: the working arithmetic cannot tell an
        // exact value this close to an integer from the integer itself.
        const double floatSlack = 4.0 * white * std::ldexp(1.0, -23);
        if (std::abs(v - nearest) <= floatSlack && std::abs(stored - nearest) <= 1.0) {
            ++nearBoundary;
            return true;
        }
        ++wrong;
        return false;
    }
};

enum class AlphaPath { straight, premultiplied };

// The blend step as the pipeline runs it (premultiplied: both inputs
// premultiplied, the result unpremultiplied) or straight, in exact
// arithmetic, on the depth's scale.
Ref exactStep(int method, Ref s, Ref e, double mix, double white, AlphaPath path)
{
    Ref sn, en;
    for (size_t c = 0; c < 4; ++c) {
        const bool scaled = path == AlphaPath::premultiplied && c > 0;
        sn[c] = (scaled ? s[c] * s[0] / white : s[c]) / white;
        en[c] = (scaled ? e[c] * e[0] / white : e[c]) / white;
    }
    Ref o = referenceMix(sn, referenceBlend(method, sn, en, mix), en, mix);
    for (size_t c = 0; c < 4; ++c)
        o[c] *= white;
    if (path == AlphaPath::premultiplied && o[0] > double(Blend::kUnpremultiplyThreshold))
        for (size_t c = 1; c < 4; ++c)
            o[c] = o[c] * white / o[0];
    return o;
}

// Blends the pair of pixels at depth S both ways and tallies every channel.
template <class S>
void checkPair(Tally& tally, int method, float mix, const Ref& s, const Ref& e, AlphaPath path)
{
    using W = Work<S>;
    const double white = S::Desc::kWhite;
    const int32_t on = path == AlphaPath::premultiplied ? 1 : 0;
    const Blend::Settings settings {method, 1.0f, 1.0f, mix, on, on, on, false};
    W sw, ew;
    for (int c = 0; c < 4; ++c) {
        sw[c] = float(s[size_t(c)]);
        ew[c] = float(e[size_t(c)]);
    }
    const S stored = convert<S>(Blend::blendStep(sw, ew, settings));
    const Ref exact = exactStep(method, s, e, mix, white, path);
    for (int c = 0; c < 4; ++c)
        if (!tally.add(exact[size_t(c)], double(stored[c]), white) && tally.firstWrong.empty())
            tally.firstWrong = "method " + std::to_string(method) + " mix " + std::to_string(mix) +
                " channel " + std::to_string(c) + " source " + std::to_string(s[size_t(c)]) + " effect " +
                std::to_string(e[size_t(c)]) + ": stored " + std::to_string(double(stored[c])) + ", exact " +
                std::to_string(exact[size_t(c)]);
}

// Every (s, e) of `values`, laid out so that one pixel pair tries (s, e) in
// red, (e, s) in green, (white - e, s) in blue and, on the straight path,
// the alpha formula on (s, e); the premultiplied path keeps both opaque.
template <class S>
Tally tallyMethod(int method, float mix, const std::vector<double>& values, AlphaPath path)
{
    const double white = S::Desc::kWhite;
    Tally tally;
    for (double s : values)
        for (double e : values) {
            const bool opaque = path == AlphaPath::premultiplied;
            const Ref source {opaque ? white : s, s, e, white - e};
            const Ref effect {opaque ? white : e, e, s, s};
            checkPair<S>(tally, method, mix, source, effect, path);
        }
    return tally;
}

std::vector<double> every8BitValue()
{
    std::vector<double> values;
    for (int v = 0; v <= 255; ++v)
        values.push_back(v);
    return values;
}

// Both ends, both sides of half and a spread of values between.
std::vector<double> dense16BitSample()
{
    std::vector<double> values = {0, 1, 2, 16383, 16384, 16385, 32766, 32767, 32768};
    for (int v = 7; v < 32768; v += 211)
        values.push_back(v);
    return values;
}

const float kMixes[] = {0.0f, 0.3f, 0.7f, 1.0f};

// The mix step is shared by every method, so the mixes other than the blend
// itself (0.5) are tried on the methods whose formula passes values through.
const int kMixedMethods[] = {Blend::kMix, Blend::kDarken, Blend::kLighten, Blend::kScreen};

template <class S> void checkEveryMethod(const char* depth, const std::vector<double>& values, AlphaPath path)
{
    const char* pathName = path == AlphaPath::straight ? "straight" : "premultiplied";
    long nearBoundary = 0;
    auto run = [&](int method, float mix) {
        const Tally t = tallyMethod<S>(method, mix, values, path);
        EXPECT_EQ(t.wrong, 0) << depth << " " << pathName << ", first: " << t.firstWrong;
        nearBoundary += t.nearBoundary;
    };
    for (int method = 1; method < Blend::kMethodCount; ++method)
        run(method, 0.5f);
    for (int method : kMixedMethods)
        for (float mix : kMixes)
            run(method, mix);
    std::printf("%s %s: %ld values within float rounding of an integer\n", depth, pathName, nearBoundary);
}

TEST(ColourBlendExact, Every8BitPairStraight)
{
    checkEveryMethod<ARGB8>("8-bit", every8BitValue(), AlphaPath::straight);
}

TEST(ColourBlendExact, Every8BitPairPremultiplied)
{
    checkEveryMethod<ARGB8>("8-bit", every8BitValue(), AlphaPath::premultiplied);
}

TEST(ColourBlendExact, Dense16BitSampleStraight)
{
    checkEveryMethod<ARGB16>("16-bit", dense16BitSample(), AlphaPath::straight);
}

TEST(ColourBlendExact, Dense16BitSamplePremultiplied)
{
    checkEveryMethod<ARGB16>("16-bit", dense16BitSample(), AlphaPath::premultiplied);
}

// A white, opaque effect screened over a translucent source is white, and so
// is its alpha, however the source was premultiplied.
template <class S> void checkScreenWithWhite(const std::vector<double>& values)
{
    const double white = S::Desc::kWhite;
    Tally tally;
    for (double colour : values)
        for (double alpha : values)
            checkPair<S>(tally, Blend::kScreen, 0.5f, {alpha, colour, colour, colour},
                {white, white, white, white}, AlphaPath::premultiplied);
    EXPECT_EQ(tally.wrong + tally.nearBoundary, 0) << tally.firstWrong;
}

TEST(ColourBlendExact, ScreenWithWhiteIsWhiteOverATranslucentSource)
{
    checkScreenWithWhite<ARGB8>(every8BitValue());
    checkScreenWithWhite<ARGB16>(dense16BitSample());
}

// Blend 0 and 100 % give the source and the effect bit for bit, even where
// the blend result is far larger than either (Add of a bright, translucent
// effect), at every depth's scale.
template <class S> void checkMixEnds(const std::vector<double>& values)
{
    using W = Work<S>;
    const float white = float(S::Desc::kWhite);
    for (double colour : values)
        for (double alpha : values) {
            const W source {{float(alpha), float(colour), white - float(colour), white}};
            const W effect {{white - float(alpha), float(colour) / 3.0f, float(colour), white / 7.0f}};
            for (const int method : {Blend::kAdd, Blend::kScreen, Blend::kColourDodge}) {
                const W atSource = Blend::blendStep(source, effect, {method, 1.0f, 1.0f, 0.0f, 0, 0, 0, false});
                const W atEffect = Blend::blendStep(source, effect, {method, 1.0f, 1.0f, 1.0f, 0, 0, 0, false});
                for (int c = 0; c < 4; ++c) {
                    ASSERT_EQ(atSource[c], source[c]) << "mix 0, method " << method << " channel " << c;
                    ASSERT_EQ(atEffect[c], effect[c]) << "mix 1, method " << method << " channel " << c;
                }
            }
        }
}

TEST(ColourBlendExact, MixZeroAndOneAreTheSourceAndTheEffectExactly)
{
    checkMixEnds<ARGB8>(every8BitValue());
    checkMixEnds<ARGB16>(dense16BitSample());
}

}  // namespace
