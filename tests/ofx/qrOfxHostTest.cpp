// The built bundle in a host of the tests' own: what it declares, the frames
// it renders at every depth against the nimbrel command line on the same
// picture, tiles, scale, time, presets, the edge-alpha sync and failures.
#include "qrOfxControls.h"
#include "qrOfxTestSupport.h"

#include "effect/qrRainKeys.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

namespace {

using namespace Quarn::Ofx;
using namespace Quarn::Ofx::Testing;
namespace Key = Quarn::Wrapper::Rain::Key;

constexpr int kW = 96, kH = 64;

TEST(OfxBundle, DescribesOneFilterEffectAtThreeDepthsWithEveryControl)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    EXPECT_STREQ(host.plugin().pluginApi, "OfxImageEffectPluginAPI");
    EXPECT_STREQ(host.plugin().pluginIdentifier, "org.nimbrel.rain");
    EXPECT_EQ(host.plugin().pluginVersionMajor, 2u);
    EXPECT_EQ(host.plugin().pluginVersionMinor, 1u);
    const PropSet& props = host.effect().props;
    EXPECT_EQ(props.str(Prop::supportedContexts, 0), Value::contextFilter);
    EXPECT_EQ(props.str(Prop::supportedContexts, 1), Value::contextGeneral);
    EXPECT_EQ(props.values.at(Prop::supportedPixelDepths).size(), 3u);
    EXPECT_EQ(props.str(Prop::renderThreadSafety), Value::renderFullySafe);
    EXPECT_EQ(host.effect().clips.count(ClipName::matte), 0u);
    ASSERT_EQ(host.effect().paramOrder.size(), controls().size());
    for (size_t i = 0; i < controls().size(); ++i) {
        const Control& c = controls()[i];
        EXPECT_EQ(host.effect().paramOrder[i], c.name);
        const Param& p = host.param(c.name);
        EXPECT_EQ(p.props.str(Prop::label), c.label);
        if (c.kind != ControlKind::group && c.kind != ControlKind::colour) {
            EXPECT_EQ(p.props.num(Prop::paramDefault), c.defaultValue) << c.name;
        }
        if (!c.parent.empty()) {
            EXPECT_EQ(p.props.str(Prop::paramParent), c.parent) << c.name;
        }
    }
}

TEST(OfxBundle, TheGeneralContextAddsAnOptionalMatteClip)
{
    TestHost host(NIMBREL_OFX_BUNDLE, Value::contextGeneral);
    ASSERT_EQ(host.effect().clips.count(ClipName::matte), 1u);
    EXPECT_EQ(host.effect().clips.at(ClipName::matte).props.num(Prop::clipOptional), 1);
}

// Renders `source` whole at `time` and `scale`; the host image back.
Image renderWhole(TestHost& host, Image& source, double time = 0.0, double scale = 1.0)
{
    Image output = Image::blank(source.bounds, source.depth, source.components);
    EXPECT_EQ(host.render(source, output, time, source.bounds, scale), Status::ok);
    EXPECT_EQ(host.imagesOut, 0);
    return output;
}

Image syntheticSource(const std::string& depth)
{
    Picture p;
    p.width = kW;
    p.height = kH;
    const double white = depth == Value::depthByte ? 255 : depth == Value::depthShort ? 65535 : 1;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (double v : {x / double(kW), y / double(kH), (x * y % 97) / 96.0, 1.0})
                p.rgba.push_back(float(depth == Value::depthFloat ? v * white : std::round(v * white)));
    return hostImage(p, depth);
}

TEST(OfxBundle, TilesAndBandsRenderWhatTheWholeFrameRenders)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    Image source = syntheticSource(Value::depthByte);
    const Picture whole = pictureOf(renderWhole(host, source));
    struct Tile {
        OfxRectI window;
    };
    const Tile tiles[] = {{{0, 0, kW, 20}}, {{0, 20, kW, 41}}, {{0, 41, kW, kH}}, {{30, 10, 70, 50}}};
    for (const Tile& t : tiles) {
        // The host hands an output image of the tile alone.
        Image tile = Image::blank(t.window, source.depth);
        ASSERT_EQ(host.render(source, tile, 0.0, t.window), Status::ok);
        const Picture got = pictureOf(tile);
        for (int y = t.window.y1; y < t.window.y2; ++y)
            for (int x = t.window.x1; x < t.window.x2; ++x)
                for (int c = 0; c < 4; ++c) {
                    const size_t inTile = (size_t(t.window.y2 - 1 - y) * size_t(got.width) + size_t(x - t.window.x1)) * 4 + size_t(c);
                    const size_t inWhole = (size_t(kH - 1 - y) * kW + size_t(x)) * 4 + size_t(c);
                    ASSERT_EQ(got.rgba[inTile], whole.rgba[inWhole]) << x << "," << y;
                }
    }
}

TEST(OfxBundle, AWindowLeavesTheRestOfTheOutputAlone)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    Image source = syntheticSource(Value::depthByte);
    Image output = Image::blank(source.bounds, source.depth);
    std::fill(output.bytes.begin(), output.bytes.end(), 7);
    ASSERT_EQ(host.render(source, output, 0.0, OfxRectI {10, 10, 20, 20}), Status::ok);
    const Picture p = pictureOf(output);
    EXPECT_EQ(p.rgba[0], 7.0f);  // top left, outside
    EXPECT_NE(p.rgba[(size_t(kH - 1 - 15) * kW + 15) * 4 + 3], 7.0f);  // inside: the source's alpha
}

