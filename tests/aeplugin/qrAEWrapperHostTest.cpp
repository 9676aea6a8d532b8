// The host adapter over a hand-made command. Failures here mean values in
// the wrong units (percent for fractions, degrees for radians), popups
// shifted by one or read through the wrong table, writes that do not reach
// the host's list, or failures the caller cannot tell apart.
#include "qrAEExceptions.h"
#include "qrAEWrapperHost.h"
#include "qrAdapterTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <tuple>

namespace {

using Quarn::AfterEffects::Wrapper::Host;
namespace Ex = Quarn::Exceptions;

class AdapterTest : public ::testing::Test {
protected:
    HandMadeCommand cmd;
    Host host {&cmd.in, &cmd.out, cmd.params.data()};

    void SetUp() override { host.bindRainMappings(); }
};

TEST_F(AdapterTest, ReadsEachTypeInInternalUnits)
{
    cmd.at(7).u.fs_d.value = 60 * 65536;  // "Rain Density" 60 %
    EXPECT_DOUBLE_EQ(host.getScaleParam("density", 0.0).value(), 0.6);
    EXPECT_DOUBLE_EQ(host.getDoubleParam("dropLength", 0.0), 50.0);
    EXPECT_NEAR(host.getAngleParam("angle", 0.0).value(), -std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(host.getIntParam("seed", 0.0), 13);
    EXPECT_FALSE(host.getBoolParam("clampBlendAtFloat", 0.0));
    const QrPixelRGBAf edge = host.getRGBAParam("SourceEdgeColour", 0.0);
    EXPECT_EQ(edge, (QrPixelRGBAf {0.0f, 0.0f, 0.0f, 1.0f}));
    // Percent sliders that are not scales read as the host's percent.
    EXPECT_DOUBLE_EQ(host.getDoubleParam("blendMix", 0.0), 50.0);
}

TEST_F(AdapterTest, PopupsMapHostPositionsToInternalValues)
{
    struct Case {
        const char* key;
        int index, hostValue, internal;
    };
    const Case cases[] = {{"blendMethod", 14, 1, 0}, {"blendMethod", 14, 2, 19}, {"blendMethod", 14, 25, 25},
        {"blendMethod", 14, 24, 26}, {"matteChannel", 10, 1, 0}, {"matteChannel", 10, 9, 8},
        {"presets", 3, 7, 6}, {"postAlphaYesNoNo", 2, 2, 1}, {"SourceXMethod", 21, 4, 3}};
    for (const Case& c : cases) {
        cmd.at(c.index).u.pd.value = c.hostValue;
        EXPECT_EQ(host.getIntParam(c.key, 0.0), c.internal) << c.key << " " << c.hostValue;
    }
    EXPECT_EQ(host.getBackwardPopupMapping("blendMethod", 26), 23);
    cmd.at(14).u.pd.value = 26;  // past the menu
    EXPECT_THROW(host.getIntParam("blendMethod", 0.0), Ex::AfterEffects::ForwardMappingUndefined);
    EXPECT_THROW(host.getBackwardPopupMapping("blendMethod", 23), Ex::AfterEffects::BackwardMappingUndefined);
}

// Scale and double writes, and their change flags, show in the presets the
// real plug-in applies.
TEST_F(AdapterTest, WritesReachTheCommandsListInHostUnits)
{
    host.setAngleParam("angle", Quarn::Angle(std::numbers::pi / 4));
    EXPECT_EQ(cmd.at(5).u.ad.value, 45 * 65536);
    host.setIntParam("blendMethod", 19);  // "Mix", menu position 1
    EXPECT_EQ(cmd.at(14).u.pd.value, 2);
    host.setRGBAParam("MatteEdgeColour", {1.0f, 0.5f, 0.0f, 0.2f});
    const PF_Pixel c = cmd.at(33).u.cd.value;
    EXPECT_EQ(std::tie(c.alpha, c.red, c.green, c.blue), std::tuple(51, 255, 128, 0));
}

TEST_F(AdapterTest, CapturedValuesAnswerReadsAtTheCurrentTime)
{
    host.captureValues(false);
    EXPECT_TRUE(host.isCached(2));
    EXPECT_TRUE(host.isCached(38));
    EXPECT_FALSE(host.isCached(11));  // a layer is a clip, not a value
    cmd.at(7).u.fs_d.value = 10 * 65536;  // the list changes after the capture
    EXPECT_DOUBLE_EQ(host.getScaleParam("density", 0.0).value(), 0.6);
}

TEST_F(AdapterTest, FailuresNameTheOperationAndTheKey)
{
    try {
        host.getScaleParam("savePreset", 0.0);
        FAIL() << "an unmapped key was read";
    } catch (const Ex::Wrapper::ParameterUndefined& e) {
        EXPECT_EQ(e.function(), "Quarn::AfterEffects::Wrapper::Host::getScaleParam");
        EXPECT_EQ(e.file(), "src/qrAEWrapperHost");
        EXPECT_NE(e.message().find("savePreset"), std::string::npos);
    }
    try {
        host.getScaleParam("dropLength", 0.0);
        FAIL() << "a double was read as a scale";
    } catch (const Ex::WrongType& e) {
        EXPECT_EQ(e.function(), "Quarn::AfterEffects::Wrapper::Host::getScaleParam");
        EXPECT_NE(e.message().find("scale"), std::string::npos);
    }
    EXPECT_THROW(host.getIntParam("density", 0.0), Ex::WrongType);
    EXPECT_THROW(host.setBoolParam("seed", true), Ex::WrongType);
    EXPECT_THROW(host.addParamMapping(4, "dropLength", 3), Ex::AfterEffects::ParameterAlreadyDefined);
    EXPECT_THROW(host.addClipMapping("Matte", 11), Ex::AfterEffects::ClipAlreadyDefined);
    EXPECT_THROW(host.getClipID("Mask"), Ex::Wrapper::ClipUndefined);
    EXPECT_EQ(host.getClipID("Source"), 0);
    EXPECT_EQ(host.getClipID("Matte"), 11);
    EXPECT_FALSE(host.paramIsDefined("expand"));
    EXPECT_TRUE(host.paramIsDefined("matteChannel"));
    EXPECT_THROW(host.paramSetKey("savePreset", 1.0), Ex::Wrapper::ParameterUndefined);
    // This command has no host suites to change keys through.
    EXPECT_THROW(host.paramSetKey("density", 1.0), Ex::AfterEffects::SuiteFailed);
}

TEST(AdapterConstruction, MissingHostDataIsNamed)
{
    HandMadeCommand cmd;
    PF_LayerDef output {};
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { Host h(nullptr, &cmd.out, cmd.params.data()); }, "'in_data'"},
        {[&] { Host h(&cmd.in, nullptr, cmd.params.data()); }, "'out_data'"},
        {[&] { Host h(&cmd.in, &cmd.out, nullptr); }, "'params'"},
        {[&] { Host h(&cmd.in, &cmd.out, cmd.params.data(), nullptr, nullptr); }, "'output'"},
        {[&] { Host h(&cmd.in, &cmd.out, cmd.params.data(), &output, nullptr); }, nullptr},
    };
    for (const auto& [make, missing] : cases) {
        try {
            make();
            EXPECT_EQ(missing, nullptr) << "nothing missing";
        } catch (const Ex::NullPointer& e) {
            EXPECT_NE(e.message().find(missing ? missing : "?"), std::string::npos) << e.message();
        }
    }
}

