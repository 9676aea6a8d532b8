// The rain effect's forty host parameters, checked cell by cell against a
// transcription of the control list written out here independently, and the
// internal parameters the effect builds from them: types, units, defaults,
// ranges and choices as the effect reads them.
#include "effect/qrRainParamSet.h"
#include "effect/qrRainParamTable.h"
#include "qrParams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numbers>
#include <string>
#include <tuple>

using namespace Quarn::Param;
using namespace Quarn::Wrapper::Rain;

namespace {

using T = HostParamType;
using I = InternalType;

constexpr uint32_t S = 0x40;  // supervise
constexpr uint32_t C = 0x02;  // cannot time-vary
constexpr uint32_t SC = 0x20;  // start collapsed

constexpr const char* kEdge = "Colour|Repeat|Reflect|Wrap";

// Named as the product's fields, so that one function lists the cells of both.
struct Expected {
    const char* label;
    T type;
    const char* key = nullptr;
    I internal = I::none;
    double defaultValue = 0, sliderMin = 0, sliderMax = 0, validMin = 0, validMax = 0;
    uint32_t flags = 0;
    int precision = 0, choiceCount = 0, popupDefault = 0;
    const char* choices = nullptr;
};

// label, type, key, internal type, default, slider min/max, valid min/max,
// flags, decimals, choice count, popup default (1-based), choices.
const Expected kExpected[40] = {
    {"", T::inputLayer, "Source"},
    {"About", T::customArea, nullptr, I::none, 0, 0, 0, 0, 0, S | C},
    {"Process", T::popup, "postAlphaYesNoNo", I::choice, 1, 0, 0, 0, 0, C, 0, 2, 1, "RGB|RGBA"},
    {"Presets", T::popup, "presets", I::choice, 1, 0, 0, 0, 0, S | C, 0, 7, 1,
        "...|Drizzle|Rain|Shower|Downpour|Cats and Dogs|Night Time"},
    {"Drop Length", T::floatSlider, "dropLength", I::number, 50, 0, 500, 0, 10000, SC, 1},
    {"Rain Direction", T::angle, "angle", I::angle, -90},
    {"Rain Intensity", T::floatSlider, "intensity", I::scale, 100, 0, 100, 0, 5000, SC, 1},
    {"Rain Density", T::floatSlider, "density", I::scale, 60, 0.01, 100, 0.01, 5000, SC, 1},
    {"Diffusion Min", T::floatSlider, "minThresh", I::scale, 90, 0, 100, 0, 100, SC, 1},
    {"Diffusion Max", T::floatSlider, "maxThresh", I::scale, 100, 0, 100, 0, 100, SC, 1},
    {"Matte", T::popup, "matteChannel", I::choice, 3, 0, 0, 0, 0, C, 0, 9, 3,
        "None|Source Luminance|Source Inverse Luminance|Source Alpha|Source Inverse Alpha|"
        "Matte Layer Luminance|Matte Layer Inverse Luminance|Matte Layer Alpha|Matte Layer Inverse Alpha"},
    {"Matte Layer", T::layer, "Matte"},
    {"Seed", T::intSlider, "seed", I::integer, 13, 1, 100, 1, 5000, SC | C},
    {"Blending", T::groupStart},
    {"Method", T::popup, "blendMethod", I::choice, 1, 0, 0, 0, 0, C, 0, 25, 1,
        "None|Mix|Add|Difference|Subtract Source|Subtract Effect|Darken|Lighten|Colour|Luminosity|Hue|"
        "Saturation|Screen|Multiply|Overlay|Exclusion|ColourBurn|ColourDodge|HardLight|LinearBurn|"
        "LinearDodge|LinearLight|SoftLight|Composite Effect|Composite Source"},
    {"Blend", T::floatSlider, "blendMix", I::number, 50, 0, 100, 0, 100, 0, 1},
    {"Effect Gain", T::floatSlider, "blendEffect", I::number, 100, 0, 200, 0, 5000, 0, 1},
    {"Source Gain", T::floatSlider, "blendSrc", I::number, 100, 0, 200, 0, 5000, 0, 1},
    {"", T::checkBox, "clampBlendAtFloat", I::flag},
    {"", T::groupEnd},
    {"Source Crops", T::groupStart},
    {"X Method", T::popup, "SourceXMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3, kEdge},
    {"Y Method", T::popup, "SourceYMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3, kEdge},
    {"Edge Colour", T::colour, "SourceEdgeColour", I::rgba, 0, 0, 0, 0, 0, S},
    {"Edge Colour Alpha", T::floatSlider, "SourceEdgeColourAlpha", I::number, 100, 0, 100, 0, 100, S | SC | C,
        1},
    {"Left", T::floatSlider, "SourceLeft", I::number, 0, 0, 100, 0, 100, 0, 1},
    {"Right", T::floatSlider, "SourceRight", I::number, 100, 0, 100, 0, 100, 0, 1},
    {"Bottom", T::floatSlider, "SourceBottom", I::number, 0, 0, 100, 0, 100, 0, 1},
    {"Top", T::floatSlider, "SourceTop", I::number, 100, 0, 100, 0, 100, 0, 1},
    {"", T::groupEnd},
    {"Matte Layer Crops", T::groupStart},
    {"X Method", T::popup, "MatteXMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3, kEdge},
    {"Y Method", T::popup, "MatteYMethod", I::choice, 3, 0, 0, 0, 0, C, 0, 4, 3, kEdge},
    {"Edge Colour", T::colour, "MatteEdgeColour", I::rgba, 0, 0, 0, 0, 0, S},
    {"Edge Colour Alpha", T::floatSlider, "MatteEdgeColourAlpha", I::number, 100, 0, 100, 0, 100, S | SC | C,
        1},
    {"Left", T::floatSlider, "MatteLeft", I::number, 0, 0, 100, 0, 100, 0, 1},
    {"Right", T::floatSlider, "MatteRight", I::number, 100, 0, 100, 0, 100, 0, 1},
    {"Bottom", T::floatSlider, "MatteBottom", I::number, 0, 0, 100, 0, 100, 0, 1},
    {"Top", T::floatSlider, "MatteTop", I::number, 100, 0, 100, 0, 100, 0, 1},
    {"", T::groupEnd},
};

std::string text(const char* s)
{
    return s ? s : "(none)";
}

template <class P> auto cells(const P& p)
{
    return std::tuple(text(p.label), int(p.type), text(p.key), int(p.internal), p.defaultValue, p.sliderMin,
        p.sliderMax, p.validMin, p.validMax, p.flags, p.precision, p.choiceCount, p.popupDefault,
        text(p.choices));
}

}  // namespace

TEST(RainParamTable, EveryCellMatchesTheControlList)
{
    const auto& table = rainHostParams();
    ASSERT_EQ(table.size(), 40u);
    for (int i = 0; i < 40; ++i) {
        const RainHostParam& p = table[size_t(i)];
        EXPECT_EQ(p.index, i);
        EXPECT_EQ(cells(p), cells(kExpected[i])) << "index " << i;
        // Percent sliders: every float slider but the drop length.
        EXPECT_EQ(p.percent, p.type == T::floatSlider && std::strcmp(p.key, "dropLength") != 0) << i;
        if (p.choices) {
            const std::string list = p.choices;
            EXPECT_EQ(int(std::count(list.begin(), list.end(), '|')) + 1, p.choiceCount) << i;
        }
    }
    EXPECT_STREQ(findRainHostParam("clampBlendAtFloat")->checkBoxText, "Clamp 0-1 (32 bpc)");
    for (const char* key : {"SourceEdgeColour", "MatteEdgeColour"}) {
        const HostColour8 c = findRainHostParam(key)->colourDefault;
        EXPECT_EQ(std::tuple(c.alpha, c.red, c.green, c.blue), std::tuple(255, 0, 0, 0)) << key;
    }
    EXPECT_EQ(findRainHostParam("Matte")->index, 11);
    EXPECT_EQ(findRainHostParam("savePreset"), nullptr);
    EXPECT_EQ(findRainHostParam(""), nullptr);
    EXPECT_EQ(sliderPrecision(10.0), 2);
    EXPECT_EQ(sliderPrecision(0.5), 2);
    EXPECT_EQ(sliderPrecision(10.5), 1);
}

// The method menu maps its positions to blend method numbers; every other
// popup maps a position to the same value.
TEST(RainParamTable, PopupTablesMapMenuPositionsToValues)
{
    const int methodNumber[25] = {
        0, 19, 22, 5, 21, 20, 4, 9, 1, 13, 8, 16, 17, 14, 15, 6, 2, 3, 7, 10, 11, 12, 18, 26, 25};
    for (const RainHostParam& p : rainHostParams()) {
        const auto table = rainPopupTable(p);
        ASSERT_EQ(int(table.size()), p.type == T::popup ? p.choiceCount : 0) << p.index;
        for (int k = 0; k < int(table.size()); ++k)
            EXPECT_EQ(table[size_t(k)], std::pair(k, p.index == 14 ? methodNumber[k] : k)) << p.index;
    }
}

namespace {

struct RainSet : ::testing::Test {
    RainSet() { declareRainParameters(set); }
    ParamSet set;
};

}  // namespace

// One row per conversion from the host table: integers, plain numbers,
// percentages as fractions, degrees as radians, popups as their values.
TEST_F(RainSet, FreshInstanceReadsTheDefaultsInInternalUnitsAndTypes)
{
    const struct {
        const char* key;
        std::string type;
        double value;
    } rows[] = {
        {"seed", "int", 13},
        {"dropLength", "double", 50},
        {"angle", "angle", -std::numbers::pi / 2},
        {"intensity", "scale", 1.0},
        {"density", "scale", 0.6},
        {"minThresh", "scale", 0.9},
        {"matteChannel", "choice", 2},  // Source Inverse Luminance
        {"postAlphaYesNoNo", "choice", 0},
        {"blendMethod", "choice", 0},
        {"SourceXMethod", "choice", 2},  // Reflect
        {"MatteTop", "double", 100},
        {"clampBlendAtFloat", "bool", 0},
    };
    for (const auto& row : rows) {
        Param* p = set.findParam(row.key);
        ASSERT_NE(p, nullptr) << row.key;
        EXPECT_EQ(p->typeName(), row.type) << row.key;
        const double value = row.type == "int" || row.type == "choice" ? set.getIntParam(row.key, 0.0)
            : row.type == "double"                                     ? set.getDoubleParam(row.key, 0.0)
            : row.type == "scale" ? set.getScaleParam(row.key, 0.0).value()
            : row.type == "angle" ? set.getAngleParam(row.key, 0.0).value()
                                  : double(set.getBoolParam(row.key, 0.0));
        EXPECT_DOUBLE_EQ(value, row.value) << row.key;
    }
    EXPECT_EQ(set.findParam("SourceEdgeColour")->typeName(), "rgba");
    EXPECT_EQ(set.getRGBAParam("MatteEdgeColour", 0.0), (QrPixelRGBAf {0, 0, 0, 1}));
    // Layout and layer controls have no internal parameter: 40 less the input,
    // the about area, the matte layer and six group marks.
    for (const char* name : {"About", "Blending", "Matte", "Source", "Matte Layer"})
        EXPECT_FALSE(set.paramIsDefined(name)) << name;
    EXPECT_EQ(set.params().hsObjects().size(), 31u);
}

TEST_F(RainSet, ValidRangesClampSliderRangesOnlyHintAndMethodsTakeBlendNumbers)
{
    set.setScaleParam("density", Quarn::Scale(0.0));
    EXPECT_DOUBLE_EQ(set.getScaleParam("density", 0.0).value(), 0.0001);
    set.setScaleParam("minThresh", Quarn::Scale(1.5));
    EXPECT_DOUBLE_EQ(set.getScaleParam("minThresh", 0.0).value(), 1.0);
    set.setScaleParam("intensity", Quarn::Scale(20.0));  // 2000 %, above the slider
    EXPECT_DOUBLE_EQ(set.getScaleParam("intensity", 0.0).value(), 20.0);
    set.setIntParam("seed", 9999);
    EXPECT_EQ(set.getIntParam("seed", 0.0), 5000);
    Quarn::auto_ref<Scale> intensity;
    set.getAndCastParam(intensity, "intensity", true);
    EXPECT_DOUBLE_EQ(intensity->visualMax(), 1.0);
    EXPECT_DOUBLE_EQ(intensity->max(), 50.0);

    set.setIntParam("blendMethod", 19);
    Quarn::auto_ref<Choice> method;
    set.getAndCastParam(method, "blendMethod", true);
    EXPECT_EQ(method->labelAt(method->current()), "Mix");
    EXPECT_EQ(set.getIntParam("blendMethod", 0.0), 19);
    method->parseValue("Composite Source");
    EXPECT_EQ(set.getIntParam("blendMethod", 0.0), 25);
}

TEST(RainEffectDescription, ListsTheRainsOwnParametersInOrder)
{
    const char* keys[] = {
        "seed", "dropLength", "angle", "intensity", "density", "minThresh", "maxThresh", "useMatte"};
    const auto& entries = EffectDescription::entries();
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_STREQ(entries[i].key, keys[i]);
}
