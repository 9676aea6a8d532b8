// The OpenFX plug-in against the nimbrel command line: the same picture,
// depth, frame, scale, pixel aspect and controls give the same pixels.
#ifdef NIMBREL_CLI
#include "qrOfxTestSupport.h"

#include "effect/qrRainKeys.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Quarn::Ofx;
using namespace Quarn::Ofx::Testing;
namespace Key = Quarn::Wrapper::Rain::Key;

struct Case {
    const char* name;
    const char* depth;
    const char* cliArgs;  // after "render IN -o OUT"
    const char* extension;
    double time = 0.0, scale = 1.0, pixelAspect = 1.0;
    std::function<void(TestHost&)> setUp = {};
    bool matte = false;  // the picture is also the matte layer (General context)
};

std::ostream& operator<<(std::ostream& os, const Case& c)
{
    return os << c.name;
}

class AgainstTheCommandLine : public ::testing::TestWithParam<Case> { };

TEST_P(AgainstTheCommandLine, GivesTheSamePixels)
{
    const Case& c = GetParam();
    ScratchDir dir(std::string("cli-") + c.name);
    const std::string in = dir / "street.png", out = dir / (std::string("rain.") + c.extension);
    ASSERT_EQ(run(std::string(NIMBREL_SAMPLE) + " " + in + " 96 64 >/dev/null"), 0);
    const std::string matteArgs = c.matte ? " --matte-layer " + in : "";
    ASSERT_EQ(run(std::string("NIMBREL_PLUGIN=") + NIMBREL_PLUGIN_PATH + " " + NIMBREL_CLI + " render " + in +
                  " -o " + out + " --quiet " + c.cliArgs + matteArgs),
        0);

    TestHost host(NIMBREL_OFX_BUNDLE, c.matte ? Value::contextGeneral : Value::contextFilter);
    if (c.setUp)
        c.setUp(host);
    Image source = hostImage(readPicture(in, c.depth), c.depth);
    source.pixelAspect = c.pixelAspect;
    Image matte = source;
    Image output = Image::blank(source.bounds, c.depth);
    ASSERT_EQ(host.render(source, output, c.time, source.bounds, c.scale, c.matte ? &matte : nullptr), Status::ok);
    EXPECT_EQ(maxDifference(pictureOf(output), readPicture(out, c.depth)), 0.0f);
}

const Case kCases[] = {
    {"Default8", Value::depthByte, "--depth 8", "png"},
    {"Default16", Value::depthShort, "--depth 16", "png"},
    {"DefaultFloat", Value::depthFloat, "--depth 32", "exr"},
    {"Frame5", Value::depthByte, "--depth 8 --frame 5", "png", 5.0},
    {"HalfScale", Value::depthShort, "--depth 16 --downsample 2", "png", 0.0, 0.5},
    {"WidePixels", Value::depthByte, "--depth 8 --pixel-aspect 2", "png", 0.0, 1.0, 2.0},
    {"PresetDownpour", Value::depthByte, "--depth 8 --preset Downpour", "png", 0.0, 1.0, 1.0,
        [](TestHost& h) { h.param(Key::presets).value[0] = 4; }},
    {"ScreenRgba", Value::depthFloat, "--depth 32 --set blendMethod=Screen --set postAlphaYesNoNo=RGBA", "exr",
        0.0, 1.0, 1.0,
        [](TestHost& h) {
            h.param(Key::blendMethod).value[0] = 12;
            h.param(Key::process).value[0] = 1;
        }},
    {"CropsAndEdge16", Value::depthShort,
        "--depth 16 --set SourceRight=60 --set SourceXMethod=Colour --set SourceEdgeColour=#20304080", "tif", 0.0,
        1.0, 1.0,
        [](TestHost& h) {
            h.param(Key::sourceCrops.right).value[0] = 60;
            h.param(Key::sourceCrops.xMethod).value[0] = 0;
            h.param(Key::sourceCrops.edgeColour).value = {0x20 / 255.0, 0x30 / 255.0, 0x40 / 255.0, 0x80 / 255.0};
        }},
    {"FallingInLayers8", Value::depthByte,
        "--depth 8 --frame 3 --set \"Fall Speed=6\" --set \"Depth Layers=3\" --set \"Wind Variation=20\"", "png",
        3.0, 1.0, 1.0,
        [](TestHost& h) {
            h.param("fallSpeed").value[0] = 6;
            h.param("depthLayers").value[0] = 3;
            h.param("windVariation").value[0] = 20;
        }},
    {"MatteLayerLuminance16", Value::depthShort, "--depth 16 --set \"Matte=Matte Layer Luminance\"", "tif", 0.0,
        1.0, 1.0, [](TestHost& h) { h.param(Key::matteChannel).value[0] = 5; }, true},
    {"SourceInverseLuminanceWithALayer8", Value::depthByte, "--depth 8", "png", 0.0, 1.0, 1.0, {}, true},
};

INSTANTIATE_TEST_SUITE_P(OfxBundle, AgainstTheCommandLine, ::testing::ValuesIn(kCases),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
#endif
