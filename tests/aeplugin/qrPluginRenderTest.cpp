// Frames rendered by the real plug-in through our host. Failures here mean
// a depth whose logic drifted from the others, a smart render that differs
// from a classic one (or a frame from itself), rain that does not move, the wrong driver for a host, lost
// alpha, a matte layer placed off centre, crops that leak, or memory left behind.
#include "qrPluginFixture.h"

namespace {

using namespace PluginTest;

using Rendering = Started;

TEST_F(Rendering, EveryDepthAndModeRendersTheSameRain)
{
    const HostImage source = nightScene(kWidth, kHeight, Depth::Float);
    const HostImage classic8 = render(Depth::Bits8, RenderMode::Classic);
    EXPECT_GT(maxDifference(classic8, source), 0.05f) << "the rain left the picture unchanged";
    EXPECT_EQ(maxDifference(render(Depth::Bits8, RenderMode::Smart), classic8), 0.0f);
    const HostImage classic16 = render(Depth::Bits16, RenderMode::Classic);
    EXPECT_EQ(maxDifference(render(Depth::Bits16, RenderMode::Smart), classic16), 0.0f);
    // Float storage keeps values above white, which integer storage clips;
    // clipped alike, one algorithm at three depths differs only by rounding.
    const HostImage smartFloat =
        render(Depth::Float, RenderMode::Smart).converted(Depth::Bits16).converted(Depth::Float);
    EXPECT_LT(maxDifference(classic16, smartFloat), 0.002f);
    EXPECT_LT(maxDifference(classic8, smartFloat), 0.01f);
    host.setFrame(7);
    EXPECT_GT(maxDifference(render(Depth::Bits16, RenderMode::Classic), classic16), 0.0f)
        << "rain stood still";
}

TEST_F(Rendering, ProcessRGBKeepsTheSourceAlphaAndRGBAKeepsTheRainsAlpha)
{
    host.setSource(picture(kWidth, kHeight, Depth::Bits8, [](int x, int y) -> Argb {
        const float a = float((x + y) % 4) / 3.0f;
        return {a, 0.9f * a, 0.8f * a, 0.95f * a};
    }));
    const HostImage source = host.param(0).layer()->converted(Depth::Float);
    host.setParam("Process", "RGB");
    const HostImage rgb = render(Depth::Bits8, RenderMode::Classic);
    host.setParam("Process", "RGBA");
    const HostImage rgba = render(Depth::Bits8, RenderMode::Classic);
    int alphaChanged = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(rgb.channel(x, y, 0), source.channel(x, y, 0)) << x << "," << y;
            alphaChanged += rgba.channel(x, y, 0) != source.channel(x, y, 0);
            ASSERT_LE(rgba.channel(x, y, 0), 1.0f);
        }
    EXPECT_GT(alphaChanged, 0);
}

TEST_F(Rendering, OldHostApiGetsThe8BitDriverEvenForADeepWorld)
{
    host.properties().apiVersion = {13, 28};
    const HostImage deep = render(Depth::Bits16, RenderMode::Classic);
    host.properties().apiVersion = {13, 0};
    auto r = host.render(Depth::Bits16, RenderMode::Classic);
    ASSERT_TRUE(r.command.ok());
    EXPECT_TRUE(r.paddingIntact);
    // Read as 8-bit pixels, each 16-bit row is covered only in its left
    // half: the right half of the fresh output stays zero.
    for (int y = 0; y < kHeight; ++y)
        for (int x = kWidth / 2; x < kWidth; ++x)
            ASSERT_EQ(r.image.pixel(x, y), (Argb {0, 0, 0, 0})) << x << "," << y;
    for (int y = 0; y < kHeight; ++y)
        ASSERT_GT(deep.channel(kWidth - 1, y, 0), 0.0f);
}

TEST_F(Rendering, SmartPreRenderAsksForBothLayersAndReportsTheInput)
{
    host.setLayer(11, nightScene(20, 10, Depth::Bits8));
    auto r = host.render(Depth::Bits8, RenderMode::Smart);
    ASSERT_TRUE(r.command.ok());
    ASSERT_EQ(r.layerCheckouts.size(), 2u);
    for (const auto& checkout : r.layerCheckouts) {
        EXPECT_EQ(checkout.id, checkout.index);
        EXPECT_EQ(checkout.request.left, -1000000);
        EXPECT_EQ(checkout.request.bottom, 2000000);
    }
    EXPECT_EQ(r.resultRect.right, kWidth);
    EXPECT_EQ(r.resultRect.bottom, kHeight);
    EXPECT_EQ(r.maxResultRect.right, r.resultRect.right);
    EXPECT_EQ(host.counters().leakedCheckouts, 0);
}

// Renders with the rain confined by a matte layer that is opaque inside and
// transparent beyond its crop edges, and counts the pixels of a region of
// the source that the rain changed.
class MatteLayer : public Started {
protected:
    std::vector<bool> changed;

