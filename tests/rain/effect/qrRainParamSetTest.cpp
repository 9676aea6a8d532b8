// The rain effect's internal parameters: types, units, defaults, ranges and
// choices as the effect reads them through its parameter set.
#include "qrParams.h"
#include "effect/qrRainParamSet.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>

using namespace Quarn::Param;
using Quarn::Wrapper::Rain::declareRainParameters;
using Quarn::Wrapper::Rain::EffectDescription;

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
}

TEST_F(RainSet, ValidRangesClampAndSliderRangesOnlyHint)
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
}

TEST_F(RainSet, MethodChoiceTakesBlendMethodNumbers)
{
    set.setIntParam("blendMethod", 19);
    Quarn::auto_ref<Choice> method;
    set.getAndCastParam(method, "blendMethod", true);
    EXPECT_EQ(method->labelAt(method->current()), "Mix");
    EXPECT_EQ(set.getIntParam("blendMethod", 0.0), 19);
    method->parseValue("Composite Source");
    EXPECT_EQ(set.getIntParam("blendMethod", 0.0), 25);
}

TEST_F(RainSet, LayoutAndLayerControlsHaveNoInternalParameter)
{
    for (const char* name : {"About", "Blending", "Matte", "Source", "Matte Layer"})
        EXPECT_FALSE(set.paramIsDefined(name)) << name;
    EXPECT_EQ(set.params().hsObjects().size(), 31u);  // 40 less input, about, matte layer, six group marks
}

TEST(RainEffectDescription, ListsTheRainsOwnParametersInOrder)
{
    const char* keys[] = {
        "seed", "dropLength", "angle", "intensity", "density", "minThresh", "maxThresh", "useMatte"};
    const auto& entries = EffectDescription::entries();
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_STREQ(entries[i].key, keys[i]);
}
