// Parameters: the host's value store (clamping, keyframes, text) and the
// effect host's names and keyframes as the plug-in reads them.
#include "qrFixtureHost.h"
#include "qrHostError.h"
#include "qrHostParam.h"
#include "qrParamText.h"

#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

using namespace Quarn::Host;

PF_ParamDef fixedSlider(double validMin, double validMax, double dephault)
{
    PF_ParamDef d {};
    d.param_type = PF_Param_FIX_SLIDER;
    std::strcpy(d.name, "Density");
    d.u.fs_d.valid_min = PF_Fixed(validMin * 65536);
    d.u.fs_d.valid_max = PF_Fixed(validMax * 65536);
    d.u.fs_d.slider_min = d.u.fs_d.valid_min;
    d.u.fs_d.slider_max = d.u.fs_d.valid_max;
    d.u.fs_d.dephault = PF_Fixed(dephault * 65536);
    d.u.fs_d.precision = 1;
    return d;
}

PF_ParamDef popup(const char* names, short count, short dephault)
{
    PF_ParamDef d {};
    d.param_type = PF_Param_POPUP;
    std::strcpy(d.name, "Method");
    d.u.pd = {0, count, dephault, names};
    return d;
}

PF_ParamDef colour(PF_Pixel dephault)
{
    PF_ParamDef d {};
    d.param_type = PF_Param_COLOR;
    std::strcpy(d.name, "Edge Colour");
    d.u.cd.dephault = dephault;
    return d;
}

TEST(HostParam, DeclaredDefaultBecomesTheValueAndStringsAreOwned)
{
    std::string names = "None|Mix|Add";
    HostParam p(3, popup(names.c_str(), 3, 2));
    names.assign("XXXXXXXXXXXX");  // the plug-in's buffer may change or go
    EXPECT_EQ(p.number(0), 2);
    EXPECT_EQ(p.choices(), (std::vector<std::string> {"None", "Mix", "Add"}));
    EXPECT_STREQ(p.definition().u.pd.namesptr, "None|Mix|Add");
}

TEST(HostParam, ValuesAreClampedToTheValidRange)
{
    struct Case {
        double set, expected;
    };
    HostParam density(7, fixedSlider(0.01, 5000, 60));
    for (const Case& c : {Case {0, 0.01}, Case {-5, 0.01}, Case {6000, 5000}, Case {35, 35}}) {
        density.setValue(density.withNumber(c.set), 0);
        EXPECT_NEAR(density.number(0), c.expected, 1.0 / 65536) << c.set;
    }
    HostParam method(14, popup("A|B|C", 3, 1));
    for (const Case& c : {Case {0, 1}, Case {4, 3}, Case {2, 2}}) {
        method.setValue(method.withNumber(c.set), 0);
        EXPECT_EQ(method.number(0), c.expected) << c.set;
    }
}

TEST(HostParam, KeyframesInterpolateLinearlyAndHoldOutside)
{
    HostParam p(4, fixedSlider(0, 1000, 50));
    p.setKey(1.0, p.withNumber(10));
    p.setKey(3.0, p.withNumber(30));
    struct Case {
        double seconds, expected;
    };
    for (const Case& c : {Case {0.0, 10}, Case {1.0, 10}, Case {1.5, 15}, Case {2.0, 20}, Case {2.75, 27.5},
             Case {3.0, 30}, Case {9.0, 30}})
        EXPECT_NEAR(p.number(c.seconds), c.expected, 1.0 / 65536) << c.seconds;
}

TEST(HostParam, SettingAKeyedParameterWritesAKeyAtThatTimeOnly)
{
    HostParam p(4, fixedSlider(0, 1000, 50));
    p.setKey(0.0, p.withNumber(0));
    p.setKey(2.0, p.withNumber(100));
    p.setValue(p.withNumber(80), 1.0);
    EXPECT_EQ(p.keyCount(), 3);
    EXPECT_NEAR(p.number(1.0), 80, 1e-4);
    EXPECT_NEAR(p.number(0.5), 40, 1e-4);
    EXPECT_NEAR(p.number(2.0), 100, 1e-4);
    p.setValue(p.withNumber(90), 2.0);  // an existing key is replaced
    EXPECT_EQ(p.keyCount(), 3);
    EXPECT_NEAR(p.number(2.0), 90, 1e-4);
}

