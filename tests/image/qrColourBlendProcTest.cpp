// The blend processor over images: each output pixel is blended with the
// source pixel that the source's addressing puts at its position, in place,
// inside the region only, identically on one thread or several.
#include "qrColourBlendProc.h"
#include "qrMultiProcessor.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace Quarn::Pixel;
namespace Blend = Quarn::Blend;

// Fills every pixel with a value that depends on its position and `salt`.
template <class S> void fillPattern(QrTexture<S>& t, uint32_t salt)
{
    const float white = float(S::Desc::kWhite);
    for (int32_t j = 0; j < t.height(); ++j)
        for (int32_t i = 0; i < t.width(); ++i) {
            Work<S> w;
            for (int c = 0; c < 4; ++c) {
                uint32_t h = (uint32_t(i) * 73856093u) ^ (uint32_t(j) * 19349663u) ^
                    (uint32_t(c + 1) * 83492791u) ^ salt;
                h = (h ^ (h >> 13)) * 0x5bd1e995u;
                w[c] = float((h >> 8) % 1001) / 1000.0f * white;
            }
            *t.pixelAtIndex(i, j) = convert<S>(w);
        }
}

template <class S> std::vector<S> pixelsOf(const QrTexture<S>& t)
{
    std::vector<S> out;
    for (int32_t j = 0; j < t.height(); ++j)
        for (int32_t i = 0; i < t.width(); ++i)
            out.push_back(*t.pixelAtIndex(i, j));
    return out;
}

template <class S> QrTexture<S> croppedSource()
{
    // Smaller than the output, shifted, cropped, with different edge
    // methods per axis and a recognisable edge colour.
    QrTexture<S> source = QrTexture<S>::allocate(5, 4);
    fillPattern(source, 7);
    source.setOrigin(int32_t(2), int32_t(1));
    source.setCrop(1, 3, 0, 2);
    source.setEdgeMethods(kEdgeReflect, kEdgeColour);
    S edge;
    for (int c = 0; c < 4; ++c)
        edge[c] = typename S::Component(S::Desc::kWhite / 4 * (c + 1));
    source.setEdgeColour(edge);
    return source;
}

template <class S> void checkBlendOverTheSourceAddressing()
{
    using W = Work<S>;
    const QrTexture<S> source = croppedSource<S>();
    for (int32_t method :
        {int32_t(Blend::kOverlay), int32_t(Blend::kColour), int32_t(Blend::kCompositeEffect)}) {
        QrTexture<S> out = QrTexture<S>::allocate(9, 7);
        fillPattern(out, 99);
        const std::vector<S> before = pixelsOf(out);
        QrColourBlendProc<S> blend(method, 1.5f, 0.75f, 0.4f);
        blend.setPremultiplySource(1);
        blend.setUnpremultiplyResult(1);
        blend.setClampInputs(true);
        blend.setMultiThreaded(false);
        blend.process(source, out);
        const Blend::Settings settings {method, 1.5f, 0.75f, 0.4f, 1, 0, 1, true};

        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                const S expected = convert<S>(Blend::blendStep(
                    convert<W>(source.pixelAt(x, y)), convert<W>(before[size_t(y * 9 + x)]), settings));
                EXPECT_EQ(*out.pixelAtIndex(x, y), expected)
                    << "method " << method << " at " << x << "," << y;
            }
    }
}

TEST(ColourBlendProc, ReadsTheSourceThroughItsCropAndEdgesAtEveryDepth)
{
    checkBlendOverTheSourceAddressing<ARGB8>();
    checkBlendOverTheSourceAddressing<ARGB16>();
    checkBlendOverTheSourceAddressing<ARGBF>();
}

TEST(ColourBlendProc, OnlyTheRegionChanges)
{
    QrTexture<ARGB8> source = QrTexture<ARGB8>::allocate(6, 5);
    fillPattern(source, 3);
    QrTexture<ARGB8> output = QrTexture<ARGB8>::allocate(6, 5);
    fillPattern(output, 4);
    const std::vector<ARGB8> before = pixelsOf(output);
    QrColourBlendProc<ARGB8> blend(Blend::kDifference, 1.0f, 1.0f, 0.5f);
    blend.setRegion(1, 2, 3, 3);  // inclusive corners
    blend.process(source, output);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x <= 3 && y >= 2 && y <= 3;
            const ARGB8& was = before[size_t(y * 6 + x)];
            const ARGB8& src = *source.pixelAtIndex(x, y);
            const ARGB8& now = *output.pixelAtIndex(x, y);
            if (!inside) {
                EXPECT_EQ(now, was) << "outside the region at " << x << "," << y;
                continue;
            }
            EXPECT_EQ(now.r(), std::abs(int(src.r()) - int(was.r()))) << x << "," << y;
        }
}

TEST(ColourBlendProc, ThreadedRunEqualsSingleThreadedRun)
{
    QrMultiProcessor::overrideProcessorCount(4);
    QrTexture<ARGB16> source = QrTexture<ARGB16>::allocate(61, 47);
    fillPattern(source, 11);
    source.setCrop(5, 50, 3, 40);
    source.setEdgeMethods(kEdgeWrap, kEdgeReflect);
    QrTexture<ARGB16> threaded = QrTexture<ARGB16>::allocate(61, 47);
    fillPattern(threaded, 12);
    QrTexture<ARGB16> single = QrTexture<ARGB16>::allocate(61, 47);
    fillPattern(single, 12);

    for (int32_t method = 0; method <= 26; ++method) {
        QrColourBlendProc<ARGB16> a(method, 1.1f, 0.9f, 0.6f);
        a.process(source, threaded);
        QrColourBlendProc<ARGB16> b(method, 1.1f, 0.9f, 0.6f);
        b.setMultiThreaded(false);
        b.process(source, single);
        ASSERT_EQ(pixelsOf(threaded), pixelsOf(single)) << "method " << method;
    }
    QrMultiProcessor::overrideProcessorCount(0);
}

}  // namespace
