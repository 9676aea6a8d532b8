// The developer's preset file. Failures here mean a file name that sorts or
// collides wrongly, values in host units instead of the setters' units, or
// lines for types that have no setter.
#include "qrAEPresetFile.h"
#include "qrAEWrapperHost.h"
#include "qrAdapterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <unistd.h>

namespace {

using namespace Quarn::AfterEffects;

std::string textOf(const std::vector<Wrapper::PresetValue>& values)
{
    std::FILE* f = std::tmpfile();
    writePresetText(f, values);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += char(c);
    std::fclose(f);
    return text;
}

TEST(PresetFileName, IsTimeThenDateWithZeroBasedMonth)
{
    struct Case {
        int year, month0, day, hour, minute, second;
        const char* name;
    };
    const Case cases[] = {
        {2007, 2, 5, 14, 3, 9, "dir//140309_05022007.preset"},  // 5 March
        {2026, 0, 31, 0, 0, 0, "dir//000000_31002026.preset"},  // January is 00
        {1999, 11, 1, 23, 59, 58, "dir//235958_01111999.preset"},
    };
    for (const Case& c : cases) {
        std::tm t {};
        std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) =
            std::tuple(c.year - 1900, c.month0, c.day, c.hour, c.minute, c.second);
        EXPECT_EQ(presetFileName("dir", t), c.name);
    }
}

TEST(PresetFileText, OneSetterLinePerTypeThatHasOne)
{
    using namespace Wrapper;
    const std::vector<PresetValue> values {
        {"flag", kTypeBool, {1, 0, 0, 0}},
        {"length", kTypeDouble, {45, 0, 0, 0}},
        {"seed", kTypeInt, {13, 0, 0, 0}},
        {"tint", kTypeRGB, {1, 0.5, 0, 0}},
        {"edge", kTypeRGBA, {0, 0, 0, 1}},
        {"offset", kTypeDouble2, {1.5, -2, 0, 0}},
        {"density", kTypeScale, {0.35, 0, 0, 0}},
        {"angle", kTypeAngle, {-1.5, 0, 0, 0}},
        {"method", kTypeChoice, {19, 0, 0, 0}},
    };
    EXPECT_EQ(textOf(values),
        "case(Quarn::<PluginName>Presets::e<PresetName>): {\n"
        "\tsetBoolParam(\"flag\",1);\n"
        "\tsetDoubleParam(\"length\",45.000000);\n"
        "\tsetIntParam(\"seed\",13);\n"
        "\tsetRGBParam(\"tint\",QrRGBColF(1.000000,0.500000,0.000000));\n"
        "\tsetRGBAParam(\"edge\",QrRGBAColF(0.000000,0.000000,0.000000,1.000000));\n"
        "\tsetDoubleParam(\"offset\",HvVec2(1.500000,-2.000000));\n"
        "\tsetScaleParam(\"density\",0.350000);\n"
        "\tsetAngleParam(\"angle\",-1.500000);\n"
        "}\n");
}

TEST(PresetFileText, AdapterValuesAreInSetterUnitsAndKeyOrder)
{
    HandMadeCommand cmd;
    Wrapper::Host host(&cmd.in, &cmd.out, cmd.params.data());
    host.bindRainMappings();
    const std::string text = textOf(host.presetValues());
    for (const char* line : {"\tsetScaleParam(\"density\",0.600000);\n",
             "\tsetAngleParam(\"angle\",-1.570796);\n", "\tsetDoubleParam(\"dropLength\",50.000000);\n",
             "\tsetIntParam(\"seed\",13);\n", "\tsetBoolParam(\"clampBlendAtFloat\",0);\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("matteChannel"), std::string::npos) << "choices have no line";
    // Keys in name order: upper case sorts first.
    EXPECT_LT(text.find("\"MatteEdgeColour\""), text.find("\"SourceEdgeColour\""));
    EXPECT_LT(text.find("\"SourceTop\""), text.find("\"angle\""));
}

TEST(PresetFile, IsWrittenIntoTheFolderAndReplacedWithinOneSecond)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("nimbrel_preset_test_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::vector<Wrapper::PresetValue> first {{"seed", Wrapper::kTypeInt, {1, 0, 0, 0}}};
    const std::vector<Wrapper::PresetValue> second {{"seed", Wrapper::kTypeInt, {2, 0, 0, 0}}};
    ASSERT_TRUE(writePresetFile(dir.string(), first));
    ASSERT_TRUE(writePresetFile(dir.string(), second));
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files.push_back(entry.path());
    // Two files only when the clock ticked over between the writes.
    ASSERT_GE(files.size(), 1u);
    ASSERT_LE(files.size(), 2u);
    std::sort(files.begin(), files.end());
    std::stringstream content;
    content << std::ifstream(files.back()).rdbuf();  // closed again before the folder goes
    EXPECT_NE(content.str().find("setIntParam(\"seed\",2);"), std::string::npos);
    EXPECT_EQ(files.back().extension(), ".preset");
    EXPECT_FALSE(writePresetFile((dir / "no" / "such" / "folder").string(), first));
    std::filesystem::remove_all(dir);
}

}  // namespace
