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

// The values themselves are the plug-in's (its own tests pin every
// default and preset); the listings must show them keyed and labelled.
TEST(ParamsListing, HasAHeaderAndFortyKeyedControlsInHostOrder)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "params");
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);  // header
    int expected = 0;
    // The plug-in's controls end where the host's own motion section starts.
    while (std::getline(lines, line) && !line.empty())
        EXPECT_EQ(std::stoi(line), expected++) << line;
    EXPECT_EQ(expected, 40);
    struct Row {
        const char *key, *label, *value;
    };
    for (const Row& r : {Row {"postAlphaYesNoNo", "Process", "RGB"}, Row {"density", "Rain Density", "60.0"},
             Row {"matteChannel", "Matte", "Source Inverse Luminance"},
             Row {"blendMethod", "Blending/Method", "None"},
             Row {"clampBlendAtFloat", "Clamp 0-1 (32 bpc)", "off"},
             Row {"SourceEdgeColour", "Source Crops/Edge Colour", "#000000"},
             Row {"MatteTop", "Matte Layer Crops/Top", "100.0"}, Row {"", "Matte Layer", "layer"}}) {
        const std::string found = lineWith(run.out, std::string(" ") + (*r.key ? r.key : r.label) + " ");
        ASSERT_FALSE(found.empty()) << "no line for " << r.label;
        EXPECT_NE(found.find(r.label), std::string::npos) << found;
        EXPECT_NE(found.find(std::string(" ") + r.value + " "), std::string::npos) << found;
    }
}

// What the plug-in greys out shows in the listing, as a host's panel shows
// it; the check box is named alike in the listing and in --verbose, and a
// colour is printed in the notation it is typed in, so either pastes back.
TEST(ParamsListing, ShowsGreyingAndNamesAndColoursAsTheyAreTyped)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "params");
    ASSERT_EQ(run.status, 0) << run.err;
    // At the defaults: Method None, Process RGB, a source matte.
    for (const char* key : {"blendMix", "blendEffect", "blendSrc", "SourceEdgeColourAlpha", "MatteLeft",
             "clampBlendAtFloat"})
        EXPECT_NE(lineWith(run.out, std::string(" ") + key + " ").find("(greyed out)"), std::string::npos)
            << key;
    for (const char* key : {"density", "blendMethod", "SourceLeft"})
        EXPECT_EQ(lineWith(run.out, std::string(" ") + key + " ").find("(greyed out)"), std::string::npos)
            << key;
    const std::string clamp = "Blending/\"Clamp 0-1 (32 bpc)\"";
    EXPECT_NE(lineWith(run.out, " clampBlendAtFloat ").find(clamp), std::string::npos) << run.out;

    save(picture(16, 8, 4, OIIO::TypeDesc::UINT8), dir / "in.png");
    const Outcome verbose = nimbrel(dir,
        "render in.png -o out.png -v --set 'SourceEdgeColour=#20304080' --set blendMethod=Mix "
        "--set '" + clamp + "=on'");
    ASSERT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_NE(lineWith(verbose.err, clamp).find(" on"), std::string::npos) << verbose.err;
    EXPECT_NE(lineWith(verbose.err, "Source Crops/Edge Colour ").find("#20304080"), std::string::npos)
        << verbose.err;
    EXPECT_EQ(lineWith(verbose.err, "Blending/Blend").find("(greyed out)"), std::string::npos) << verbose.err;
}

TEST(Listings, PresetsInfoAndHelpShowTheirLines)
{
    struct Row {
        const char* args;
        std::vector<const char*> lines;  // each the whole of one line of the output
    };
    for (const Row& r :
        {Row {"presets",
             {"Drizzle:  Rain Density 35.0  Drop Length 45.0  Diffusion Min 90.0  Diffusion Max 100.0",
                 "Night Time:  Rain Density 60.0  Drop Length 50.0  Diffusion Min 80.0  "
                 "Diffusion Max 100.0"}},
            Row {"info",
                {"kind = 'eFKT'", "name = \"Nimbrel\"", "catg = \"Brastor 4\"", "eMNA = \"Nimbrel 1086\"",
                    "wx86 = \"main\""}},
            Row {"--help", {"Usage: nimbrel [OPTIONS] SUBCOMMAND"}}}) {
        ScratchDir dir;
        const Outcome run = nimbrel(dir, r.args);
        ASSERT_EQ(run.status, 0) << r.args << "\n" << run.err;
        for (const char* line : r.lines)
            EXPECT_EQ(lineWith(run.out, line), line) << run.out;
    }
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

}  // namespace
