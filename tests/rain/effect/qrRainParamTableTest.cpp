// The rain effect's forty host parameters, checked cell by cell against a
// transcription of the control list written out here independently.
#include "effect/qrRainParamTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace Quarn::Wrapper::Rain;

namespace {

using T = HostParamType;
using I = InternalType;

constexpr uint32_t S = 0x40;  // supervise
constexpr uint32_t C = 0x02;  // cannot time-vary
constexpr uint32_t SC = 0x20;  // start collapsed

struct Expected {
    int index;
    const char* label;
    T type;
    const char* key;
    I internal;
    double def, sMin, sMax, vMin, vMax;
    uint32_t flags;
    int decimals;
    int choiceCount;
    int popupDefault;
};

// index, label, type, key, internal type, default, slider min/max, valid
// min/max, flags, decimals, choice count, popup default (1-based).
const Expected kExpected[40] = {
    {0, "", T::inputLayer, "Source", I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1, "About", T::customArea, nullptr, I::none, 0, 0, 0, 0, 0, S | C, 0, 0, 0},
    {2, "Process", T::popup, "postAlphaYesNoNo", I::choice, 1, 0, 0, 0, 0, C, 0, 2, 1},
    {3, "Presets", T::popup, "presets", I::choice, 1, 0, 0, 0, 0, S | C, 0, 7, 1},
    {4, "Drop Length", T::floatSlider, "dropLength", I::number, 50, 0, 500, 0, 10000, SC, 1, 0, 0},
    {5, "Rain Direction", T::angle, "angle", I::angle, -90, 0, 0, 0, 0, 0, 0, 0, 0},
    {6, "Rain Intensity", T::floatSlider, "intensity", I::scale, 100, 0, 100, 0, 5000, SC, 1, 0, 0},
    {7, "Rain Density", T::floatSlider, "density", I::scale, 60, 0.01, 100, 0.01, 5000, SC, 1, 0, 0},
    {8, "Diffusion Min", T::floatSlider, "minThresh", I::scale, 90, 0, 100, 0, 100, SC, 1, 0, 0},
    {9, "Diffusion Max", T::floatSlider, "maxThresh", I::scale, 100, 0, 100, 0, 100, SC, 1, 0, 0},
    {10, "Matte", T::popup, "matteChannel", I::choice, 3, 0, 0, 0, 0, C, 0, 9, 3},
    {11, "Matte Layer", T::layer, "Matte", I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {12, "Seed", T::intSlider, "seed", I::integer, 13, 1, 100, 1, 5000, SC | C, 0, 0, 0},
    {13, "Blending", T::groupStart, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {14, "Method", T::popup, "blendMethod", I::choice, 1, 0, 0, 0, 0, C, 0, 25, 1},
    {15, "Blend", T::floatSlider, "blendMix", I::number, 50, 0, 100, 0, 100, 0, 1, 0, 0},
    {16, "Effect Gain", T::floatSlider, "blendEffect", I::number, 100, 0, 200, 0, 5000, 0, 1, 0, 0},
    {17, "Source Gain", T::floatSlider, "blendSrc", I::number, 100, 0, 200, 0, 5000, 0, 1, 0, 0},
    {18, "", T::checkBox, "clampBlendAtFloat", I::flag, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {19, "", T::groupEnd, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {20, "Source Crops", T::groupStart, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {21, "X Method", T::popup, "SourceXMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3},
    {22, "Y Method", T::popup, "SourceYMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3},
    {23, "Edge Colour", T::colour, "SourceEdgeColour", I::rgba, 0, 0, 0, 0, 0, S, 0, 0, 0},
    {24, "Edge Colour Alpha", T::floatSlider, "SourceEdgeColourAlpha", I::number, 100, 0, 100, 0, 100,
        S | SC | C, 1, 0, 0},
    {25, "Left", T::floatSlider, "SourceLeft", I::number, 0, 0, 100, 0, 100, 0, 1, 0, 0},
    {26, "Right", T::floatSlider, "SourceRight", I::number, 100, 0, 100, 0, 100, 0, 1, 0, 0},
    {27, "Bottom", T::floatSlider, "SourceBottom", I::number, 0, 0, 100, 0, 100, 0, 1, 0, 0},
    {28, "Top", T::floatSlider, "SourceTop", I::number, 100, 0, 100, 0, 100, 0, 1, 0, 0},
    {29, "", T::groupEnd, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {30, "Matte Layer Crops", T::groupStart, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {31, "X Method", T::popup, "MatteXMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3},
    {32, "Y Method", T::popup, "MatteYMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3},
    {33, "Edge Colour", T::colour, "MatteEdgeColour", I::rgba, 0, 0, 0, 0, 0, S, 0, 0, 0},
    {34, "Edge Colour Alpha", T::floatSlider, "MatteEdgeColourAlpha", I::number, 100, 0, 100, 0, 100,
        S | SC | C, 1, 0, 0},
    {35, "Left", T::floatSlider, "MatteLeft", I::number, 0, 0, 100, 0, 100, 0, 1, 0, 0},
    {36, "Right", T::floatSlider, "MatteRight", I::number, 100, 0, 100, 0, 100, 0, 1, 0, 0},
    {37, "Bottom", T::floatSlider, "MatteBottom", I::number, 0, 0, 100, 0, 100, 0, 1, 0, 0},
    {38, "Top", T::floatSlider, "MatteTop", I::number, 100, 0, 100, 0, 100, 0, 1, 0, 0},
    {39, "", T::groupEnd, nullptr, I::none, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};

std::string text(const char* s)
{
    return s ? s : "(none)";
}

}  // namespace

TEST(RainParamTable, EveryCellMatchesTheControlList)
{
    const auto& table = rainHostParams();
    ASSERT_EQ(table.size(), 40u);
    for (int i = 0; i < 40; ++i) {
        const RainHostParam& got = table[size_t(i)];
        const Expected& want = kExpected[i];
        SCOPED_TRACE("index " + std::to_string(i) + " " + want.label);
        EXPECT_EQ(got.index, want.index);
        EXPECT_STREQ(got.label, want.label);
        EXPECT_EQ(got.type, want.type);
        EXPECT_EQ(text(got.key), text(want.key));
        EXPECT_EQ(got.internal, want.internal);
        EXPECT_EQ(got.defaultValue, want.def);
        EXPECT_EQ(got.sliderMin, want.sMin);
        EXPECT_EQ(got.sliderMax, want.sMax);
        EXPECT_EQ(got.validMin, want.vMin);
        EXPECT_EQ(got.validMax, want.vMax);
        EXPECT_EQ(got.flags, want.flags);
        EXPECT_EQ(got.precision, want.decimals);
        EXPECT_EQ(got.choiceCount, want.choiceCount);
        EXPECT_EQ(got.popupDefault, want.popupDefault);
    }
}

TEST(RainParamTable, PercentSlidersAreTheFractionAndSliderValueControls)
{
    for (const RainHostParam& p : rainHostParams()) {
        const bool percentControl = p.type == T::floatSlider && std::strcmp(p.key, "dropLength") != 0;
        EXPECT_EQ(p.percent, percentControl) << p.index;
    }
}

TEST(RainParamTable, ChoiceListsAreWordForWord)
{
    const struct {
        int index;
        const char* choices;
    } rows[] = {
        {2, "RGB|RGBA"},
        {3, "...|Drizzle|Rain|Shower|Downpour|Cats and Dogs|Night Time"},
        {10,
            "None|Source Luminance|Source Inverse Luminance|Source Alpha|Source Inverse Alpha|"
            "Matte Layer Luminance|Matte Layer Inverse Luminance|Matte Layer Alpha|"
            "Matte Layer Inverse Alpha"},
        {14,
            "None|Mix|Add|Difference|Subtract Source|Subtract Effect|Darken|Lighten|Colour|"
            "Luminosity|Hue|Saturation|Screen|Multiply|Overlay|Exclusion|ColourBurn|ColourDodge|"
            "HardLight|LinearBurn|LinearDodge|LinearLight|SoftLight|Composite Effect|"
            "Composite Source"},
        {21, "Colour|Repeat|Reflect|Wrap"},
        {22, "Colour|Repeat|Reflect|Wrap"},
        {31, "Colour|Repeat|Reflect|Wrap"},
        {32, "Colour|Repeat|Reflect|Wrap"},
    };
    for (const auto& row : rows) {
        const RainHostParam& p = rainHostParams()[size_t(row.index)];
        ASSERT_NE(p.choices, nullptr) << row.index;
        EXPECT_STREQ(p.choices, row.choices);
        const std::string list = p.choices;
        EXPECT_EQ(int(std::count(list.begin(), list.end(), '|')) + 1, p.choiceCount) << row.index;
    }
}

// The method menu maps its positions to blend method numbers; every other
// popup maps a position to the same value.
TEST(RainParamTable, PopupTablesMapMenuPositionsToValues)
{
    const int methodNumber[25] = {
        0, 19, 22, 5, 21, 20, 4, 9, 1, 13, 8, 16, 17, 14, 15, 6, 2, 3, 7, 10, 11, 12, 18, 26, 25};
    for (const char* key : {"blendMethod", "postAlphaYesNoNo", "presets", "matteChannel", "SourceXMethod",
             "SourceYMethod", "MatteXMethod", "MatteYMethod"}) {
        const RainHostParam* p = findRainHostParam(key);
        ASSERT_NE(p, nullptr) << key;
        const auto table = rainPopupTable(*p);
        ASSERT_EQ(int(table.size()), p->choiceCount) << key;
        for (int k = 0; k < p->choiceCount; ++k) {
            EXPECT_EQ(table[size_t(k)].first, k) << key;
            EXPECT_EQ(table[size_t(k)].second, std::string(key) == "blendMethod" ? methodNumber[k] : k)
                << key;
        }
    }
    EXPECT_TRUE(rainPopupTable(*findRainHostParam("seed")).empty());
}

TEST(RainParamTable, CheckBoxAndColourDefaults)
{
    const RainHostParam* clamp = findRainHostParam("clampBlendAtFloat");
    ASSERT_NE(clamp, nullptr);
    EXPECT_STREQ(clamp->checkBoxText, "Clamp 0-1 (32 bpc)");
    for (const char* key : {"SourceEdgeColour", "MatteEdgeColour"}) {
        const HostColour8 c = findRainHostParam(key)->colourDefault;
        EXPECT_EQ(c.alpha, 255) << key;
        EXPECT_EQ(c.red + c.green + c.blue, 0) << key;
    }
}

TEST(RainParamTable, LookupByKeyFindsTheRowAndUnknownKeysFindNothing)
{
    EXPECT_EQ(findRainHostParam("density")->index, 7);
    EXPECT_EQ(findRainHostParam("Matte")->index, 11);
    EXPECT_EQ(findRainHostParam("savePreset"), nullptr);
    EXPECT_EQ(findRainHostParam(""), nullptr);
}

TEST(RainParamTable, SliderDecimalsFollowTheSliderMaximum)
{
    EXPECT_EQ(sliderPrecision(10.0), 2);
    EXPECT_EQ(sliderPrecision(0.5), 2);
    EXPECT_EQ(sliderPrecision(10.5), 1);
}