TEST(AdapterHostValues, TimeAndGeometryComeFromTheCommand)
{
    HandMadeCommand cmd;
    cmd.in.current_time = 300;
    cmd.in.time_step = cmd.in.local_time_step = 25;
    cmd.in.time_scale = 600;
    cmd.in.pixel_aspect_ratio = {10, 11};
    cmd.in.downsample_x = {1, 2};
    cmd.in.downsample_y = {1, 4};
    cmd.in.output_origin_x = 3;
    cmd.in.output_origin_y = 4;
    PF_LayerDef output {};
    output.extent_hint = {0, 0, 64, 32};
    Host host(&cmd.in, &cmd.out, cmd.params.data(), &output, nullptr);
    EXPECT_DOUBLE_EQ(host.getTime(), 12.0);
    EXPECT_DOUBLE_EQ(host.getFrameRate(), 24.0);
    EXPECT_DOUBLE_EQ(host.getPixelAspectRatio(), 10.0 / 11.0);
    double x = 0, y = 0;
    host.getDownsample(x, y);
    EXPECT_DOUBLE_EQ(x, 0.5);
    EXPECT_DOUBLE_EQ(y, 0.25);
    EXPECT_EQ(host.getOutputExtent(), (QrRectI {3, 4, 67, 36}));
    EXPECT_EQ(host.getPremultiplicationState(), 1);
}

}  // namespace
