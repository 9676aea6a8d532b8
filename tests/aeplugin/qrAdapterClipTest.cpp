// The host adapter's clips and instance data, inside a command of our host.
// Failures here mean frame ranges that are not the host's, frames the
// effect asked for that cannot be fetched (or frames it did not ask for
// that can), a shared texture that copies, or working values that do not
// reach the instance's record or survive a flatten they should not.
#include "qrAEWrapperClip.h"
#include "qrAdapterInCommand.h"
#include "qrTexture.h"

#include <cstring>
#include <vector>

namespace {

using Quarn::AfterEffects::Wrapper::Clip;
using Quarn::AfterEffects::Wrapper::Host;
using Quarn::AfterEffects::Wrapper::InstanceData;
using Quarn::Host::Argb;
using Quarn::Host::Depth;
using Quarn::Host::HostImage;
using Texture8 = QrTexture<Quarn::Pixel::ARGB8>;

constexpr int kMatteLayer = 11;

using AdapterClips = AdapterInCommand;

// A 4 x 3 layer whose red byte at (x, y) is 10 x + y + 1.
HostImage numberedLayer()
{
    HostImage image(4, 3, Depth::Bits8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, Argb {1.0f, float(10 * x + y + 1) / 255.0f, 0.0f, 0.0f});
    return image;
}

TEST_F(AdapterClips, FrameRangeIsTheLayersWhileALayerIsConnected)
{
    host.properties().totalTime = 250;  // 25 frames of 10 units
    EXPECT_EQ(inCommand([](Host& a) {
        Clip matte("Matte", kMatteLayer, a, nullptr);
        const auto none = matte.getFrameRange();
        EXPECT_EQ(std::pair(none.first, none.last), std::pair(0.0, 0.0));
    }),
        "");
    host.setLayer(kMatteLayer, numberedLayer());
    host.properties().totalTime = 245;  // a last frame cut short still counts
    EXPECT_EQ(inCommand([](Host& a) {
        Clip matte("Matte", kMatteLayer, a, nullptr);
        const auto range = matte.getFrameRange();
        EXPECT_EQ(std::pair(range.first, range.last), std::pair(0.0, 24.0));
    }),
        "");
}

TEST_F(AdapterClips, FramesTheEffectNeedsCanBeFetchedAndNoOthers)
{
    host.setLayer(kMatteLayer, numberedLayer());
    struct Fetch {
        double time;
        bool needed;  // inside the frames asked for
    };
    const Fetch fetches[] = {{3.0, true}, {2.0, true}, {5.0, true}, {6.0, false}, {1.5, false}};
    for (const Fetch& f : fetches) {
        const std::string thrown = inCommand([&](Host& a) {
            Clip matte("Matte", kMatteLayer, a, nullptr);
            matte.setTexture(nullptr, a.getTime());
            matte.setFramesNeeded(5.0, 2.0);
            Texture8 dest;
            matte.fetchImageRaw(f.time, &dest);
            ASSERT_TRUE(dest.hasData());
            ASSERT_EQ(std::pair(dest.width(), dest.height()), std::pair(4, 3));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 4; ++x)
                    EXPECT_EQ(int(dest.pixelAtIndex(x, y)->r()), 10 * x + y + 1) << x << "," << y;
        });
        EXPECT_EQ(thrown, f.needed ? "" : "FetchImageFailed") << f.time;
    }
    EXPECT_EQ(inCommand([](Host& a) { a.setFramesNeeded("Mask", 0.0, 1.0); }), "ClipUndefined");
}

TEST_F(AdapterClips, CopiedTextureSharesThePixels)
{
    std::vector<uint32_t> pixels(6, 0x11223344u);
    Texture8 source(3, 2, pixels.data(), 3 * 4);
    EXPECT_EQ(inCommand([&](Host& a) {
        Clip clip("Source", 0, a, nullptr);
        Texture8 shared;
        EXPECT_FALSE(clip.copyTexureAndPointer(&shared)) << "no texture yet";
        clip.setTexture(&source, a.getTime());
        ASSERT_TRUE(clip.copyTexureAndPointer(&shared));
        EXPECT_EQ(static_cast<void*>(shared.data()), static_cast<void*>(pixels.data()));
        EXPECT_EQ(std::pair(shared.width(), shared.height()), std::pair(3, 2));
        QrTexture<Quarn::Pixel::ARGB16> deeper;
        EXPECT_FALSE(clip.copyTexureAndPointer(&deeper)) << "another depth cannot share";
    }),
        "");
}

TEST_F(AdapterClips, InstanceDataLivesInTheSequenceRecordUntilFlattened)
{
    const InstanceData values {7, -8, 9};
    EXPECT_EQ(inCommand([&](Host& a) {
        EXPECT_EQ(a.getInstanceData(), (InstanceData {0, 0, 0}));
        a.setInstanceData(values);
    }),
        "");
    // The live record's three working words: bytes 4 to 15 where a handle
    // is 8 bytes (it comes last), 8 to 19 where it is word 1.
    const std::size_t at = sizeof(void*) == 4 ? 8 : 4;
    const auto bytes = host.sequenceBytes();
    ASSERT_GE(bytes.size(), at + 12);
    InstanceData stored {};
    std::memcpy(stored.data(), bytes.data() + at, sizeof stored);
    EXPECT_EQ(stored, values);
    EXPECT_EQ(inCommand([&](Host& a) { EXPECT_EQ(a.getInstanceData(), values); }), "");

    ASSERT_TRUE(host.sequenceFlatten().ok());
    EXPECT_EQ(inCommand([](Host& a) { a.getInstanceData(); }), "NullSequenceData") << "a flat record";
    ASSERT_TRUE(host.sequenceResetup().ok());
    EXPECT_EQ(inCommand([](Host& a) { EXPECT_EQ(a.getInstanceData(), (InstanceData {0, 0, 0})); }), "");
    ASSERT_TRUE(host.sequenceSetdown().ok());
    EXPECT_EQ(inCommand([](Host& a) { a.setInstanceData({1, 2, 3}); }), "NullSequenceData");
}

}  // namespace
