// The OpenFX controls as data: the rain table carried over whole, host
// values made valid, and the values reaching the effect in its own units.
#include "qrOfxControls.h"

#include "effect/qrLocalHost.h"
#include "effect/qrRainKeys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using namespace Quarn::Ofx;
namespace Rain = Quarn::Wrapper::Rain;
namespace Key = Rain::Key;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(OfxControls, EveryValueControlOfTheRainTableIsOfferedWithItsLabelDefaultAndRanges)
{
    int offered = 0;
    for (const Rain::RainHostParam& row : Rain::rainHostParams()) {
        if (!Rain::holdsValue(row))
            continue;
        ++offered;
        const Control* c = findControl(row.key);
        ASSERT_NE(c, nullptr) << row.key;
        EXPECT_EQ(c->label, row.checkBoxText ? row.checkBoxText : row.label) << row.key;
        EXPECT_EQ(c->min, row.validMin) << row.key;
        EXPECT_EQ(c->max, row.validMax) << row.key;
        EXPECT_EQ(c->displayMax, row.sliderMax) << row.key;
        EXPECT_EQ(c->animates, (row.flags & Rain::kFlagCannotTimeVary) == 0) << row.key;
        if (row.type == Rain::HostParamType::popup) {
            EXPECT_EQ(int(c->options.size()), row.choiceCount) << row.key;
            EXPECT_EQ(c->defaultValue, row.popupDefault - 1) << row.key;
        } else {
            EXPECT_EQ(c->defaultValue, row.defaultValue) << row.key;
        }
    }
    EXPECT_EQ(offered, 31);  // forty, less the input and matte layers, the about area and six group marks
}

TEST(OfxControls, GroupsHoldTheirControlsAndEveryParentIsDeclaredBeforeItsChildren)
{
    struct Case {
        const char* name;
        const char* parent;
    };
    const Case cases[] = {
        {Key::density, ""},
        {Key::blendMethod, "Blending"},
        {Key::clampBlendAtFloat, "Blending"},
        {Key::sourceCrops.edgeColour, "SourceCrops"},
        {Key::matteCrops.top, "MatteLayerCrops"},
        {"fallSpeed", kMotionGroup},
        {"streakFromSpeed", kMotionGroup},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findControl(c.name)->parent, c.parent) << c.name;
    std::vector<std::string> seen;
    for (const Control& c : controls()) {
        if (!c.parent.empty()) {
            EXPECT_NE(std::find(seen.begin(), seen.end(), c.parent), seen.end()) << c.name;
        }
        seen.push_back(c.name);
    }
    EXPECT_EQ(findControl(kMotionGroup)->label, "Motion and Depth");
}

TEST(OfxControls, HostValuesAreMadeValid)
{
    struct Case {
        const char* name;
        double in, out;
    };
    const Case cases[] = {
        {Key::density, kNaN, 60},  // not a number: the default
        {Key::density, kInf, 60},
        {Key::density, -5, 0.01},  // below the valid range
        {Key::density, 1e9, 5000},
        {Key::minThresh, 120, 100},
        {Key::angle, 725, 725},  // angles turn freely
        {Key::angle, kNaN, -90},
        {Key::seed, 0, 1},
        {Key::seed, 12.6, 13},
        {Key::seed, 9999, 5000},
        {Key::blendMethod, 24, 24},
        {Key::blendMethod, 25, 0},  // past the menu: the default entry
        {Key::matteChannel, -1, 2},
        {Key::clampBlendAtFloat, 3, 1},
        {"depthLayers", 9, 4},
        {"fallSpeed", -3, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(validValue(*findControl(c.name), c.in), c.out) << c.name << " " << c.in;
    const Control& colour = *findControl(Key::sourceCrops.edgeColour);
    EXPECT_EQ(validColourComponent(colour, 3, kNaN), 1.0);
    EXPECT_EQ(validColourComponent(colour, 0, 1.5), 1.0);
    EXPECT_EQ(validColourComponent(colour, 1, -0.5), 0.0);
}

class AppliedControls : public ::testing::Test {
protected:
    void apply() { applyControls(values, effect); }
    void set(const char* name, double v) { values[index(name)][0] = v; }
    static size_t index(const char* name) { return size_t(findControl(name) - controls().data()); }

    Quarn::Wrapper::LocalHost host;
    Quarn::Wrapper::RainEffect effect {&host, false};
    ControlValues values = defaultValues();
};

TEST_F(AppliedControls, ReachTheEffectInItsOwnUnits)
{
    set(Key::density, 35);
    set(Key::angle, -45);
    set(Key::blendMethod, 1);  // "Mix" is blend method 19
    set(Key::dropLength, 80);
    set(Key::seed, 7);
    set(Key::blendMix, 70);
    values[index(Key::sourceCrops.edgeColour)] = {0.25, 0.5, 0.75, 0.5};
    apply();
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::density, 0).value(), 0.35);
    EXPECT_DOUBLE_EQ(effect.getAngleParam(Key::angle, 0).value(), -std::numbers::pi / 4);
    EXPECT_EQ(effect.getIntParam(Key::blendMethod, 0), 19);
    EXPECT_EQ(effect.getDoubleParam(Key::dropLength, 0), 80);
    EXPECT_EQ(effect.getIntParam(Key::seed, 0), 7);
    EXPECT_EQ(effect.getDoubleParam(Key::blendMix, 0), 70);
    const QrPixelRGBAf edge = effect.getRGBAParam(Key::sourceCrops.edgeColour, 0);
    EXPECT_EQ(edge, (QrPixelRGBAf {0.25f, 0.5f, 0.75f, 0.5f}));
}

