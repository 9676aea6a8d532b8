// The streak blur. Against a slow, literal scatter (qrReferenceStreakBlur.h)
// at every depth and variant: the two differ only by float rounding (running
// sums and bilinear weights rounded in another order), so a truncated integer
// may land one step apart where the exact value sits on a step, a float a few
// ulps apart. Beyond the exact values: running in place, reusing one blur,
// interrupting it, a region, the thread count and the lane width.
#include "blur/qrSimpleLinearBlur.h"
#include "blur/qrVectorBlurKernels.h"
#include "blur/qrVectorBlurSampler.h"
#include "qrRainTestImages.h"
#include "qrReferenceStreakBlur.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

// The first stored value that the exact reference value does not explain:
// an integer must be the truncation of a value within 2e-6 of white of it,
// a float within 2e-6 of it.
template <class S>
std::string unexplained(const QrTexture<S>& product, const std::vector<QrReferenceBlur::Colour>& reference)
{
    const double white = S::Desc::kWhite;
    for (int32_t y = 0; y < product.height(); ++y)
        for (int32_t x = 0; x < product.width(); ++x)
            for (int ch = 0; ch < 4; ++ch) {
                const double exact = reference[std::size_t(y) * product.width() + x][ch],
                             got = product.pixelAtIndex(x, y)->c[ch];
                const double low = S::kInteger && got == 0.0 ? -INFINITY : got;
                const double high = S::kInteger ? (got == white ? INFINITY : got + 1.0) : got;
                const double tolerance = 2e-6 * white;
                if (exact < low - tolerance || exact > high + tolerance)
                    return testing::PrintToString(std::tuple(x, y, ch, got, exact));
            }
    return "";
}

template <class S> void expectMatchOverAllCases(int32_t quality, bool thirds)
{
    constexpr double kPi = 3.14159265358979323846;
    int32_t seed = 0;
    // Directions along both axes and between them, lengths from "no blur at
    // all" to longer than the image, odd sizes; 41 x 37 is cut into several
    // strips of start rows.
    for (double degrees : {-90.0, 0.0, 30.0, 90.0, 135.0, 180.0})
        for (float length : {0.02f, 1.0f, 7.5f, 50.0f})
            for (auto [w, h] : {std::pair {1, 1}, {7, 5}, {13, 11}, {33, 15}, {41, 37}})
                for (bool drops : {false, true}) {
                    // Noise, or mostly dark with scattered bright drops like the rain layer.
                    QrTexture<S> input = noiseImage<S>(w, h, ++seed);
                    for (int32_t y = 0; drops && y < h; ++y)
                        for (int32_t x = 0; x < w; ++x)
                            if (hashed(x, y, seed + 1) > 0.1f)
                                *input.pixelAtIndex(x, y) = S::black();

                    const float direction = float(degrees * kPi / 180.0);
                    QrTexture<S> product = QrTexture<S>::allocate(w, h);
                    const QrLinearBlurSettings s {
                        .length = length, .direction = direction, .quality = quality, .thirds = thirds};
                    SimpleLinearBlur<S>(s).process(input, product);
                    // The reference takes its start rows in the product's order:
                    // strips of at least twice the deposit reach, even strips first.
                    const int32_t rows = std::max(2 * QrReferenceBlur::depositRowReach(s), 16);
                    EXPECT_EQ(unexplained(product, QrReferenceBlur::Blur<S>(input, s, rows).run()), "")
                        << "(x, y, channel, product, reference) at " << degrees << " degrees, length "
                        << length << ", " << w << "x" << h << (drops ? ", drops" : ", noise") << ", quality "
                        << quality << (thirds ? ", thirds" : "");
                }
}

// The rain's own variant (bilinear, thirds) at every depth, the others at
// 8-bit and float.
TEST(ReferenceStreakBlur, EveryVariantMatchesTheLiteralScatter)
{
    expectMatchOverAllCases<ARGB16>(1, true);
    for (auto [quality, thirds] :
        {std::pair {1, true}, {0, false}, {0, true}, {1, false}, {2, true}, {2, false}}) {
        expectMatchOverAllCases<ARGB8>(quality, thirds);
        expectMatchOverAllCases<ARGBF>(quality, thirds);
    }
}

// The blur as the rain configures it.
QrLinearBlurSettings rainSettings(float length, float direction)
{
    return {.length = length, .direction = direction, .quality = 1, .thirds = true};
}