TEST(OfxBundle, RgbImagesRenderAsTheirOpaqueRgbaImages)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    Image rgba = syntheticSource(Value::depthShort);  // opaque
    Image rgb = Image::blank(rgba.bounds, rgba.depth, Value::componentsRGB);
    for (size_t px = 0; px < rgb.bytes.size() / 6; ++px)
        std::copy_n(&rgba.bytes[px * 8], 6, &rgb.bytes[px * 6]);
    const Image fromRgba = renderWhole(host, rgba), fromRgb = renderWhole(host, rgb);
    ASSERT_EQ(fromRgb.bytes.size(), rgb.bytes.size());
    for (size_t px = 0; px < rgb.bytes.size() / 6; ++px)
        ASSERT_TRUE(std::equal(&fromRgb.bytes[px * 6], &fromRgb.bytes[px * 6 + 6], &fromRgba.bytes[px * 8])) << px;
    EXPECT_NE(fromRgb.bytes, rgb.bytes);  // there is rain
}

TEST(OfxBundle, AFrameAloneIsTheSameFrameOfASequence)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    host.param("fallSpeed").value[0] = 4;
    Image source = syntheticSource(Value::depthShort);
    std::vector<std::vector<unsigned char>> sequence;
    for (int t = 0; t < 4; ++t)
        sequence.push_back(renderWhole(host, source, t).bytes);
    EXPECT_NE(sequence[1], sequence[2]);
    TestHost fresh(NIMBREL_OFX_BUNDLE);
    fresh.param("fallSpeed").value[0] = 4;
    EXPECT_EQ(renderWhole(fresh, source, 2).bytes, sequence[2]);
}

TEST(OfxBundle, FramesRenderedOnSeveralThreadsAtOnceAreTheFramesRenderedOneByOne)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    host.param("fallSpeed").value[0] = 3;
    Image source = syntheticSource(Value::depthByte);
    std::vector<Image> alone, together;
    for (int t = 0; t < 4; ++t) {
        alone.push_back(renderWhole(host, source, t));
        together.push_back(Image::blank(source.bounds, source.depth));
    }
    std::vector<std::thread> threads;
    std::atomic<int> failures {0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            Image own = source;  // each render reads its own copy, as a host's frames do
            if (host.render(own, together[size_t(t)], t, source.bounds) != Status::ok)
                ++failures;
        });
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(host.imagesOut.load(), 0);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(together[size_t(t)].bytes, alone[size_t(t)].bytes) << t;
}

TEST(OfxBundle, APresetChosenByTheUserSetsItsControlsAndReturnsToRest)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    host.param(Key::presets).value[0] = 6;  // "Night Time"
    host.param(Key::density).value[0] = 100;
    ASSERT_EQ(host.userChanged(Key::presets), Status::ok);
    EXPECT_EQ(host.param(Key::density).value[0], 60);
    EXPECT_EQ(host.param(Key::dropLength).value[0], 50);
    EXPECT_DOUBLE_EQ(host.param(Key::minThresh).value[0], 80);
    EXPECT_EQ(host.param(Key::maxThresh).value[0], 100);
    EXPECT_EQ(host.param(Key::presets).value[0], 0);
}

TEST(OfxBundle, TheEdgeColourAndItsAlphaSliderFollowEachOther)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    host.param(Key::sourceCrops.edgeColourAlpha).value[0] = 50;
    ASSERT_EQ(host.userChanged(Key::sourceCrops.edgeColourAlpha), Status::ok);
    EXPECT_EQ(host.param(Key::sourceCrops.edgeColour).value[3], 0.5);
    host.param(Key::matteCrops.edgeColour).value = {1, 0, 0, 0.2};
    ASSERT_EQ(host.userChanged(Key::matteCrops.edgeColour), Status::ok);
    EXPECT_DOUBLE_EQ(host.param(Key::matteCrops.edgeColourAlpha).value[0], 20);
    EXPECT_EQ(host.param(Key::matteCrops.edgeColour).value[0], 1);
}

TEST(OfxBundle, BadValuesRenderAsTheirValidNeighbours)
{
    struct Case {
        const char* name;
        double bad, valid;
    };
    const Case cases[] = {
        {Key::density, std::numeric_limits<double>::quiet_NaN(), 60},
        {Key::density, -1e30, 0.01},
        {Key::dropLength, 1e12, 10000},
        {Key::blendMethod, 99, 0},
        {Key::seed, -4, 1},
        {"depthLayers", 40, 4},
    };
    Image source = syntheticSource(Value::depthByte);
    for (const Case& c : cases) {
        TestHost host(NIMBREL_OFX_BUNDLE);
        host.param(c.name).value[0] = c.bad;
        const auto bad = renderWhole(host, source).bytes;
        host.param(c.name).value[0] = c.valid;
        EXPECT_EQ(renderWhole(host, source).bytes, bad) << c.name << " " << c.bad;
    }
}

TEST(OfxBundle, AnAbortStopsTheRenderAndGivesEveryImageBack)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    Image source = syntheticSource(Value::depthFloat);
    Image output = Image::blank(source.bounds, source.depth);
    host.abortRequested = true;
    EXPECT_EQ(host.render(source, output, 0.0, source.bounds), Status::failed);
    EXPECT_GT(host.abortPolls, 0);
    EXPECT_EQ(host.imagesOut, 0);
    EXPECT_TRUE(host.messages.empty());  // the user asked for it: nothing to report
}

TEST(OfxBundle, ImagesOfDifferentDepthsFailWithAnImageFormatErrorAndAMessage)
{
    TestHost host(NIMBREL_OFX_BUNDLE);
    Image source = syntheticSource(Value::depthByte);
    Image output = Image::blank(source.bounds, Value::depthFloat);
    EXPECT_EQ(host.render(source, output, 0.0, source.bounds), Status::errImageFormat);
    EXPECT_EQ(host.imagesOut, 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("different depths"), std::string::npos);
}

}  // namespace
