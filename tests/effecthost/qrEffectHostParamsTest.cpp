// Parameters as the user and the plug-in change them: names, clamping,
// supervised changes that write other parameters, greying, keyframes.
#include "qrFixtureHost.h"

#include "qrHostError.h"

#include <cstdio>

namespace HostTest {
namespace {

using ParamsTest = FixtureTest;

TEST_F(ParamsTest, NamesResolveByAliasGroupPathOrUniqueLabel)
{
    host.addAlias("gain", kGain);
    EXPECT_EQ(host.findParam("gain"), kGain);
    EXPECT_EQ(host.findParam("Gain"), kGain);
    EXPECT_EQ(host.findParam("Tinting/Use Tint"), Fixture::kUseTint);
    EXPECT_EQ(host.findParam("Tinting/Gain"), -1);  // Gain is not in the group
    EXPECT_EQ(host.findParam("Nothing"), -1);
    EXPECT_THROW(host.setParam("Nothing", "1"), HostError);
    EXPECT_THROW(host.addAlias("bad", 99), HostError);
}

TEST_F(ParamsTest, UserValuesAreClampedToTheDeclaredValidRange)
{
    struct Case {
        const char* name;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"Gain", "1000", "400.0"},
        {"Gain", "-1", "0.0"},
        {"Gain", "250", "250.0"},
        {"Level", "5000", "1000"},
        {"Level", "-3", "0"},
        {"Preset", "Dim", "Dim"},
    };
    for (const Case& c : cases) {
        host.setParam(c.name, c.typed);
        EXPECT_EQ(host.paramText(c.name), c.shown) << c.name << " = " << c.typed;
    }
    EXPECT_THROW(host.setParam("Preset", "Loud"), HostError);
    EXPECT_THROW(host.setParam("Matte Layer", "1"), HostError);
}

TEST_F(ParamsTest, SupervisedChangeWritesAnotherParameterAndRestsThePopup)
{
    // "Bright" writes through params[], "Dim" through the param utils suite.
    struct Case {
        const char* preset;
        const char* gain;
        int uiUpdates;
    };
    for (const Case& c : {Case {"Bright", "150.0", 0}, Case {"Dim", "50.0", 1}}) {
        const CommandResult r = host.changeParam("Preset", c.preset);
        ASSERT_TRUE(r.ok()) << c.preset;
        EXPECT_EQ(host.paramText("Gain"), c.gain) << c.preset;
        EXPECT_EQ(host.paramText("Preset"), "...") << c.preset;
        EXPECT_EQ(host.uiUpdates(kGain), c.uiUpdates) << c.preset;
    }
    EXPECT_EQ(host.counters().suitesHeld, 0);
}

TEST_F(ParamsTest, ChangingAnUnsupervisedParameterSendsNoCommand)
{
    host.setParam("Preset", "Bright");
    ASSERT_TRUE(host.changeParam("Gain", "120").ok());
    EXPECT_EQ(host.paramText("Gain"), "120.0");  // no preset applied
}

TEST_F(ParamsTest, PlugInWritesToAKeyframedParameterLandAtTheCurrentTimeOnly)
{
    host.setParamKey("Gain", 0, "0");
    host.setParamKey("Gain", 10, "200");
    host.setFrame(5);
    ASSERT_TRUE(host.changeParam("Preset", "Bright").ok());
    EXPECT_EQ(host.param(kGain).keyCount(), 3);
    EXPECT_EQ(host.paramText("Gain"), "150.0");
    host.setFrame(0);
    EXPECT_EQ(host.paramText("Gain"), "0.0");
    host.setFrame(10);
    EXPECT_EQ(host.paramText("Gain"), "200.0");
}

TEST_F(ParamsTest, ParameterUIUpdateGreysAndUngreysAControl)
{
    for (bool stale : {false, true}) {
        const int checkoutsBefore = host.counters().paramCheckouts;
        host.setParam("Use Tint", "on");
        ASSERT_TRUE(host.updateParamsUI(stale).ok());
        EXPECT_TRUE(host.param(kGain).definition().ui_flags & PF_PUI_DISABLED) << stale;
        host.setParam("Use Tint", "off");
        ASSERT_TRUE(host.updateParamsUI(stale).ok());
        EXPECT_FALSE(host.param(kGain).definition().ui_flags & PF_PUI_DISABLED) << stale;
        // With stale params[] the plug-in checks the value out instead.
        EXPECT_EQ(host.counters().paramCheckouts - checkoutsBefore, stale ? 2 : 0);
    }
    EXPECT_EQ(host.counters().paramCheckouts, host.counters().paramCheckins);
}

TEST_F(ParamsTest, KeyframesReachThePlugInThroughStreamsAndParamUtils)
{
    host.setParamKey("Gain", 0, "40");
    host.setParamKey("Gain", 10, "80");
    host.setFrame(5);
    const A_u_long scale = host.properties().timeScale;
    char expected[128];
    std::snprintf(expected, sizeof expected, "keys=2/2 t0=0/%u t1=%u/%u v=60.00", unsigned(scale),
        unsigned(10 * host.properties().timeStep), unsigned(scale));
    const CommandResult r = host.command(PF_Cmd_DO_DIALOG);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.message, expected);
    const HostCounters c = host.counters();
    EXPECT_EQ(c.suitesHeld, 0);
    EXPECT_EQ(c.aegpHeld, 0);
    EXPECT_EQ(c.badCallbacks, 0);
}

TEST_F(ParamsTest, AboutBoxIsShownInTheMainWindowWithAnEmptyMessage)
{
    const DialogResult about = host.about();
    ASSERT_TRUE(about.command.ok());
    EXPECT_TRUE(about.shown);
    EXPECT_EQ(about.title, "About Fixture");
    EXPECT_EQ(about.command.message, "");
    ASSERT_EQ(about.content.width(), 20);
    ASSERT_EQ(about.content.height(), 10);
    EXPECT_EQ(about.content.pixel(19, 9), (Argb {1, 0, 0, 1}));
    EXPECT_EQ(host.counters().worldsHeld, 0);
}

TEST_F(ParamsTest, DrawEventsPaintTheControlAreaCanvas)
{
    const EventResult drawn = host.sendEvent(Fixture::kAbout, PF_Event_DRAW);
    ASSERT_TRUE(drawn.command.ok());
    EXPECT_EQ(drawn.outFlags, PF_EO_HANDLED_EVENT);
    ASSERT_EQ(drawn.canvas.width(), 40);
    ASSERT_EQ(drawn.canvas.height(), 10);
    EXPECT_EQ(drawn.canvas.pixel(39, 9), (Argb {1, 0, 1, 0}));
    const EventResult clicked = host.sendEvent(Fixture::kAbout, PF_Event_DO_CLICK, {3, 4});
    EXPECT_TRUE(clicked.canvas.empty());
    EXPECT_THROW(host.sendEvent(kGain, PF_Event_DRAW), HostError);
}

}  // namespace
}  // namespace HostTest
