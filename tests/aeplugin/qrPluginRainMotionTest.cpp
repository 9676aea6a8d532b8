// The rain motion suite between our host and the plug-in: a host that offers
// it moves the rain, in both render commands; a host without it (any other
// compositing host) gets exactly the rain of the plug-in's own controls, and
// the suite is always given back. (That every field reaches the rain is
// checked through the command line.)
#include "qrPluginFixture.h"

#include <qrRainMotionSuite.h>

namespace {

using namespace PluginTest;

using RainMotion = Started;

const NimbrelRainMotion kNoMotion {0.0, 0.0, 4.0, 1, 0.4, 0};

NimbrelRainMotion falling(double speed)
{
    NimbrelRainMotion m = kNoMotion;
    m.fall_speed = speed;
    return m;
}

TEST_F(RainMotion, TheMotionTheHostOffersMovesTheRainInBothRenderCommands)
{
    host.setFrame(5);
    EXPECT_EQ(host.rainMotion().fall_speed, kNoMotion.fall_speed);
    const HostImage still = render(Depth::Bits8, RenderMode::Smart);
    host.setRainMotion(falling(6.0));
    const HostImage moving = render(Depth::Bits8, RenderMode::Smart);
    EXPECT_GT(maxDifference(moving, still), 0.0f);
    EXPECT_EQ(maxDifference(render(Depth::Bits8, RenderMode::Classic), moving), 0.0f);
    EXPECT_EQ(host.counters().suitesHeld, 0);
}

TEST_F(RainMotion, AHostWithoutTheSuiteGetsTheRainWithoutMotion)
{
    host.setFrame(5);
    const HostImage still = render(Depth::Float, RenderMode::Smart);
    host.setRainMotion(falling(6.0));
    host.refuseSuite(kNimbrelRainMotionSuite);
    EXPECT_EQ(maxDifference(render(Depth::Float, RenderMode::Smart), still), 0.0f);
    EXPECT_EQ(
        maxDifference(render(Depth::Bits16, RenderMode::Classic), render(Depth::Bits16, RenderMode::Smart)),
        0.0f);
    EXPECT_EQ(host.counters().suitesHeld, 0);
}

}  // namespace
