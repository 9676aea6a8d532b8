// The matte decides where the rain shows. Failures here mean the wrong
// channel, an inverted matte, a matte shifted against a centred matte layer,
// or a failed layer fetch that breaks the render instead of dropping the matte.
#include "matte/qrMatte.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

namespace {

using namespace QrRainTest;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;
using Quarn::Pixel::Single8;
using Quarn::Pixel::SingleF;
using Quarn::Rain::makeMatte;

// A matte layer as a host would deliver it: ARGB, or its alpha alone.
class FakeMatteClip : public Quarn::Wrapper::Clip {
public:
    FakeMatteClip(QrTexture<ARGB8> layer, bool fails) : Clip("Matte"), layer_(std::move(layer)), fails_(fails)
    {
    }

    void fetchImageRaw(double, QrTexIndexer* dest) override
    {
        ++fetches;
        if (fails_)
            throw Quarn::Exceptions::Wrapper::FetchImageFailed(
                "FakeMatteClip::fetchImageRaw", "tests/rain", 1, "Matte");
        if (auto* colour = dynamic_cast<QrTexture<ARGB8>*>(dest)) {
            *colour = layer_;
        } else if (auto* single = dynamic_cast<QrTexture<Single8>*>(dest)) {
            *single = QrTexture<Single8>::allocateLike(layer_);
            for (int32_t y = 0; y < layer_.height(); ++y)
                for (int32_t x = 0; x < layer_.width(); ++x)
                    single->pixelAtIndex(x, y)->c[0] = layer_.pixelAtIndex(x, y)->a();
        }
    }

    int fetches = 0;

private:
    QrTexture<ARGB8> layer_;
    bool fails_;
};

// Four pixels (A, R, G, B) with the matte values worked out by hand for the
// codes luminance, inverse luminance, alpha and inverse alpha (8-bit: plain
// mean of R, G, B, truncated).
const ARGB8 kPixels[4] = {{{255, 30, 60, 90}}, {{100, 10, 20, 31}}, {{0, 255, 255, 255}}, {{128, 1, 2, 2}}};
const int kExpected[4][4] = {
    {60, 195, 255, 0},  // (30 + 60 + 90) / 3; (225 + 195 + 165) / 3; 255; 0
    {20, 234, 100, 155},
    {255, 0, 0, 255},
    {1, 253, 128, 127},
};

QrTexture<ARGB8> fourPixels()
{
    return image<ARGB8>(2, 2, [](int32_t x, int32_t y) { return kPixels[y * 2 + x]; });
}

struct ClipSetWith {
    Quarn::Wrapper::ClipSet set;
    FakeMatteClip* clip;

    explicit ClipSetWith(bool fails, QrTexture<ARGB8> layer = fourPixels())
        : clip(new FakeMatteClip(std::move(layer), fails))
    {
        set.hsAddObject(Quarn::auto_ref<Quarn::Wrapper::Clip>(clip));
    }
};

// The source is black and opaque, so a code that reads the source when it
// should read the layer (or the reverse) shows at once. The 2 x 2 layer sits
// centred on the 4 x 4 source, at (1, 1). Outside its image the matte is the
// mean of that image's edge colour: the source's is transparent with mean
// 60, the layer's black.
TEST(QrMatte, EveryCodeGivesItsChannelFromItsImageInItsPlace)
{
    const auto black = filled(4, 4, pixel<ARGB8>(1, 0, 0, 0));
    auto source = fourPixels(), layer = fourPixels();
    source.setEdgeColour(ARGB8 {{0, 30, 60, 90}});
    layer.setOrigin(1, 1);
    for (int32_t code = 1; code <= 8; ++code) {
        ClipSetWith clips(false, layer);
        const bool fromSource = code <= 4;
        const int32_t at = fromSource ? 0 : 1;
        QrTexture<Single8> matte;
        ASSERT_TRUE(makeMatte(clips.set, 0.0, fromSource ? source : black, matte, code)) << "code " << code;
        EXPECT_EQ(clips.clip->fetches, fromSource ? 0 : 1) << "code " << code;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(int(matte.pixelAt(at + i % 2, at + i / 2).c[0]), kExpected[i][(code - 1) % 4])
                << "code " << code << " pixel " << i;
        EXPECT_EQ(int(matte.pixelAt(-3, 1).c[0]), fromSource ? 60 : 0) << "code " << code;
        EXPECT_EQ(int(matte.pixelAt(1, 7).c[0]), fromSource ? 60 : 0) << "code " << code;
    }
}

// None, unknown codes, a failed layer fetch and a missing "Matte" clip give
// no matte (and nothing thrown); source codes need no clip.
TEST(QrMatte, NoneUnknownCodesAndFailedOrMissingLayersMakeNoMatte)
{
    // Code, and whether the layer fetch fails.
    for (auto [code, fails] : {std::pair {0, false}, {9, false}, {-1, false}, {100, false}, {5, true},
             {6, true}, {7, true}, {8, true}}) {
        ClipSetWith clips(fails);
        QrTexture<Single8> matte;
        EXPECT_FALSE(makeMatte(clips.set, 0.0, fourPixels(), matte, code)) << "code " << code;
        EXPECT_EQ(clips.clip->fetches, fails ? 1 : 0) << "code " << code;
    }
    Quarn::Wrapper::ClipSet empty;
    QrTexture<Single8> matte;
    EXPECT_FALSE(makeMatte(empty, 0.0, fourPixels(), matte, 6));
    EXPECT_TRUE(makeMatte(empty, 0.0, fourPixels(), matte, 3));
}

TEST(QrMatte, FloatMattesAreNotTruncated)
{
    const auto source = filled(3, 1, pixel<ARGBF>(0.25, 0.1, 0.2, 0.6));
    const float expected[4] = {0.3f, 0.7f, 0.25f, 0.75f};
    for (int32_t code = 1; code <= 4; ++code) {
        Quarn::Wrapper::ClipSet none;
        QrTexture<SingleF> matte;
        ASSERT_TRUE(makeMatte(none, 0.0, source, matte, code));
        EXPECT_NEAR(matte.pixelAtIndex(2, 0)->c[0], expected[code - 1], 1e-6f) << code;
    }
}

}  // namespace