// The image blurred in place on a copy.
template <class S> QrTexture<S> blurredCopy(const QrTexture<S>& image, const QrLinearBlurSettings& settings)
{
    QrTexture<S> out = copyOf(image);
    SimpleLinearBlur<S>(settings).process(out, out);
    return out;
}

// In place, a row may only be written once no later path reads it; edge
// methods other than the edge colour read rows from the far side too.
template <class S> void expectInPlaceEqualsSeparate(float length, float direction, int32_t edge)
{
    QrTexture<S> original = noiseImage<S>(41, 170, 9), inPlace = copyOf(original);
    QrTexture<S> separate = QrTexture<S>::allocate(41, 170);
    original.setEdgeMethods(edge, edge);
    inPlace.setEdgeMethods(edge, edge);
    SimpleLinearBlur<S>(rainSettings(length, direction)).process(inPlace, inPlace);
    SimpleLinearBlur<S>(rainSettings(length, direction)).process(original, separate);
    EXPECT_EQ(differences(inPlace, separate), "") << "edge method " << edge;
    EXPECT_NE(differences(inPlace, original), "");
}

TEST(SimpleLinearBlur, InPlaceEqualsBlurringIntoAnotherImage)
{
    for (int32_t edge : {kEdgeColour, kEdgeRepeat, kEdgeReflect, kEdgeWrap}) {
        expectInPlaceEqualsSeparate<ARGB8>(15.0f, 1.3f, edge);
        expectInPlaceEqualsSeparate<ARGB16>(9.0f, -0.4f, edge);
        expectInPlaceEqualsSeparate<ARGBF>(25.0f, 2.0f, edge);
    }
}

// One blur run over several layers in turn (as depth layers of rain would
// be) gives what a fresh blur gives each of them: nothing of one run's
// set-up or memory leaks into the next.
TEST(SimpleLinearBlur, EveryRunOfAReusedBlurEqualsAFreshBlur)
{
    struct Run {
        int32_t width, height;
        float length, direction;
        int32_t quality;
        bool region;
    };
    SimpleLinearBlur<ARGB8> reused(1.0f, 0.0f);
    int32_t seed = 20;
    for (Run r : {Run {90, 70, 30.0f, 1.2f, 1, false}, Run {40, 120, 8.0f, -0.5f, 1, true},
             Run {130, 30, 60.0f, 2.9f, 2, false}, Run {50, 50, 12.0f, 0.3f, 0, true}}) {
        SCOPED_TRACE(testing::Message() << r.width << "x" << r.height << " length " << r.length);
        const QrTexture<ARGB8> original = noiseImage<ARGB8>(r.width, r.height, ++seed);
        auto run = [&](SimpleLinearBlur<ARGB8>& blur) {
            blur.settings() = {
                .length = r.length, .direction = r.direction, .quality = r.quality, .thirds = r.quality > 0};
            blur.setRegion(r.region ? 3 : 0, r.region ? 5 : 0, r.width - (r.region ? 7 : 1), r.height - 1);
            QrTexture<ARGB8> out = copyOf(original);
            blur.process(out, out);
            return out;
        };
        SimpleLinearBlur<ARGB8> fresh(1.0f, 0.0f);
        const QrTexture<ARGB8> expected = run(fresh);
        EXPECT_EQ(differences(run(reused), expected), "");
        EXPECT_NE(differences(expected, original), "");
    }
}

// An interrupted blur writes nothing; one limited to a region writes only there.
TEST(SimpleLinearBlur, InterruptedBlurWritesNothingAndARegionLimitsTheWrites)
{
    const QrTexture<ARGBF> original = noiseImage<ARGBF>(50, 40, 12);
    QrTexture<ARGBF> stopped = copyOf(original), image = copyOf(original);
    QrInterruptRecord record;
    record.interrupted = 1;
    SimpleLinearBlur<ARGBF> interrupted(rainSettings(12.0f, 0.5f)), blur(rainSettings(10.0f, 0.0f));
    interrupted.setInterruptRecord(&record);
    interrupted.process(stopped, stopped);
    EXPECT_EQ(differences(stopped, original), "");
    blur.setRegion(10, 5, 29, 24);
    blur.process(image, image);
    int changedInside = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 50; ++x) {
            const bool inside = x >= 10 && x <= 29 && y >= 5 && y <= 24;
            const bool same = *image.pixelAtIndex(x, y) == *original.pixelAtIndex(x, y);
            ASSERT_TRUE(inside || same) << x << "," << y;
            changedInside += !same;
        }
    EXPECT_GT(changedInside, 20 * 20 / 2);
}