    void renderWith(const HostImage& layer)
    {
        host.setSource(picture(kWidth, kHeight, Depth::Bits8, [](int, int) -> Argb {
            return {1.0f, 0.5f, 0.5f, 0.5f};
        }));
        host.setParam("Diffusion Min", "0");  // every pixel is a highlight
        host.setParam("Rain Intensity", "100");
        host.setParam("Rain Density", "100");
        host.setParam("Matte", "Matte Layer Alpha");
        host.setParam("Matte Layer Crops/X Method", "Colour");
        host.setParam("Matte Layer Crops/Y Method", "Colour");
        host.setParam("Matte Layer Crops/Edge Colour", "#00000000");
        host.setLayer(11, layer);
        const HostImage out = render(Depth::Bits8, RenderMode::Classic);
        const HostImage source = host.param(0).layer()->converted(Depth::Float);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                changed.push_back(differsAt(out, source, x, y, 1.5f / 255.0f));
    }

    int changedIn(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += changed[std::size_t(y * kWidth + x)];
        return n;
    }
};

TEST_F(MatteLayer, SmallerLayerSitsCentredOnTheSource)
{
    renderWith(picture(16, 12, Depth::Bits8, [](int, int) -> Argb { return {1, 1, 1, 1}; }));
    const int x0 = (kWidth - 16) / 2, y0 = (kHeight - 12) / 2;
    EXPECT_GT(changedIn(x0, y0, x0 + 16, y0 + 12), 0);
    EXPECT_EQ(changedIn(0, 0, kWidth, kHeight), changedIn(x0, y0, x0 + 16, y0 + 12))
        << "rain outside the layer";
}

TEST_F(MatteLayer, LargerLayerCoversTheWholeSource)
{
    // Opaque only in its centre part the size of the source.
    renderWith(picture(kWidth + 20, kHeight + 10, Depth::Bits8, [](int x, int y) -> Argb {
        const bool centre = x >= 10 && x < 10 + kWidth && y >= 5 && y < 5 + kHeight;
        return {centre ? 1.0f : 0.0f, 1, 1, 1};
    }));
    // Offset by half the difference the opaque centre lands on the source;
    // any other placement would leave a rain-free band of 5 or more columns.
    EXPECT_GT(changedIn(0, 0, 5, kHeight), 0);
    EXPECT_GT(changedIn(kWidth - 5, 0, kWidth, kHeight), 0);
}

TEST_F(MatteLayer, NoLayerChosenRendersWithoutMatte)
{
    host.setParam("Matte", "Matte Layer Alpha");
    const HostImage withoutLayer = render(Depth::Bits8, RenderMode::Classic);
    host.setParam("Matte", "None");
    EXPECT_EQ(maxDifference(render(Depth::Bits8, RenderMode::Classic), withoutLayer), 0.0f);
    EXPECT_EQ(host.counters().leakedCheckouts, 0);
}

TEST_F(Rendering, SourceCropsWithColourEdgesShowTheEdgeColour)
{
    host.setParam("Source Crops/Left", "50");
    host.setParam("Source Crops/X Method", "Colour");
    host.setParam("Source Crops/Edge Colour", "#00FF00FF");
    host.setParam("Rain Intensity", "0");
    host.setParam("Process", "RGBA");
    const HostImage cropped = render(Depth::Bits8, RenderMode::Classic);
    host.setParam("Source Crops/Left", "0");
    const HostImage whole = render(Depth::Bits8, RenderMode::Classic);
    // Without rain the output is the source as the effect reads it: the
    // right half unchanged, the left half replaced.
    int replaced = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = kWidth / 2 + 1; x < kWidth; ++x)
            ASSERT_FALSE(differsAt(cropped, whole, x, y)) << x << "," << y;
        for (int x = 0; x < kWidth / 2 - 1; ++x)
            replaced += differsAt(cropped, whole, x, y);
    }
    EXPECT_GT(replaced, kHeight * (kWidth / 2 - 1) / 2);
}

TEST_F(Rendering, HalfResolutionAndZeroPixelAspectStillRender)
{
    host.properties().downsampleX = {1, 2};
    host.properties().downsampleY = {1, 2};
    const HostImage half = render(Depth::Bits8, RenderMode::Classic);
    host.properties().downsampleX = {1, 1};
    host.properties().downsampleY = {1, 1};
    const HostImage full = render(Depth::Bits8, RenderMode::Classic);
    EXPECT_GT(maxDifference(half, full), 0.0f) << "downsampling did not change the rain";
    host.properties().pixelAspectRatio = {0, 1};
    const auto r = host.render(Depth::Bits8, RenderMode::Classic);
    EXPECT_TRUE(r.command.ok()) << r.command.message;
}

TEST_F(Rendering, ManyFramesLeaveNoHandlesBehind)
{
    const std::size_t live = host.handles().liveCount();
    for (int frame = 0; frame < 12; ++frame) {
        host.setFrame(frame);
        const Depth depth = frame % 3 == 0 ? Depth::Bits8 : frame % 3 == 1 ? Depth::Bits16 : Depth::Float;
        const RenderMode mode = depth == Depth::Float || frame % 2 ? RenderMode::Smart : RenderMode::Classic;
        ASSERT_TRUE(host.render(depth, mode).command.ok()) << frame;
        ASSERT_EQ(host.handles().liveCount(), live) << "after frame " << frame;
    }
    EXPECT_GT(host.handles().allocations(), 4) << "images did not come from host memory";
    const auto c = host.counters();
    EXPECT_EQ(c.leakedCheckouts, 0);
    EXPECT_EQ(c.suitesHeld, 0);
    EXPECT_EQ(c.badCallbacks, 0);
}

}  // namespace
