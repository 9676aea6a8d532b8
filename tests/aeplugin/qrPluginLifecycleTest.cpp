// The plug-in as a host first meets it: its exports and property list, the
// set-up commands, the declared controls, and the per-instance record
// through setup, flatten, resetup and setdown. Failures here mean a host
// that cannot find or identify the effect, controls with the wrong
// defaults or ranges, or instance data that leaks or does not survive a
// project save.
#include "qrPluginFixture.h"

#include <AE_PiPL.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "qrLibrary.h"

#include <vector>

namespace {

using namespace PluginTest;

// The entry and the property list are what every host start looks up; the
// framework inside stays private to the plug-in.
TEST(PluginLibrary, ExportsOnlyTheEntryAndItsPropertyList)
{
    Quarn::Platform::Library library;
    std::string reason;
    ASSERT_TRUE(library.open(kPluginPath, reason)) << reason;
    EXPECT_NE(library.symbol("main", reason), nullptr) << reason;
    EXPECT_EQ(library.symbol("_ZN5Quarn6Errors10InitialiseEv", reason), nullptr);
}

TEST(PluginLibrary, PropertyListAndGlobalSetupIdentifyTheEffect)
{
    EffectHost host(kPluginPath);
    const auto& pipl = host.pipl();
    EXPECT_TRUE(pipl.isEffect());
    EXPECT_EQ(pipl.properties().size(), 14u);
    EXPECT_EQ(pipl.name(), "Nimbrel");
    EXPECT_EQ(pipl.category(), "Brastor 4");
    EXPECT_EQ(pipl.matchName(), "Nimbrel 1086");
    EXPECT_EQ(pipl.text(PF_PiPLKey_CODE_WIN_X86), "main");
    EXPECT_EQ(pipl.word(PF_PiPLKey_PIPL_VERSION), 0x00030000u);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_PIPL_VERSION), 2u);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_SPEC_VERSION), 0x000c000cu);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_EFFECT_VERSION), 0x00108605u);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_INFO_FLAGS), 0u);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_GLOBAL_OUTFLAGS), 0x02008053u);
    EXPECT_EQ(pipl.word(PF_PiPLKey_AE_GLOBAL_OUTFLAGS_2), 0x00001400u);
    EXPECT_FALSE(pipl.word(PF_PiPLKey_NAME).has_value());  // a string, not a word
    EXPECT_NE(pipl.describe().find("kind = 'eFKT'"), std::string::npos);
    // Global setup announces the same version and flags.
    ASSERT_TRUE(host.start().ok());
    EXPECT_EQ(host.pluginVersion(), 0x00108605u);
    EXPECT_EQ(A_u_long(host.outFlags()), 0x02008053u);
    EXPECT_EQ(A_u_long(host.outFlags2()), 0x00001400u);
    EXPECT_NE(host.globalData(), nullptr);
    EXPECT_EQ(host.declaredParamCount(), 40);
    EXPECT_EQ(host.paramCount(), 40);
}

TEST_F(Started, FreshInstanceShowsTheDefaults)
{
    const std::pair<const char*, const char*> expected[] = {{"Process", "RGB"}, {"Presets", "..."},
        {"Drop Length", "50.0"}, {"Rain Direction", "-90.0"}, {"Rain Intensity", "100.0"},
        {"Rain Density", "60.0"}, {"Diffusion Min", "90.0"}, {"Diffusion Max", "100.0"},
        {"Matte", "Source Inverse Luminance"}, {"Matte Layer", "none"}, {"Seed", "13"}, {"Method", "None"},
        {"Blend", "50.0"}, {"Effect Gain", "100.0"}, {"Source Gain", "100.0"},
        {"Source Crops/X Method", "Reflect"}, {"Source Crops/Y Method", "Reflect"},
        {"Source Crops/Edge Colour", "#000000"}, {"Source Crops/Edge Colour Alpha", "100.0"},
        {"Source Crops/Left", "0.0"}, {"Source Crops/Right", "100.0"}, {"Source Crops/Bottom", "0.0"},
        {"Source Crops/Top", "100.0"}, {"Matte Layer Crops/X Method", "Reflect"},
        {"Matte Layer Crops/Edge Colour", "#000000"}, {"Matte Layer Crops/Top", "100.0"}};
    for (const auto& [name, text] : expected)
        EXPECT_EQ(host.paramText(name), text) << name;
    EXPECT_EQ(host.param(18).checkBoxText(), "Clamp 0-1 (32 bpc)");
    EXPECT_EQ(host.param(18).definition().u.bd.value, 0);
    // The about area: a title-sized control that cannot time-vary.
    const PF_ParamDef& about = host.param(1).definition();
    EXPECT_EQ(about.param_type, PF_Param_NO_DATA);
    EXPECT_TRUE(about.ui_flags & PF_PUI_CONTROL);
    EXPECT_EQ(about.ui_width, 300);
    EXPECT_EQ(about.ui_height, 50);
    EXPECT_EQ(about.flags, PF_ParamFlag_SUPERVISE | PF_ParamFlag_CANNOT_TIME_VARY);
}

