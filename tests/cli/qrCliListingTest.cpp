// The informational subcommands, checked against the effect's published
// controls, presets and properties.
#include "qrCliRunner.h"

#include <OpenImageIO/imagebufalgo.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace CliTest;

std::string lineWith(const std::string& text, const std::string& needle)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.find(needle) != std::string::npos)
            return line;
    return "";
}

struct ControlDefault {
    const char* key;
    const char* label;
    const char* value;
};

class ParamsListing : public testing::TestWithParam<ControlDefault> {
protected:
    static void SetUpTestSuite()
    {
        ScratchDir dir;
        listing_ = nimbrel(dir, "params");
    }
    static Outcome listing_;
};
Outcome ParamsListing::listing_;

TEST_P(ParamsListing, ShowsEachKeyedControlWithItsLabelAndFreshValue)
{
    ASSERT_EQ(listing_.status, 0) << listing_.err;
    const ControlDefault& c = GetParam();
    const std::string line = lineWith(listing_.out, std::string(" ") + c.key + " ");
    ASSERT_FALSE(line.empty()) << "no line for " << c.key;
    EXPECT_NE(line.find(c.label), std::string::npos) << line;
    EXPECT_NE(line.find(std::string(" ") + c.value + " "), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(FreshInstance, ParamsListing,
    testing::Values(ControlDefault {"postAlphaYesNoNo", "Process", "RGB"},
        ControlDefault {"presets", "Presets", "..."}, ControlDefault {"dropLength", "Drop Length", "50.0"},
        ControlDefault {"angle", "Rain Direction", "-90.0"},
        ControlDefault {"intensity", "Rain Intensity", "100.0"},
        ControlDefault {"density", "Rain Density", "60.0"},
        ControlDefault {"minThresh", "Diffusion Min", "90.0"},
        ControlDefault {"maxThresh", "Diffusion Max", "100.0"},
        ControlDefault {"matteChannel", "Matte", "Source Inverse Luminance"},
        ControlDefault {"seed", "Seed", "13"}, ControlDefault {"blendMethod", "Blending/Method", "None"},
        ControlDefault {"blendMix", "Blending/Blend", "50.0"},
        ControlDefault {"clampBlendAtFloat", "Clamp 0-1 (32 bpc)", "off"},
        ControlDefault {"SourceXMethod", "Source Crops/X Method", "Reflect"},
        ControlDefault {"SourceEdgeColour", "Source Crops/Edge Colour", "#000000"},
        ControlDefault {"MatteRight", "Matte Layer Crops/Right", "100.0"},
        ControlDefault {"MatteTop", "Matte Layer Crops/Top", "100.0"}));

TEST(ParamsListingShape, HasAHeaderAndFortyControlsInHostOrder)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "params");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);  // header
    int expected = 0;
    std::string matteLayer;
    while (std::getline(lines, line)) {
        EXPECT_EQ(std::stoi(line), expected) << line;
        if (expected == 11)
            matteLayer = line;
        ++expected;
    }
    EXPECT_EQ(expected, 40);
    EXPECT_NE(matteLayer.find("Matte Layer"), std::string::npos) << matteLayer;
    EXPECT_NE(matteLayer.find(" layer "), std::string::npos) << matteLayer;
}

struct PresetValues {
    const char* entry;
    const char* density;
    const char* dropLength;
    const char* minThresh;
};

class PresetsListing : public testing::TestWithParam<PresetValues> { };

TEST_P(PresetsListing, ShowsWhatChoosingThePresetSets)
{
    static const Outcome listing = [] {
        ScratchDir dir;
        return nimbrel(dir, "presets");
    }();
    ASSERT_EQ(listing.status, 0) << listing.err;
    const PresetValues& p = GetParam();
    const std::string line = lineWith(listing.out, std::string(p.entry) + ":");
    ASSERT_FALSE(line.empty()) << listing.out;
    EXPECT_NE(line.find(std::string("Rain Density ") + p.density + " "), std::string::npos) << line;
    EXPECT_NE(line.find(std::string("Drop Length ") + p.dropLength + " "), std::string::npos) << line;
    EXPECT_NE(line.find(std::string("Diffusion Min ") + p.minThresh + " "), std::string::npos) << line;
    EXPECT_NE(line.find("Diffusion Max 100.0"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, PresetsListing,
    testing::Values(PresetValues {"Drizzle", "35.0", "45.0", "90.0"},
        PresetValues {"Rain", "60.0", "50.0", "90.0"}, PresetValues {"Shower", "70.0", "70.0", "90.0"},
        PresetValues {"Downpour", "85.0", "85.0", "90.0"},
        PresetValues {"Cats and Dogs", "100.0", "100.0", "90.0"},
        PresetValues {"Night Time", "60.0", "50.0", "80.0"}));

TEST(InfoListing, NamesTheEffectItsCategoryAndMatchName)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "info");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("'eFKT'"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Nimbrel\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Brastor 4\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Nimbrel 1086\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"main\""), std::string::npos) << run.out;
}

TEST(AboutBox, IsWrittenAsAPictureWithContent)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "about -o about.png");
    ASSERT_EQ(run.status, 0) << run.err;
    const OIIO::ImageBuf about = load(dir / "about.png");
    ASSERT_GT(about.spec().width, 0);
    ASSERT_GT(about.spec().height, 0);
    // A blank box would have one colour everywhere.
    const auto stats = OIIO::ImageBufAlgo::computePixelStats(about);
    EXPECT_GT(stats.max[0] - stats.min[0], 0.1f);
}

TEST(AboutBox, IntoAMissingFolderFailsNamingThePath)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "about -o missing/about.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("missing/about.png"), std::string::npos) << run.err;
}

// --version from an installed layout: the program in PREFIX/bin finds the
// plug-in where the install rules put it, and names both places it looked
// when there is none.
TEST(Version, NamesBothVersionsAndFindsTheInstalledPlugin)
{
    ScratchDir dir;
    const std::string installed = "prefix/bin/" NIMBREL_PLUGIN_FROM_BIN;
    const Outcome found = shell(dir,
        "mkdir -p prefix/bin $(dirname " + installed +
            ") && cp \"$NIMBREL\" prefix/bin/ && "
            "cp '" NIMBREL_PLUGIN_PATH "' " +
            installed + " && prefix/bin/nimbrel --version");
    ASSERT_EQ(found.status, 0) << found.err;
    std::istringstream lines(found.out);
    std::string program, plugin;
    std::getline(lines, program);
    std::getline(lines, plugin);
    EXPECT_EQ(program, "nimbrel " NIMBREL_VERSION);
    // The plug-in's property list carries the same version as the project.
    EXPECT_NE(plugin.find("Nimbrel " NIMBREL_VERSION " ("), std::string::npos) << plugin;
    EXPECT_NE(plugin.find("lib/nimbrel/Nimbrel.so"), std::string::npos) << plugin;

    const Outcome missing = shell(dir, "rm " + installed + " && prefix/bin/nimbrel info");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("prefix/plugin/Nimbrel.so or "), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("prefix/lib/nimbrel/Nimbrel.so: no plug-in there"), std::string::npos)
        << missing.err;
}

TEST(Usage, WithoutOrWithAnUnknownSubcommandIsAUsageError)
{
    ScratchDir dir;
    EXPECT_EQ(nimbrel(dir, "").status, 2);
    EXPECT_EQ(nimbrel(dir, "paint x.png").status, 2);
    EXPECT_EQ(nimbrel(dir, "render in.png").status, 2);  // no -o
    EXPECT_EQ(nimbrel(dir, "--help").status, 0);
}

}  // namespace
