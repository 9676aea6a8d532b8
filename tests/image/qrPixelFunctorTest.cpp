// The pixel functors, run through their processors at 8-bit, 16-bit and
// float, against expected pixels written as fractions of white.
#include "qrFunctorProc.h"
#include "qrPixelFunctor.h"
#include "qrTestImage.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace Quarn::Pixel;
namespace PF = Quarn::PixelFunctor;
using Quarn::Processor::Functor1;
using Quarn::Processor::Functor2;

namespace {

// Pixels as fractions of white: alpha, red, green, blue.
using Fracs = std::vector<std::array<float, 4>>;

// A one-row image of the given pixels.
template <class P> QrTexture<P> imageOf(const Fracs& pixels)
{
    return imageFrom<P>(int32_t(pixels.size()), 1, [&](int32_t i, int32_t) {
        Work<P> w;
        for (int c = 0; c < 4; ++c)
            w[c] = pixels[size_t(i)][size_t(c)] * float(Work<P>::kWhite);
        return convert<P>(w);
    });
}

template <class P> Work<P> at(const QrTexture<P>& t, int32_t i)
{
    return convert<Work<P>>(*t.pixelAtIndex(i, 0));
}

// Each pixel of t is the expected one as its depth stores it: exactly, or
// where the functor multiplies or divides, within one step of an integer
// depth's rounding.
template <class P> void expectImage(const QrTexture<P>& t, const Fracs& expected, bool multiplies)
{
    const QrTexture<P> want = imageOf<P>(expected);
    const float tolerance = multiplies ? (P::kInteger ? 1.0f : 1e-6f) : 0.0f;
    for (int32_t i = 0; i < t.width(); ++i)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(at(t, i)[c], at(want, i)[c], tolerance) << "pixel " << i << " channel " << c;
}

// Runs a one-image functor over `in`.
template <class P, class F> void expectFunctor(const F& f, const Fracs& in, const Fracs& out, bool multiplies)
{
    QrTexture<P> t = imageOf<P>(in);
    Functor1<P, F>(f).process(t);
    expectImage(t, out, multiplies);
}

// Runs a two-image functor over the output `in` with the second image `second`.
template <class P, class F>
void expectFunctor2(const F& f, const Fracs& in, const Fracs& second, const Fracs& out, bool multiplies)
{
    QrTexture<P> t = imageOf<P>(in);
    Functor2<P, P, F>(f).process(imageOf<P>(second), t);
    expectImage(t, out, multiplies);
}

template <class P> class FunctorDepth : public ::testing::Test {
};
using Depths = ::testing::Types<ARGB8, ARGB16, ARGBF>;
TYPED_TEST_SUITE(FunctorDepth, Depths);

TYPED_TEST(FunctorDepth, OneImageFunctors)
{
    using P = TypeParam;
    const float white = float(Work<P>::kWhite);
    // ClampChannel clamps its channel only (alpha, red, green, blue) to 0.2..0.8.
    const Fracs in = {{1, 0.9f, 0.1f, 0.95f}, {0.05f, 0, 1, 0.1f}};
    const Fracs clamped[4] = {{{0.8f, 0.9f, 0.1f, 0.95f}, {0.2f, 0, 1, 0.1f}},
        {{1, 0.8f, 0.1f, 0.95f}, {0.05f, 0.2f, 1, 0.1f}}, {{1, 0.9f, 0.2f, 0.95f}, {0.05f, 0, 0.8f, 0.1f}},
        {{1, 0.9f, 0.1f, 0.8f}, {0.05f, 0, 1, 0.2f}}};
    for (int32_t channel = 0; channel < 4; ++channel)
        expectFunctor<P>(PF::ClampChannel {0.2f * white, 0.8f * white, channel}, in, clamped[channel], false);
    // Transparent pixels lose their colour; alpha itself is kept.
    expectFunctor<P>(PF::MultiplyByAlpha(),
        {{1, 0.6f, 0.2f, 1}, {0, 0.7f, 0.4f, 0.1f}, {0.5f, 0.5f, 0.25f, 0}},
        {{1, 0.6f, 0.2f, 1}, {0, 0, 0, 0}, {0.5f, 0.25f, 0.125f, 0}}, true);
    // No division by a zero alpha.
    expectFunctor<P>(PF::UnMultiplyByAlpha(), {{0.5f, 0.25f, 0.125f, 0.5f}, {0, 0.3f, 0.2f, 0.1f}},
        {{0.5f, 0.5f, 0.25f, 1}, {0, 0.3f, 0.2f, 0.1f}}, true);
    expectFunctor<P>(PF::WhitePointAlpha(), {{0, 0.2f, 0.4f, 0.6f}, {0.5f, 1, 1, 1}},
        {{1, 0.2f, 0.4f, 0.6f}, {1, 1, 1, 1}}, false);
}

TYPED_TEST(FunctorDepth, TwoImageFunctorsTakeTheRightChannels)
{
    using P = TypeParam;
    const Fracs out = {{0.25f, 0.1f, 0.2f, 0.3f}, {0.25f, 0.1f, 0.2f, 0.3f}};
    const Fracs second = {{0.5f, 0.9f, 0.8f, 0.7f}, {0, 0.6f, 0.5f, 0.4f}};
    expectFunctor2<P>(PF::CopyAlpha(), out, second, {{0.5f, 0.1f, 0.2f, 0.3f}, {0, 0.1f, 0.2f, 0.3f}}, false);
    expectFunctor2<P>(
        PF::CopyRGB(), out, second, {{0.25f, 0.9f, 0.8f, 0.7f}, {0.25f, 0.6f, 0.5f, 0.4f}}, false);
    expectFunctor2<P>(PF::BlankTransparentAlpha(), out, second, {second[0], {0, 0, 0, 0}}, false);
    expectFunctor2<P>(PF::MultiplyByAlpha(), out, second, {{0.5f, 0.45f, 0.4f, 0.35f}, {0, 0, 0, 0}}, true);
}

TEST(FunctorThreshold, UnMultiplyLeavesPixelsAtOrBelowTheThreshold)
{
    const float t = 1.5259022e-5f;
    auto image = imageOf<ARGBF>({{t, 1e-6f, 0.5f, 0.0f}, {2 * t, 2e-6f, 1e-6f, 0.0f}});
    Functor1<ARGBF, PF::UnMultiplyByAlpha>().process(image);
    EXPECT_EQ(at(image, 0), (ARGBWF {{t, 1e-6f, 0.5f, 0.0f}}));
    EXPECT_NEAR(at(image, 1).r(), 2e-6f / (2 * t), 1e-6f);
}

TEST(FunctorEdges, SecondImageOutsideItsCropGivesTheEdgeColour)
{
    auto out = imageFrom<ARGB8>(6, 1, [](int32_t, int32_t) { return ARGB8 {{10, 20, 30, 40}}; });
    auto src = imageFrom<ARGB8>(6, 1, [](int32_t, int32_t) { return ARGB8 {{200, 1, 2, 3}}; });
    src.setCrop(0, 2, 0, 0);
    src.setEdgeColour(ARGB8 {{77, 0, 0, 0}});
    Functor2<ARGB8, ARGB8, PF::CopyAlpha>().process(src, out);
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_EQ(at(out, i).a(), i <= 2 ? 200.0f : 77.0f) << i;
}

// Threaded and unthreaded runs give the same bytes: each band is a pure
// function of its pixels.
TEST(FunctorThreads, ResultDoesNotDependOnTheThreadCount)
{
    QrMultiProcessor::overrideProcessorCount(4);
    std::vector<QrTexture<ARGB16>> results;
    for (const bool threaded : {false, true}) {
        results.push_back(imageFrom<ARGB16>(257, 131, [](int32_t i, int32_t j) {
            return ARGB16 {{uint16_t((i * 131 + j * 7) % 32769), uint16_t(i * 97 % 32769),
                uint16_t(j * 251 % 32769), uint16_t((i ^ j) * 13)}};
        }));
        Functor1<ARGB16, PF::UnMultiplyByAlpha> unmultiply;
        unmultiply.setMultiThreaded(threaded);
        unmultiply.process(results.back());
    }
    QrMultiProcessor::overrideProcessorCount(0);
    expectPixels(results[1], [&](int32_t i, int32_t j) { return *results[0].pixelAtIndex(i, j); });
}

}  // namespace
