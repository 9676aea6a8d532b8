// The pixel functors, run through their processors at 8-bit, 16-bit and
// float, against expectations computed here from the functor rules.
#include "qrFunctorProc.h"
#include "qrPixelFunctor.h"
#include "qrTestImage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Quarn::Pixel;
namespace PF = Quarn::PixelFunctor;
using Quarn::Processor::Functor1;
using Quarn::Processor::Functor2;

namespace {

template <class P> QrTexture<P> imageOf(const std::vector<Work<P>>& pixels)
{
    auto t = QrTexture<P>::allocate(int32_t(pixels.size()), 1);
    for (size_t k = 0; k < pixels.size(); ++k)
        *t.pixelAtIndex(int32_t(k), 0) = convert<P>(pixels[k]);
    return t;
}

template <class P> Work<P> at(const QrTexture<P>& t, int32_t i)
{
    return convert<Work<P>>(*t.pixelAtIndex(i, 0));
}

// Working-scale pixel from fractions of white (a, r, g, b).
template <class W> W frac(float a, float r, float g, float b)
{
    const float w = float(W::kWhite);
    W p;
    p.a() = a * w;
    p.r() = r * w;
    p.g() = g * w;
    p.b() = b * w;
    return p;
}

template <class P> class FunctorDepth : public ::testing::Test {
};
using Depths = ::testing::Types<ARGB8, ARGB16, ARGBF>;
TYPED_TEST_SUITE(FunctorDepth, Depths);

TYPED_TEST(FunctorDepth, ClampChannelTouchesOnlyItsChannel)
{
    using P = TypeParam;
    using W = Work<P>;
    const float white = float(W::kWhite);
    const std::vector<W> in = {frac<W>(1.0f, 0.9f, 0.1f, 0.5f), frac<W>(0.05f, 0.0f, 1.0f, 0.3f)};
    for (int32_t channel = 0; channel < 4; ++channel) {
        auto t = imageOf<P>(in);
        Functor1<P, PF::ClampChannel> clamp({0.2f * white, 0.8f * white, channel});
        clamp.process(t);
        for (int32_t i = 0; i < 2; ++i) {
            const W before = convert<W>(convert<P>(in[size_t(i)]));
            const W after = at(t, i);
            const int idx = PF::channelIndex<W>(channel);
            for (int c = 0; c < 4; ++c) {
                float want = before[c];
                if (c == idx)
                    want = std::min(std::max(want, 0.2f * white), 0.8f * white);
                if (P::kInteger)
                    want = float(int(want));
                EXPECT_EQ(after[c], want) << "channel " << channel << " pixel " << i << " c " << c;
            }
        }
    }
}

TYPED_TEST(FunctorDepth, MultiplyAndUnMultiplyByAlpha)
{
    using P = TypeParam;
    using W = Work<P>;
    const std::vector<W> in = {
        frac<W>(1.0f, 0.6f, 0.2f, 1.0f), frac<W>(0.0f, 0.7f, 0.4f, 0.1f), frac<W>(0.5f, 0.5f, 0.25f, 0.0f)};
    auto t = imageOf<P>(in);
    Functor1<P, PF::MultiplyByAlpha>().process(t);
    const float tol = P::kInteger ? 1.0f : 1e-6f;
    EXPECT_EQ(at(t, 0), convert<W>(convert<P>(in[0]))) << "opaque pixels keep their colour";
    EXPECT_EQ(at(t, 1), frac<W>(0, 0, 0, 0)) << "transparent pixels lose their colour";
    EXPECT_NEAR(at(t, 2).r(), in[2].r() * 0.5f, tol);
    EXPECT_NEAR(at(t, 2).g(), in[2].g() * 0.5f, tol);
    EXPECT_EQ(at(t, 2).a(), convert<W>(convert<P>(in[2])).a()) << "alpha itself is kept";

    auto u = imageOf<P>({frac<W>(0.5f, 0.25f, 0.125f, 0.5f), frac<W>(0.0f, 0.3f, 0.2f, 0.1f)});
    const W stored = at(u, 0), transparentBefore = at(u, 1);
    Functor1<P, PF::UnMultiplyByAlpha>().process(u);
    EXPECT_NEAR(at(u, 0).r(), stored.r() * float(W::kWhite) / stored.a(), tol);
    EXPECT_NEAR(at(u, 0).b(), stored.b() * float(W::kWhite) / stored.a(), tol);
    EXPECT_EQ(at(u, 0).a(), stored.a());
    EXPECT_EQ(at(u, 1), transparentBefore) << "no division by a zero alpha";
}

TEST(FunctorThreshold, UnMultiplyLeavesPixelsAtOrBelowTheThreshold)
{
    const float t = 1.5259022e-5f;
    auto image = imageOf<ARGBF>({ARGBWF {{t, 1e-6f, 0.5f, 0.0f}}, ARGBWF {{2 * t, 2e-6f, 1e-6f, 0.0f}}});
    Functor1<ARGBF, PF::UnMultiplyByAlpha>().process(image);
    EXPECT_EQ(at(image, 0), (ARGBWF {{t, 1e-6f, 0.5f, 0.0f}}));
    EXPECT_NEAR(at(image, 1).r(), 2e-6f / (2 * t), 1e-6f);
}

TYPED_TEST(FunctorDepth, WhitePointAlphaMakesEveryPixelOpaque)
{
    using P = TypeParam;
    using W = Work<P>;
    auto t = imageOf<P>({frac<W>(0.0f, 0.2f, 0.4f, 0.6f), frac<W>(0.5f, 1, 1, 1)});
    Functor1<P, PF::WhitePointAlpha>().process(t);
    for (int32_t i = 0; i < 2; ++i)
        EXPECT_EQ(at(t, i).a(), float(W::kWhite));
    EXPECT_EQ(at(t, 0).g(), convert<W>(convert<P>(frac<W>(0, 0, 0.4f, 0))).g());
}

TYPED_TEST(FunctorDepth, TwoImageFunctorsTakeTheRightChannels)
{
    using P = TypeParam;
    using W = Work<P>;
    const W o = convert<W>(convert<P>(frac<W>(0.25f, 0.1f, 0.2f, 0.3f)));
    const W s0 = convert<W>(convert<P>(frac<W>(0.5f, 0.9f, 0.8f, 0.7f)));
    const W s1 = convert<W>(convert<P>(frac<W>(0.0f, 0.6f, 0.5f, 0.4f)));
    const float tol = P::kInteger ? 1.0f : 1e-6f;
    auto run = [&](auto functor) {
        auto out = imageOf<P>({o, o});
        auto src = imageOf<P>({s0, s1});
        Functor2<P, P, decltype(functor)>(functor).process(src, out);
        return std::make_pair(at(out, 0), at(out, 1));
    };
    auto [a0, a1] = run(PF::CopyAlpha());
    EXPECT_EQ(a0, (W {{s0.a(), o.r(), o.g(), o.b()}}));
    EXPECT_EQ(a1.a(), 0.0f);
    auto [c0, c1] = run(PF::CopyRGB());
    EXPECT_EQ(c0, (W {{o.a(), s0.r(), s0.g(), s0.b()}}));
    EXPECT_EQ(c1, (W {{o.a(), s1.r(), s1.g(), s1.b()}}));
    auto [b0, b1] = run(PF::BlankTransparentAlpha());
    EXPECT_EQ(b0, s0);
    EXPECT_EQ(b1, frac<W>(0, 0, 0, 0));
    auto [m0, m1] = run(PF::MultiplyByAlpha());
    EXPECT_EQ(m0.a(), s0.a());
    for (int c = 1; c < 4; ++c)
        EXPECT_NEAR(m0[c], s0[c] * s0.a() / float(W::kWhite), tol);
    EXPECT_EQ(m1, frac<W>(0, 0, 0, 0));
}

TEST(FunctorEdges, SecondImageOutsideItsCropGivesTheEdgeColour)
{
    auto out = imageOf<ARGB8>(std::vector<ARGBW255>(6, ARGBW255 {{10, 20, 30, 40}}));
    auto src = imageOf<ARGB8>(std::vector<ARGBW255>(6, ARGBW255 {{200, 1, 2, 3}}));
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