TEST_F(AppliedControls, SetTheMotionAndDepth)
{
    set("fallSpeed", 12);
    set("windVariation", 30);
    set("depthLayers", 3);
    set("depthFalloff", 25);
    set("streakFromSpeed", 1);
    apply();
    const QrRainMotion& m = effect.motion();
    EXPECT_EQ(m.fallSpeed, 12);
    EXPECT_EQ(m.windVariation, 30);
    EXPECT_EQ(m.depthLayers, 3);
    EXPECT_DOUBLE_EQ(m.depthFalloff, 0.25);
    EXPECT_TRUE(m.streakFromSpeed);
    EXPECT_EQ(m.gustRate, QrRainMotion {}.gustRate);
}

TEST_F(AppliedControls, AChosenPresetOverridesTheFourControlsItSets)
{
    set(Key::presets, 5);  // "Cats and Dogs"
    set(Key::density, 20);
    set(Key::intensity, 40);
    apply();
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::density, 0).value(), 1.0);
    EXPECT_EQ(effect.getDoubleParam(Key::dropLength, 0), 100);
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::minThresh, 0).value(), 0.9);
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::intensity, 0).value(), 0.4);  // not a preset's
}

TEST_F(AppliedControls, InvalidValuesArriveClamped)
{
    set(Key::density, kNaN);
    set(Key::maxThresh, 250);
    set(Key::blendMethod, 77);
    apply();
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::density, 0).value(), 0.6);
    EXPECT_DOUBLE_EQ(effect.getScaleParam(Key::maxThresh, 0).value(), 1.0);
    EXPECT_EQ(effect.getIntParam(Key::blendMethod, 0), 0);
}

TEST(OfxControls, EdgeColourAndItsAlphaSliderStepTogether)
{
    struct Case {
        const char* changed;
        double value;
        const char* partner;
        double partnerValue;
    };
    const Case cases[] = {
        {Key::sourceCrops.edgeColour, 0.5, Key::sourceCrops.edgeColourAlpha, 50},
        {Key::sourceCrops.edgeColourAlpha, 25, Key::sourceCrops.edgeColour, 0.25},
        {Key::matteCrops.edgeColour, 1.0, Key::matteCrops.edgeColourAlpha, 100},
        {Key::matteCrops.edgeColourAlpha, 140, Key::matteCrops.edgeColour, 1.0},
        {Key::matteCrops.edgeColourAlpha, -3, Key::matteCrops.edgeColour, 0.0},
    };
    for (const Case& c : cases) {
        const EdgeAlphaStep step = edgeAlphaStep(*findControl(c.changed), c.value);
        ASSERT_NE(step.partner, nullptr) << c.changed;
        EXPECT_EQ(step.partner->name, c.partner);
        EXPECT_DOUBLE_EQ(step.value, c.partnerValue) << c.changed << " " << c.value;
    }
    EXPECT_EQ(edgeAlphaStep(*findControl(Key::density), 50).partner, nullptr);
    EXPECT_EQ(edgeAlphaStep(*findControl(Key::sourceCrops.edgeColourAlpha), kNaN).partner, nullptr);
}

}  // namespace
