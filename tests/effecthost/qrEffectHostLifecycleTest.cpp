// Loading, set-up and set-down with the host's handle accounting, the
// host's description of itself and the about box. The property list, the
// version and flags, and sequence data are exercised by the real plug-in's
// tests.
#include "qrFixtureHost.h"

#include "qrHostError.h"

namespace HostTest {
namespace {

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

TEST(EffectHostLifecycle, SetupDeclaresParametersAndSetdownReleasesGlobalData)
{
    EffectHost host(kFixturePath);
    ASSERT_TRUE(host.start().ok());
    ASSERT_NE(host.globalData(), nullptr);
    EXPECT_EQ(host.handles().liveCount(), 1u);
    EXPECT_EQ(host.declaredParamCount(), Fixture::kParamCount);
    EXPECT_EQ(host.paramCount(), Fixture::kParamCount);
    EXPECT_EQ(host.param(0).type(), PF_Param_LAYER);
    EXPECT_EQ(host.paramText("Tint"), "#FF0000");
    EXPECT_EQ(host.param(Fixture::kTint).group(), "Tinting");
    EXPECT_THROW(host.paramsSetup(), HostError);  // declared once only
    ASSERT_TRUE(host.stop().ok());
    EXPECT_EQ(host.globalData(), nullptr);
    EXPECT_EQ(host.handles().liveCount(), 0u);
}

TEST_F(FixtureTest, HostPropertiesReachThePlugInUnchanged)
{
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

TEST_F(FixtureTest, AboutBoxIsShownInTheMainWindowWithAnEmptyMessage)
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

}  // namespace
}  // namespace HostTest
