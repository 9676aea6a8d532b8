// The rain effect's forty host parameters as one consistent table, and the
// internal parameters the effect builds from them: types, units, defaults,
// ranges and choices as the effect reads them.
#include "effect/qrRainParamSet.h"
#include "effect/qrRainParamTable.h"
#include "qrBlendMethod.h"
#include "qrParams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numbers>
#include <string>
#include <tuple>

using namespace Quarn::Param;
using namespace Quarn::Wrapper::Rain;
using T = HostParamType;

// Every row sits at its index under a unique key; groups open and close in
// turn; sliders keep the default and the slider range inside the valid range;
// popups list as many choices as they count and default to one of them;
// every float slider but the drop length shows a percentage.
TEST(RainParamTable, RowsAreConsistent)
{
    const auto& table = rainHostParams();
    int open = 0;
    for (int i = 0; i < 40; ++i) {
        const RainHostParam& p = table[size_t(i)];
        EXPECT_EQ(p.index, i);
        EXPECT_TRUE(!p.key || findRainHostParam(p.key) == &p) << i;
        open += (p.type == T::groupStart) - (p.type == T::groupEnd);
        EXPECT_TRUE(open == 0 || open == 1) << i;
        if (p.type == T::floatSlider || p.type == T::intSlider) {
            EXPECT_TRUE(p.validMin <= p.sliderMin && p.sliderMin <= p.defaultValue) << i;
            EXPECT_TRUE(p.defaultValue <= p.sliderMax && p.sliderMax <= p.validMax) << i;
        }
        EXPECT_EQ(p.percent, p.type == T::floatSlider && std::strcmp(p.key, "dropLength") != 0) << i;
        EXPECT_EQ(p.type == T::popup, p.choices != nullptr) << i;
        if (p.choices) {
            const std::string list = p.choices;
            EXPECT_EQ(int(std::count(list.begin(), list.end(), '|')) + 1, p.choiceCount) << i;
            EXPECT_TRUE(p.popupDefault >= 1 && p.popupDefault <= p.choiceCount) << i;
        }
    }
    EXPECT_EQ(open, 0);
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

// The method menu maps its entries to the blend methods they name; every
// other popup maps a position to the same value.
TEST(RainParamTable, PopupTablesMapMenuPositionsToValues)
{
    using namespace Quarn::Blend;
    const Method named[25] = {kNone, kMix, kAdd, kDifference, kSubtractSource, kSubtractEffect, kDarken,
        kLighten, kColour, kLuminosity, kHue, kSaturation, kScreen, kMultiply, kOverlay, kExclusion,
        kColourBurn, kColourDodge, kHardLight, kLinearBurn, kLinearDodge, kLinearLight, kSoftLight,
        kCompositeEffect, kCompositeSource};
    for (const RainHostParam& p : rainHostParams()) {
        const auto table = rainPopupTable(p);
        ASSERT_EQ(int(table.size()), p.type == T::popup ? p.choiceCount : 0) << p.index;
        for (int k = 0; k < int(table.size()); ++k)
            EXPECT_EQ(
                table[size_t(k)], std::pair(k, &p == findRainHostParam("blendMethod") ? int(named[k]) : k))
                << p.index;
    }
    EXPECT_STREQ(findRainHostParam("blendMethod")->choices,
        "None|Mix|Add|Difference|Subtract Source|Subtract Effect|Darken|Lighten|Colour|Luminosity|Hue|"
        "Saturation|Screen|Multiply|Overlay|Exclusion|ColourBurn|ColourDodge|HardLight|LinearBurn|"
        "LinearDodge|LinearLight|SoftLight|Composite Effect|Composite Source");
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
    // Set, and read back; 2000 % intensity is above the slider but valid.
    for (auto [key, value, expected] :
        {std::tuple {"density", 0.0, 0.0001}, {"minThresh", 1.5, 1.0}, {"intensity", 20.0, 20.0}}) {
        set.setScaleParam(key, Quarn::Scale(value));
        EXPECT_DOUBLE_EQ(set.getScaleParam(key, 0.0).value(), expected) << key;
    }
    set.setIntParam("seed", 9999);
    EXPECT_EQ(set.getIntParam("seed", 0.0), 5000);
    set.setDoubleParam("dropLength", 20000.0);  // far beyond the slider's 500
    EXPECT_DOUBLE_EQ(set.getDoubleParam("dropLength", 0.0), 10000.0);
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
