// The rain effect's internal parameters: types, units, defaults, ranges and
// choices as the effect reads them through its parameter set.
#include "qrParams.h"
#include "effect/qrRainParamSet.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace Quarn::Param;
using Quarn::Wrapper::Rain::declareRainParameters;
using Quarn::Wrapper::Rain::EffectDescription;

namespace {

struct RainSet : ::testing::Test {
    RainSet() { declareRainParameters(set); }
    ParamSet set;
};

}  // namespace

TEST_F(RainSet, FreshInstanceReadsTheDocumentedDefaultsInInternalUnits)
{
    EXPECT_EQ(set.getIntParam("seed", 0.0), 13);
    EXPECT_DOUBLE_EQ(set.getDoubleParam("dropLength", 0.0), 50.0);
    EXPECT_DOUBLE_EQ(set.getAngleParam("angle", 0.0).value(), -std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(set.getScaleParam("intensity", 0.0).value(), 1.0);
    EXPECT_DOUBLE_EQ(set.getScaleParam("density", 0.0).value(), 0.6);
    EXPECT_DOUBLE_EQ(set.getScaleParam("minThresh", 0.0).value(), 0.9);
    EXPECT_DOUBLE_EQ(set.getScaleParam("maxThresh", 0.0).value(), 1.0);
    EXPECT_EQ(set.getIntParam("matteChannel", 0.0), 2);  // Source Inverse Luminance
    EXPECT_EQ(set.getIntParam("postAlphaYesNoNo", 0.0), 0);
    EXPECT_EQ(set.getIntParam("presets", 0.0), 0);
    EXPECT_EQ(set.getIntParam("blendMethod", 0.0), 0);
    EXPECT_DOUBLE_EQ(set.getDoubleParam("blendMix", 0.0), 50.0);
    EXPECT_DOUBLE_EQ(set.getDoubleParam("blendEffect", 0.0), 100.0);
    EXPECT_DOUBLE_EQ(set.getDoubleParam("blendSrc", 0.0), 100.0);
    EXPECT_FALSE(set.getBoolParam("clampBlendAtFloat", 0.0));
    for (const char* prefix : {"Source", "Matte"}) {
        const std::string p = prefix;
        EXPECT_EQ(set.getIntParam(p + "XMethod", 0.0), 2) << p;  // Reflect
        EXPECT_EQ(set.getIntParam(p + "YMethod", 0.0), 2) << p;
        EXPECT_EQ(set.getRGBAParam(p + "EdgeColour", 0.0), (QrPixelRGBAf {0, 0, 0, 1})) << p;
        EXPECT_DOUBLE_EQ(set.getDoubleParam(p + "EdgeColourAlpha", 0.0), 100.0) << p;
        EXPECT_DOUBLE_EQ(set.getDoubleParam(p + "Left", 0.0), 0.0) << p;
        EXPECT_DOUBLE_EQ(set.getDoubleParam(p + "Right", 0.0), 100.0) << p;
        EXPECT_DOUBLE_EQ(set.getDoubleParam(p + "Bottom", 0.0), 0.0) << p;
        EXPECT_DOUBLE_EQ(set.getDoubleParam(p + "Top", 0.0), 100.0) << p;
    }
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

TEST_F(RainSet, ChoiceOptionsCarryTheMenuTexts)
{
    Quarn::auto_ref<Choice> presets;
    set.getAndCastParam(presets, "presets", true);
    ASSERT_EQ(presets->options().size(), 7u);
    EXPECT_EQ(presets->options()[0].label, "...");
    EXPECT_EQ(presets->options()[5].label, "Cats and Dogs");
    EXPECT_EQ(presets->options()[6].value, 6);
}

TEST_F(RainSet, LayoutAndLayerControlsHaveNoInternalParameter)
{
    for (const char* name : {"About", "Blending", "Matte", "Source", "Matte Layer"})
        EXPECT_FALSE(set.paramIsDefined(name)) << name;
    EXPECT_EQ(set.params().hsObjects().size(), 31u);  // 40 less input, about, matte layer, six group marks
}

TEST_F(RainSet, InternalTypesAreTheDocumentedOnes)
{
    const struct {
        const char* key;
        const char* type;
    } rows[] = {
        {"seed", "int"},
        {"dropLength", "double"},
        {"angle", "angle"},
        {"intensity", "scale"},
        {"density", "scale"},
        {"minThresh", "scale"},
        {"maxThresh", "scale"},
        {"matteChannel", "choice"},
        {"blendMix", "double"},
        {"SourceEdgeColour", "rgba"},
        {"clampBlendAtFloat", "bool"},
        {"MatteTop", "double"},
    };
    for (const auto& row : rows) {
        Param* p = set.findParam(row.key);
        ASSERT_NE(p, nullptr) << row.key;
        EXPECT_EQ(p->typeName(), row.type) << row.key;
    }
}

TEST(RainEffectDescription, ListsTheRainsOwnParametersInOrder)
{
    const char* keys[] = {
        "seed", "dropLength", "angle", "intensity", "density", "minThresh", "maxThresh", "useMatte"};
    const auto& entries = EffectDescription::entries();
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_STREQ(entries[i].key, keys[i]);
}
