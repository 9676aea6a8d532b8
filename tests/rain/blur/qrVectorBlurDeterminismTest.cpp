// The blur must give the same bytes whatever the number of threads and
// wherever the bands are cut: deposits cross band boundaries, so a fault in
// the strip schedule shows up here as a changed pixel.
#include "qrMultiProcessor.h"
#include "blur/qrSimpleLinearBlur.h"
#include "blur/qrVectorBlurSampler.h"
#include "qrVectorBlurTestImages.h"
#include "blur/qrVectorBlurKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <type_traits>

using namespace QrVectorBlurTest;
using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

// Runs `blur` once per thread set-up and checks every result against the
// single-threaded one.
class VectorBlurThreads : public ::testing::Test {
protected:
    void TearDown() override
    {
        unsetenv("QUARN_MAX_PROCESSORS");
        QrMultiProcessor::resetMaxProcessorsForTesting();
        QrMultiProcessor::overrideProcessorCount(0);
    }

    template <class S>
    void expectSameForEverySplit(
        const Texture<S>& input, const std::function<void(const Texture<S>&, Texture<S>&)>& blur)
    {
        QrMultiProcessor::overrideProcessorCount(1);
        Texture<S> reference = copyOf(input);
        blur(input, reference);
        ASSERT_FALSE(identical(reference, input)) << "the blur should change this image";
        // Processor counts cut the rows into that many bands; the limits
        // leave some of the threads without rows.
        struct Split {
            int32_t processors;
            const char* limit;
        };
        for (Split split :
            {Split {2, nullptr}, Split {2, "1"}, Split {2, "2"}, Split {3, nullptr}, Split {4, "3"},
                Split {5, nullptr}, Split {7, nullptr}, Split {8, "6"}, Split {13, nullptr}}) {
            SCOPED_TRACE(testing::Message()
                << split.processors << " processors, limit " << (split.limit ? split.limit : "unset"));
            if (split.limit)
                setenv("QUARN_MAX_PROCESSORS", split.limit, 1);
            else
                unsetenv("QUARN_MAX_PROCESSORS");
            QrMultiProcessor::resetMaxProcessorsForTesting();
            QrMultiProcessor::overrideProcessorCount(split.processors);
            Texture<S> result = copyOf(input);
            blur(input, result);
            EXPECT_TRUE(identical(result, reference));
        }
    }
};

template <class S> std::function<void(const Texture<S>&, Texture<S>&)> rainBlur(float length, float direction)
{
    return [=](const Texture<S>& in, Texture<S>& out) {
        SimpleLinearBlur<S> blur(length, direction);
        blur.quality = 1;
        blur.thirds = true;
        blur.process(out, out);  // in place, as the rain runs it
        (void)in;
    };
}

TEST_F(VectorBlurThreads, RainBlurIsIdenticalForEveryBandSplitAtEachDepth)
{
    // Odd sizes, lengths reaching across several bands, steep and shallow
    // directions.
    struct Case {
        int32_t width, height;
        float length, direction;
    };
    for (Case c : {Case {97, 61, 20.0f, 1.75f}, Case {33, 129, 40.0f, 1.2f}, Case {120, 37, 9.0f, -0.3f},
             Case {51, 53, 70.0f, 2.6f}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " length " << c.length);
        expectSameForEverySplit<ARGB8>(
            noiseImage<ARGB8>(c.width, c.height, 1), rainBlur<ARGB8>(c.length, c.direction));
        expectSameForEverySplit<ARGBF>(
            noiseImage<ARGBF>(c.width, c.height, 2), rainBlur<ARGBF>(c.length, c.direction));
    }
    expectSameForEverySplit<ARGB16>(noiseImage<ARGB16>(45, 77, 3), rainBlur<ARGB16>(25.0f, 1.4f));
}

TEST_F(VectorBlurThreads, NearestJitterAndBiasAreIdenticalForEveryBandSplit)
{
    auto blurWith = [](int32_t quality, bool jitter, float bias) {
        return [=](const Texture<ARGBF>&, Texture<ARGBF>& out) {
            SimpleLinearBlur<ARGBF> blur(18.0f, 1.9f);
            blur.quality = quality;
            blur.jitter = jitter;
            blur.bias = bias;
            blur.thirds = quality > 0;
            blur.process(out, out);
        };
    };
    const Texture<ARGBF> image = noiseImage<ARGBF>(71, 83, 4);
    expectSameForEverySplit<ARGBF>(image, blurWith(0, false, 0.0f));
    expectSameForEverySplit<ARGBF>(image, blurWith(1, true, 0.0f));
    expectSameForEverySplit<ARGBF>(image, blurWith(2, true, 0.5f));
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

TEST_F(VectorBlurThreads, CurvedPathsAreIdenticalForEveryBandSplit)
{
    SwirlGenerator swirl;
    auto blur = [&swirl](const Texture<ARGB8>& in, Texture<ARGB8>& out) {
        QrVectorBlurSampler<Texture<ARGB8>, Texture<ARGB8>> sampler;
        sampler.generator = &swirl;
        sampler.settings.quality = 1;
        sampler.settings.subPassCount = 3.0f;
        sampler.process(in, out);
    };
    expectSameForEverySplit<ARGB8>(noiseImage<ARGB8>(64, 90, 5), blur);
}

// The eight-lane loops must give the four-lane loops' bytes, so that the
// result does not depend on the processor either. Wide images give long
// runs of neighbouring start pixels; the odd widths leave a lone path at
// the end of a batch.
TEST(VectorBlurLanes, EightLanesGiveTheFourLaneBytesAtEachDepth)
{
    if (!qrWideLanesEnabled())
        GTEST_SKIP() << "this processor has no AVX2";
    auto both = [](auto image, float length, float direction) {
        using S = std::remove_reference_t<decltype(*image.pixelAtIndex(0, 0))>;
        auto run = [&](bool wide) {
            qrWideLanesEnabled() = wide;
            Texture<S> out = copyOf(image);
            rainBlur<S>(length, direction)(image, out);
            return out;
        };
        const Texture<S> narrow = run(false), wide = run(true);
        EXPECT_TRUE(identical(narrow, wide)) << length << ", " << direction;
    };
    for (float direction : {-1.5707964f, -1.05f, 0.0f, 2.6f}) {
        both(noiseImage<ARGB8>(203, 67, 6), 50.0f, direction);
        both(noiseImage<ARGB16>(131, 41, 7), 24.0f, direction);
        both(noiseImage<ARGBF>(97, 59, 8), 13.0f, direction);
    }
    qrWideLanesEnabled() = true;
}

}  // namespace
