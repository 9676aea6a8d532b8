// Loading the plug-in, its property list, set-up and set-down, sequence data
// and the host's handle accounting through all of them.
#include "qrFixtureHost.h"

#include "qrHostError.h"

#include <cstring>

namespace HostTest {
namespace {

A_long firstWord(const std::vector<std::byte>& bytes)
{
    A_long word = -1;
    if (bytes.size() >= sizeof word)
        std::memcpy(&word, bytes.data(), sizeof word);
    return word;
}

TEST(EffectHostLoading, FindsTheEntryPointAndReadsThePropertyList)
{
    EffectHost host(fixturePath());
    EXPECT_TRUE(host.pipl().isEffect());
    EXPECT_EQ(host.pipl().name(), "Fixture");
    EXPECT_EQ(host.pipl().matchName(), "Fixture 0001");
    EXPECT_EQ(host.pipl().word(PF_PiPLKey_AE_EFFECT_VERSION), PF_VERSION(1, 2, 0, PF_Stage_RELEASE, 3));
    EXPECT_EQ(host.pipl().text(PF_PiPLKey_CODE_WIN_X86), "main");
    EXPECT_FALSE(host.pipl().word(PF_PiPLKey_NAME).has_value());  // a string, not a word
    EXPECT_NE(host.pipl().describe().find("kind = 'eFKT'"), std::string::npos);
}

TEST(EffectHostLoading, FilesThatAreNoPlugInAreRefused)
{
    EXPECT_THROW(EffectHost("/nonexistent/plugin.so"), HostError);
    try {
        EffectHost host("libm.so.6");  // loads, but has no entry point
        FAIL() << "a library without main was accepted";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find("main"), std::string::npos);
    }
}

TEST(EffectHostLifecycle, GlobalSetupReportsVersionFlagsAndKeepsGlobalData)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.globalSetup().ok());
    EXPECT_EQ(host.pluginVersion(), PF_VERSION(1, 2, 0, PF_Stage_RELEASE, 3));
    EXPECT_TRUE(host.outFlags() & PF_OutFlag_DEEP_COLOR_AWARE);
    EXPECT_TRUE(host.outFlags2() & PF_OutFlag2_SUPPORTS_SMART_RENDER);
    ASSERT_NE(host.globalData(), nullptr);
    EXPECT_EQ(host.handles().liveCount(), 1u);
    ASSERT_TRUE(host.globalSetdown().ok());
    EXPECT_EQ(host.globalData(), nullptr);
    EXPECT_EQ(host.handles().liveCount(), 0u);
}

TEST(EffectHostLifecycle, ParameterDeclarationsKeepDefaultsRangesAndGroups)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.start().ok());
    EXPECT_EQ(host.declaredParamCount(), Fixture::kParamCount);
    EXPECT_EQ(host.paramCount(), Fixture::kParamCount);
    EXPECT_EQ(host.param(0).type(), PF_Param_LAYER);
    EXPECT_EQ(host.paramText("Gain"), "100.0");
    EXPECT_EQ(host.paramText("Level"), "10");
    EXPECT_EQ(host.paramText("Angle"), "-90.0");
    EXPECT_EQ(host.paramText("Preset"), "...");
    EXPECT_EQ(host.paramText("Tint"), "#FF0000");
    EXPECT_EQ(host.paramText("Use Tint"), "off");
    EXPECT_EQ(host.paramText("Matte Layer"), "none");
    EXPECT_EQ(host.param(kGain).definition().u.fs_d.valid_max, PF_FIXED_FROM_LONG(400));
    EXPECT_EQ(host.param(Fixture::kUseTint).checkBoxText(), "Tint the frame");
    EXPECT_EQ(host.param(Fixture::kTint).group(), "Tinting");
    EXPECT_EQ(host.findParam("Tinting/Tint"), Fixture::kTint);
    EXPECT_EQ(host.param(Fixture::kAbout).definition().ui_flags & PF_PUI_CONTROL, PF_PUI_CONTROL);
    EXPECT_THROW(host.paramsSetup(), HostError);  // declared once only
}

