// Rendering through the command line: depths and formats, pixels that must
// pass through unchanged, ordered settings, matte layers, sequences.
#include "qrCliRunner.h"

#include <OpenImageIO/imagebufalgo.h>

#include <gtest/gtest.h>

namespace {

using namespace CliTest;
using OIIO::TypeDesc;

constexpr int kWidth = 96;
constexpr int kHeight = 64;

struct DepthCase {
    const char* name;
    const char* input;  // file name, whose extension picks the format
    TypeDesc inputType;
    const char* depthFlag;  // "" for the default
    const char* output;
    TypeDesc outputType;
    float tolerance;  // of a picture passed through unchanged
    const char* compression = "";  // the output file's method (it keeps no level), when checked
};

std::ostream& operator<<(std::ostream& os, const DepthCase& c)
{
    return os << c.name;
}

class RenderDepth : public testing::TestWithParam<DepthCase> { };

// With no rain intensity, no blend and Process RGB, the effect must hand the
// picture back as it was: this checks both file conversions at each depth.
TEST_P(RenderDepth, ZeroIntensityGivesThePictureBack)
{
    const DepthCase& c = GetParam();
    ScratchDir dir;
    const OIIO::ImageBuf input = picture(kWidth, kHeight, 4, c.inputType);
    save(input, dir / c.input);
    const Outcome run = nimbrel(
        dir, std::string("render ") + c.input + " -o " + c.output + " " + c.depthFlag + " --set intensity=0");
    ASSERT_EQ(run.status, 0) << run.err;
    const OIIO::ImageBuf output = load(dir / c.output);
    EXPECT_EQ(output.nativespec().format, c.outputType);
    EXPECT_LE(maxDifference(load(dir / c.input), output), c.tolerance);
    if (*c.compression) {
        EXPECT_EQ(output.nativespec().get_string_attribute("compression"), std::string(c.compression));
    }
}

// 16-bit hosts count to 32768, files to 65535: one host step is two file steps.
const DepthCase kDepths[] = {
    {"png8", "in.png", TypeDesc::UINT8, "", "out.png", TypeDesc::UINT8, 0.0f},
    {"png16", "in.png", TypeDesc::UINT16, "", "out.png", TypeDesc::UINT16, 1.01f / 65535},
    {"exrFloat", "in.exr", TypeDesc::FLOAT, "", "out.exr", TypeDesc::FLOAT, 1e-6f, "none"},
    {"exrDeflate", "in.exr", TypeDesc::FLOAT, "--compression 4", "out.exr", TypeDesc::FLOAT, 1e-6f, "zip"},
    {"png8At16", "in.png", TypeDesc::UINT8, "--depth 16", "out.png", TypeDesc::UINT16, 1.01f / 65535},
    {"png8At32", "in.png", TypeDesc::UINT8, "--depth 32", "out.exr", TypeDesc::FLOAT, 1e-6f},
    {"tiff16", "in.tif", TypeDesc::UINT16, "", "out.tif", TypeDesc::UINT16, 1.01f / 65535, "zip"},
    {"tiffStored", "in.tif", TypeDesc::UINT16, "--compression 0", "out.tif", TypeDesc::UINT16, 1.01f / 65535,
        "none"},
};
INSTANTIATE_TEST_SUITE_P(EveryDepth, RenderDepth, testing::ValuesIn(kDepths),
    [](const auto& info) { return std::string(info.param.name); });

// Tiled files, with partial tiles at the right and bottom edges, read as
// scanline files do.
TEST(RenderTiled, TiledInputGivesThePictureBack)
{
    ScratchDir dir;
    OIIO::ImageBuf input = picture(kWidth, kHeight, 4, TypeDesc::FLOAT);
    input.set_write_tiles(40, 24);
    ASSERT_TRUE(input.write(dir / "in.exr")) << input.geterror();
    const Outcome run = nimbrel(dir, "render in.exr -o out.exr --set intensity=0");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_LE(maxDifference(load(dir / "in.exr"), load(dir / "out.exr")), 1e-6f);
}

// An input without alpha comes out opaque; a format without alpha gets
// the colour only.
TEST(RenderAlpha, FollowsTheInputAndTheOutputFormat)
{
    ScratchDir dir;
    save(picture(kWidth, kHeight, 3, TypeDesc::UINT8), dir / "rgb.png");
    ASSERT_EQ(nimbrel(dir, "render rgb.png -o out.png").status, 0);
    const OIIO::ImageBuf out = load(dir / "out.png");
    ASSERT_EQ(out.spec().nchannels, 4);
    EXPECT_EQ(OIIO::ImageBufAlgo::computePixelStats(out).min[3], 1.0f);
    ASSERT_EQ(nimbrel(dir, "render out.png -o out.jpg").status, 0);
    EXPECT_EQ(load(dir / "out.jpg").spec().nchannels, 3);
}

TEST(RenderMode, ClassicAndSmartRenderTheSameFrame)
{
    for (const char* depth : {"8", "16"}) {
        ScratchDir dir;
        save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in.png");
        const std::string common = std::string("render in.png --depth ") + depth;
        ASSERT_EQ(nimbrel(dir, common + " -o smart.png").status, 0);
        ASSERT_EQ(nimbrel(dir, common + " -o classic.png --render classic").status, 0);
        EXPECT_EQ(maxDifference(load(dir / "smart.png"), load(dir / "classic.png")), 0.0f) << depth;
    }
}

// "Cats and Dogs" sets density 100 and drop length 100 (diffusion stays at
// its defaults), so a later --set wins over it and an earlier one does not.
TEST(RenderSettings, PresetsAndSetsActInCommandLineOrderOnControlsNamedAnyWay)
{
    ScratchDir dir;
    save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in.png");
    auto render = [&](const std::string& out, const std::string& args) {
        const Outcome run = nimbrel(dir, "render in.png -o " + out + " " + args);
        EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
    };
    render("presetThenSet.png", "--preset \"Cats and Dogs\" --set density=35");
    render("sameBySets.png", "--set density=35 --set dropLength=100");
    render("setThenPreset.png", "--set density=35 --preset \"Cats and Dogs\"");
    render("presetOnly.png", "--set \"Presets=Cats and Dogs\"");
    EXPECT_EQ(maxDifference(load(dir / "presetThenSet.png"), load(dir / "sameBySets.png")), 0.0f);
    EXPECT_EQ(maxDifference(load(dir / "setThenPreset.png"), load(dir / "presetOnly.png")), 0.0f);
    EXPECT_GT(maxDifference(load(dir / "presetThenSet.png"), load(dir / "presetOnly.png")), 0.0f);
    // Keys, labels and group paths name the same control.
    render("key.png", "--set SourceXMethod=Wrap --set seed=7");
    render("label.png", "--set \"Source Crops/X Method=Wrap\" --set Seed=7");
    EXPECT_EQ(maxDifference(load(dir / "key.png"), load(dir / "label.png")), 0.0f);
}

// A colour's alpha and its percentage slider are kept in step by the
// plug-in's own reaction to the change, which the listing shows.
TEST(RenderSettings, EdgeColourAlphaFollowsTheColourThroughThePlugin)
{
    ScratchDir dir;
    save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in.png");
    const Outcome run = nimbrel(dir, "render in.png -o out.png -v --set \"SourceEdgeColour=#FF000080\"");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::size_t at = run.err.find("Source Crops/Edge Colour Alpha");
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_NE(run.err.substr(at, run.err.find('\n', at) - at).find(" 50.2"), std::string::npos) << run.err;
}

// A connected layer turns a source matte on without its pixels being read,
// and does nothing under "None": both are said, and the renders show it.
TEST(RenderMatte, LayerWhosePixelsAreUnusedIsWarnedAboutTruthfully)
{
    ScratchDir dir;
    save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in.png");
    save(picture(kWidth / 2, kHeight / 2, 4, TypeDesc::UINT8), dir / "other.png");
    const std::string none = " --set Matte=None";
    ASSERT_EQ(nimbrel(dir, "render in.png -o plain.png").status, 0);
    ASSERT_EQ(nimbrel(dir, "render in.png -o plainNone.png" + none).status, 0);
    const Outcome source = nimbrel(dir, "render in.png -o source.png --matte-layer in.png");
    const Outcome other = nimbrel(dir, "render in.png -o withOther.png --matte-layer other.png");
    const Outcome off = nimbrel(dir, "render in.png -o off.png --matte-layer in.png" + none);
    ASSERT_EQ(source.status + other.status + off.status, 0) << source.err << other.err << off.err;
    EXPECT_NE(source.err.find("only turns that source matte on"), std::string::npos) << source.err;
    EXPECT_NE(off.err.find("has no effect while Matte is \"None\""), std::string::npos) << off.err;
    EXPECT_GT(maxDifference(load(dir / "plain.png"), load(dir / "source.png")), 0.0f);
    EXPECT_EQ(maxDifference(load(dir / "source.png"), load(dir / "withOther.png")), 0.0f);
    EXPECT_EQ(maxDifference(load(dir / "plainNone.png"), load(dir / "off.png")), 0.0f);
}

TEST(RenderSequence, StillInputGetsAnimatedRainInEveryFrame)
{
    ScratchDir dir;
    save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in.png");
    const Outcome run = nimbrel(dir, "render in.png -o 'rain.####.png' --frames 8-10");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.files(),
        (std::vector<std::string> {"in.png", "rain.0008.png", "rain.0009.png", "rain.0010.png"}));
    // Not a terminal: no progress bar.
    EXPECT_EQ(run.err.find("frames"), std::string::npos) << run.err;
    EXPECT_GT(maxDifference(load(dir / "rain.0008.png"), load(dir / "rain.0009.png")), 0.0f);
    // Frame 9 of the sequence is the single frame 9.
    ASSERT_EQ(nimbrel(dir, "render in.png -o single.png --frame 9").status, 0);
    EXPECT_EQ(maxDifference(load(dir / "rain.0009.png"), load(dir / "single.png")), 0.0f);
}