// Deposits cross band boundaries, so a fault in the strip schedule shows up
// as a changed pixel.
template <class S>
void expectSameForEverySplit(const QrTexture<S>& input, const QrLinearBlurSettings& settings)
{
    expectSameForEveryThreadCount(input, [&] { return blurredCopy(input, settings); });
}

// A field that turns with the position: every path is planned on its own.
class SwirlGenerator : public VectorGenerator {
public:
    void vectorAt(float x, float y, float& vx, float& vy) const override
    {
        const float a = 0.05f * x + 0.03f * y;
        vx = std::cos(a);
        vy = std::sin(a);
    }
    float magnitude() const override { return 16.0f; }
    bool isUniform() const override { return false; }
    std::unique_ptr<VectorGenerator> clone() const override { return std::make_unique<SwirlGenerator>(); }
};

TEST(SimpleLinearBlurThreads, EveryBlurIsIdenticalForEveryBandSplit)
{
    // The rain's blur: odd sizes, lengths reaching across several bands,
    // steep and shallow directions.
    for (auto [w, h, length, direction] : {std::tuple {97, 61, 20.0f, 1.75f}, {33, 129, 40.0f, 1.2f},
             {120, 37, 9.0f, -0.3f}, {51, 53, 70.0f, 2.6f}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " length " << length);
        expectSameForEverySplit<ARGB8>(noiseImage<ARGB8>(w, h, 1), rainSettings(length, direction));
        expectSameForEverySplit<ARGBF>(noiseImage<ARGBF>(w, h, 2), rainSettings(length, direction));
    }
    expectSameForEverySplit<ARGB16>(noiseImage<ARGB16>(45, 77, 3), rainSettings(25.0f, 1.4f));
    // Nearest pixels, jitter and bias.
    for (const QrLinearBlurSettings& s :
        {QrLinearBlurSettings {.length = 18.0f, .direction = 1.9f},
            {.length = 18.0f, .direction = 1.9f, .quality = 1, .thirds = true, .jitter = true},
            {.length = 18.0f, .direction = 1.9f, .bias = 0.5f, .quality = 2, .thirds = true, .jitter = true}})
        expectSameForEverySplit<ARGBF>(noiseImage<ARGBF>(71, 83, 4), s);
    // Curved paths.
    const SwirlGenerator swirl;
    const QrTexture<ARGB8> input = noiseImage<ARGB8>(64, 90, 5);
    expectSameForEveryThreadCount(input, [&] {
        QrTexture<ARGB8> out = copyOf(input);
        QrVectorBlurSampler<QrTexture<ARGB8>, QrTexture<ARGB8>> sampler;
        sampler.generator = &swirl;
        sampler.settings.quality = 1;
        sampler.settings.subPassCount = 3.0f;
        sampler.process(input, out);
        return out;
    });
}

// The eight-lane loops must give the four-lane loops' bytes, so that the
// result does not depend on the processor either. Wide images give long
// runs of neighbouring start pixels; the odd widths leave a lone path at
// the end of a batch.
TEST(SimpleLinearBlurLanes, EightLanesGiveTheFourLaneBytesAtEachDepth)
{
    if (!qrWideLanesEnabled())
        GTEST_SKIP() << "this processor has no AVX2";
    auto both = [](const auto& image, float length, float direction) {
        auto run = [&](bool wide) {
            qrWideLanesEnabled() = wide;
            return blurredCopy(image, rainSettings(length, direction));
        };
        EXPECT_EQ(differences(run(false), run(true)), "") << length << ", " << direction;
    };
    for (float direction : {-1.5707964f, -1.05f, 0.0f, 2.6f}) {
        both(noiseImage<ARGB8>(203, 67, 6), 50.0f, direction);
        both(noiseImage<ARGB16>(131, 41, 7), 24.0f, direction);
        both(noiseImage<ARGBF>(97, 59, 8), 13.0f, direction);
    }
    qrWideLanesEnabled() = true;
}

}  // namespace