TEST(HostParam, PopupsHoldTheEarlierKeyColoursBlendPerChannel)
{
    HostParam method(14, popup("A|B|C", 3, 1));
    method.setKey(0.0, method.withNumber(1));
    method.setKey(1.0, method.withNumber(3));
    EXPECT_EQ(method.number(0.99), 1);
    EXPECT_EQ(method.number(1.0), 3);

    HostParam edge(23, colour({255, 0, 0, 0}));
    PF_ParamDefUnion white = edge.definition().u;
    white.cd.value = {255, 255, 255, 255};
    PF_ParamDefUnion clear = white;
    clear.cd.value = {0, 0, 100, 200};
    edge.setKey(0.0, clear);
    edge.setKey(2.0, white);
    const PF_Pixel mid = edge.colour(1.0);
    EXPECT_EQ(std::tie(mid.alpha, mid.red, mid.green, mid.blue), std::tuple(128, 128, 178, 228));
}

TEST(HostParam, ParametersThatCannotTimeVaryRefuseKeys)
{
    PF_ParamDef d = popup("A|B", 2, 1);
    d.flags = PF_ParamFlag_CANNOT_TIME_VARY;
    HostParam p(2, d);
    EXPECT_THROW(p.setKey(1.0, p.withNumber(2)), HostError);
    PF_ParamDef group {};
    group.param_type = PF_Param_GROUP_START;
    HostParam g(13, group);
    EXPECT_THROW(g.setValue(g.definition().u, 0), HostError);
}

TEST(HostParam, DeletingTheLastKeyKeepsItsValue)
{
    HostParam p(4, fixedSlider(0, 100, 50));
    p.setKey(1.0, p.withNumber(70));
    p.deleteKey(0);
    EXPECT_EQ(p.keyCount(), 0);
    EXPECT_NEAR(p.number(5.0), 70, 1e-4);
    EXPECT_THROW(p.deleteKey(0), HostError);
}

// Text as the user types it, and what the parameter then shows; nullptr:
// the text fits no value and is rejected.
TEST(ParamText, UserTextRoundTripsForEveryKindAndMisfitsAreRejected)
{
    HostParam density(7, fixedSlider(0, 100, 60));
    HostParam method(14, popup("None|Mix|Colour Burn", 3, 1));
    HostParam edge(23, colour({255, 0, 0, 0}));
    struct Case {
        HostParam* param;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {{&density, "35", "35.0"}, {&density, "12.34", "12.3"}, {&method, "Mix", "Mix"},
        {&method, "colour burn", "Colour Burn"}, {&method, "1", "None"}, {&edge, "#FF8000", "#FF8000"},
        {&edge, "#FF800080", "#FF800080"},
        {&edge, "#102030", "#10203080"},  // RGB text keeps the colour's alpha
        {&density, "ten", nullptr}, {&density, "5x", nullptr}, {&method, "Blend", nullptr},
        {&method, "4", nullptr}, {&edge, "red", nullptr}, {&edge, "#12345", nullptr},
        {&edge, "#GG0000", nullptr}};
    for (const Case& c : cases) {
        if (!c.shown) {
            EXPECT_THROW(parseValue(*c.param, c.typed, 0), HostError) << c.typed;
            continue;
        }
        c.param->setValue(parseValue(*c.param, c.typed, 0), 0);
        EXPECT_EQ(formatValue(*c.param, 0), c.shown) << c.typed;
    }
    // The colour's channels themselves: the alpha is written last.
    const PF_Pixel typed = parseValue(edge, "#10203040", 0).cd.value;
    EXPECT_EQ(std::tuple(typed.red, typed.green, typed.blue, typed.alpha), std::tuple(0x10, 0x20, 0x30, 0x40));
}

}  // namespace

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
    EXPECT_THROW(host.setParam("Matte Layer", "1"), HostError);
    host.setParam("Gain", "1000");
    EXPECT_EQ(host.paramText("Gain"), "400.0");  // clamped to the declared valid range
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

}  // namespace
}  // namespace HostTest