TEST_F(Started, ControlsKeepTheirValidRanges)
{
    host.setParam("Rain Density", "0");
    EXPECT_EQ(host.param(7).definition().u.fs_d.value, PF_Fixed(std::lround(0.01 * 65536)));
    host.setParam("Diffusion Min", "150");
    EXPECT_EQ(host.paramText("Diffusion Min"), "100.0");
    host.setParam("Diffusion Max", "-3");
    EXPECT_EQ(host.paramText("Diffusion Max"), "0.0");
    host.setParam("Seed", "9999");
    EXPECT_EQ(host.paramText("Seed"), "5000");
}

// What a control declares beyond its value, as one text: "s" supervise,
// "c" start collapsed, "t" cannot time-vary, then a slider's range and its
// valid range in the user's units.
std::string declared(const PF_ParamDef& def)
{
    std::string text;
    text += def.flags & PF_ParamFlag_SUPERVISE ? "s" : "";
    text += def.flags & PF_ParamFlag_START_COLLAPSED ? "c" : "";
    text += def.flags & PF_ParamFlag_CANNOT_TIME_VARY ? "t" : "";
    auto range = [&](double low, double high) {
        char part[64];
        std::snprintf(
            part, sizeof part, " %g..%g", std::round(low * 100) / 100, std::round(high * 100) / 100);
        text += part;
    };
    const double fixed = 65536.0;
    if (def.param_type == PF_Param_FIX_SLIDER) {
        range(def.u.fs_d.slider_min / fixed, def.u.fs_d.slider_max / fixed);
        range(def.u.fs_d.valid_min / fixed, def.u.fs_d.valid_max / fixed);
    } else if (def.param_type == PF_Param_SLIDER) {
        range(def.u.sd.slider_min, def.u.sd.slider_max);
        range(def.u.sd.valid_min, def.u.sd.valid_max);
    }
    return text;
}

TEST_F(Started, ControlsDeclareTheirFlagsAndSliderRanges)
{
    const char* crop = " 0..100 0..100";
    const char* expected[40] = {nullptr, "st", "t", "st", "c 0..500 0..10000", "", "c 0..100 0..5000",
        "c 0.01..100 0.01..5000", "c 0..100 0..100", "c 0..100 0..100", "t", "", "ct 1..100 1..5000", "", "t",
        " 0..100 0..100", " 0..200 0..5000", " 0..200 0..5000", "", "", "", "t", "t", "s",
        "sct 0..100 0..100", crop, crop, crop, crop, "", "", "t", "t", "s", "sct 0..100 0..100", crop, crop,
        crop, crop, ""};
    for (int index = 1; index < 40; ++index)
        EXPECT_EQ(declared(host.param(index).definition()), expected[index]) << "control " << index;
}

// The record as the host stores it: the state word first; where a handle is
// 4 bytes, five words with the handle in word 1, else three working words
// and the handle last.
constexpr bool kHandleIsAWord = sizeof(void*) == 4;
constexpr std::size_t kLiveRecordBytes = kHandleIsAWord ? 20 : 24;
constexpr std::size_t kHandleOffset = kHandleIsAWord ? 4 : 16;