TEST(EffectHostLifecycle, SequenceDataSurvivesFlattenReloadAndResetupWithoutLeaks)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.start().ok());
    // Global record, live record and the handle the record owns.
    EXPECT_EQ(host.handles().liveCount(), 3u);
    EXPECT_EQ(firstWord(host.sequenceBytes()), 0);

    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_TRUE(host.sequenceFlatten().ok());
        EXPECT_EQ(host.sequenceBytes().size(), 4u);
        EXPECT_EQ(firstWord(host.sequenceBytes()), 1);
        EXPECT_EQ(host.handles().liveCount(), 2u);

        const PF_Handle flat = host.sequenceData();
        ASSERT_TRUE(host.sequenceFlatten().ok());  // flattening twice changes nothing
        EXPECT_EQ(host.sequenceData(), flat);

        ASSERT_TRUE(host.reloadSequenceData());
        EXPECT_NE(host.sequenceData(), flat);
        EXPECT_EQ(firstWord(host.sequenceBytes()), 1);

        ASSERT_TRUE(host.sequenceResetup().ok());
        EXPECT_EQ(firstWord(host.sequenceBytes()), 0);
        EXPECT_EQ(host.handles().liveCount(), 3u);
    }
    ASSERT_TRUE(host.stop().ok());
    EXPECT_EQ(host.handles().liveCount(), 0u);
    EXPECT_EQ(host.handles().badDisposals(), 0);
}

TEST(EffectHostLifecycle, ResetupOfALiveRecordReplacesIt)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.start().ok());
    ASSERT_TRUE(host.sequenceResetup().ok());
    EXPECT_EQ(host.handles().liveCount(), 3u);
    EXPECT_EQ(host.handles().badDisposals(), 0);
}

TEST(EffectHostLifecycle, AFailedAllocationReachesThePlugInAndIsReported)
{
    for (int failing : {1, 2}) {  // the record itself, then the handle it owns
        EffectHost host(fixturePath());
        ASSERT_TRUE(host.globalSetup().ok());
        ASSERT_TRUE(host.paramsSetup().ok());
        host.failHandleAllocation(failing);
        const CommandResult r = host.sequenceSetup();
        EXPECT_EQ(r.error, PF_Err_OUT_OF_MEMORY) << failing;
        EXPECT_EQ(r.message, "Failed to set up sequence data");
        EXPECT_TRUE(r.displayMessage);
        EXPECT_FALSE(host.sequenceIsSetUp());
        EXPECT_EQ(host.handles().failedAllocations(), 1);
        EXPECT_EQ(host.handles().liveCount(), 1u) << "the half-made record leaked";
    }
}

TEST(EffectHostLifecycle, CommandsThePlugInDoesNotHandleAnswerNoError)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.start().ok());
    for (PF_Cmd cmd : {2, 12, 16, 17, 18, 19, 20, 21, 22, 25, 1000})
        EXPECT_TRUE(host.command(cmd).ok()) << cmd;
}

TEST(EffectHostLifecycle, HostPropertiesReachThePlugInUnchanged)
{
    EffectHost host(fixturePath());
    ASSERT_TRUE(host.start().ok());
    host.setSource(picture(30, 20));
    HostProperties& p = host.properties();
    p.applId = PF_APPL_ID_COMBUSTION;
    p.apiVersion = {12, 6};
    p.downsampleX = {1, 2};
    p.downsampleY = {1, 4};
    p.pixelAspectRatio = {10, 11};
    p.timeStep = 100;
    p.localTimeStep = 50;
    p.timeScale = 2997;
    host.setFrame(7);
    p.outputExtent = PF_Rect {2, 3, 20, 10};
    p.outputOrigin = {4, 5};
    EXPECT_EQ(host.command(PF_Cmd_FRAME_SETUP).message,
        "CMBS 12.6 ds=1/2,1/4 par=10/11 t=700/100/50/2997 size=30x20 extent=2,3,20,10 "
        "origin=4,5");
}

}  // namespace
}  // namespace HostTest