// A black matte layer keeps the rain off, a white one lets it through.
TEST(RenderSequence, InputAndMatteFramesFollowTheirPatterns)
{
    ScratchDir dir;
    for (int f = 1; f <= 2; ++f) {
        OIIO::ImageBuf frame = picture(kWidth, kHeight, 4, TypeDesc::UINT8);
        const float shade[4] = {0.2f * f, 0.2f * f, 0.2f * f, 1.0f};
        OIIO::ImageBufAlgo::fill(frame, shade, OIIO::ROI(0, kWidth / 2, 0, kHeight));
        save(frame, dir / ("in_0" + std::to_string(f) + ".png"));
        OIIO::ImageBuf matte(OIIO::ImageSpec(kWidth, kHeight, 3, TypeDesc::UINT8));
        const float level[3] = {f == 1 ? 0.0f : 1.0f, f == 1 ? 0.0f : 1.0f, f == 1 ? 0.0f : 1.0f};
        OIIO::ImageBufAlgo::fill(matte, level);
        save(matte, dir / ("m" + std::to_string(f) + ".png"));
    }
    const Outcome run = nimbrel(dir,
        "render in_%02d.png -o 'out%d.png' --frames 1-2 "
        "--matte-layer 'm#.png' --set 'Matte=Matte Layer Luminance'");
    ASSERT_EQ(run.status, 0) << run.err;
    // Frame 1 has a black matte (no rain), frame 2 a white one.
    EXPECT_EQ(maxDifference(load(dir / "in_01.png"), load(dir / "out1.png")), 0.0f);
    EXPECT_GT(maxDifference(load(dir / "in_02.png"), load(dir / "out2.png")), 0.02f);
}

}  // namespace