// Setup makes a zeroed live record owning a handle; flatten (twice alike)
// leaves one flat word; resetup makes a live record again from flat data
// or, as a new setup, from live data; stopping releases every handle.
TEST_F(Started, SequenceRecordLivesThroughFlattenResetupAndStop)
{
    auto expectLive = [&] {
        const auto bytes = host.sequenceBytes();
        ASSERT_EQ(bytes.size(), kLiveRecordBytes);
        void* handle = nullptr;
        std::memcpy(&handle, bytes.data() + kHandleOffset, sizeof handle);
        EXPECT_TRUE(host.handles().holds(static_cast<PF_Handle>(handle)));
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            const bool inHandle = at >= kHandleOffset && at < kHandleOffset + sizeof handle;
            EXPECT_TRUE(inHandle || bytes[at] == std::byte {0}) << "state and working words start at zero; byte " << at;
        }
    };
    expectLive();
    const std::size_t live = host.handles().liveCount();
    ASSERT_TRUE(host.sequenceFlatten().ok());
    const PF_Handle flat = host.sequenceData();
    const auto bytes = host.sequenceBytes();
    ASSERT_EQ(bytes, (std::vector<std::byte> {std::byte {1}, std::byte {0}, std::byte {0}, std::byte {0}}));
    EXPECT_EQ(host.handles().liveCount(), live - 1);  // record and its handle out, flat word in
    ASSERT_TRUE(host.sequenceFlatten().ok());
    EXPECT_EQ(host.sequenceData(), flat);
    EXPECT_EQ(host.sequenceBytes(), bytes);
    EXPECT_EQ(host.handles().liveCount(), live - 1);

    ASSERT_TRUE(host.reloadSequenceData());  // as a saved project reopened
    ASSERT_TRUE(host.sequenceResetup().ok());
    expectLive();
    EXPECT_EQ(host.handles().liveCount(), live);
    const int allocations = host.handles().allocations();
    ASSERT_TRUE(host.sequenceResetup().ok());
    EXPECT_EQ(host.handles().allocations(), allocations + 2);
    expectLive();
    EXPECT_EQ(host.handles().liveCount(), live);

    ASSERT_TRUE(host.stop().ok());
    EXPECT_EQ(host.handles().liveCount(), 0u);
    EXPECT_EQ(host.handles().badDisposals(), 0);
}

// Failing the record itself, then the handle it owns.
TEST(PluginSequence, SetupWithoutMemoryTellsTheUserAndLeaksNothing)
{
    for (int failing : {1, 2}) {
        EffectHost host(kPluginPath);
        ASSERT_TRUE(host.globalSetup().ok());
        ASSERT_TRUE(host.paramsSetup().ok());
        const std::size_t live = host.handles().liveCount();
        host.failHandleAllocation(failing);
        const auto r = host.sequenceSetup();
        EXPECT_EQ(r.error, PF_Err_OUT_OF_MEMORY) << failing;
        EXPECT_EQ(r.message, "Failed to set up sequence data");
        EXPECT_TRUE(r.displayMessage);
        EXPECT_EQ(host.sequenceData(), nullptr);
        EXPECT_FALSE(host.sequenceIsSetUp());
        EXPECT_EQ(host.handles().failedAllocations(), 1);
        EXPECT_EQ(host.handles().liveCount(), live) << "the half-made record leaked";
    }
}

TEST_F(Started, CommandsWithoutAMeaningDoNothing)
{
    const auto before = host.sequenceBytes();
    const std::size_t handles = host.handles().liveCount();
    for (PF_Cmd cmd : {2, 9, 10, 12, 16, 17, 18, 19, 20, 21, 22, 25, 99}) {
        const auto r = host.command(cmd);
        EXPECT_TRUE(r.ok()) << "command " << cmd;
        EXPECT_TRUE(r.message.empty()) << "command " << cmd;
    }
    EXPECT_EQ(host.sequenceBytes(), before);
    EXPECT_EQ(host.handles().liveCount(), handles);
}

}  // namespace
