// The rain motion suite between our host and the plug-in: a host that offers
// it moves the rain by every field it hands over, in both render commands; a
// host without it (any other compositing host) gets exactly the rain of the
// plug-in's own controls, and the suite is always given back.
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

TEST_F(RainMotion, EveryFieldTheHostOffersMovesTheRainInBothRenderCommands)
{
    host.setFrame(5);
    EXPECT_EQ(host.rainMotion().fall_speed, kNoMotion.fall_speed);
    const HostImage still = render(Depth::Bits8, RenderMode::Smart);
    host.setRainMotion(falling(6.0));
    const HostImage moving = render(Depth::Bits8, RenderMode::Smart);
    EXPECT_GT(maxDifference(moving, still), 0.0f);
    EXPECT_EQ(maxDifference(render(Depth::Bits8, RenderMode::Classic), moving), 0.0f);

    // Each field, changed from a motion where it matters, changes the picture.
    NimbrelRainMotion windy = falling(6.0), deep = falling(6.0), gusty, farther, streaks = falling(6.0);
    windy.wind_variation = 30.0;
    deep.depth_layers = 3;
    gusty = windy;
    gusty.gust_rate = 60.0;
    farther = deep;
    farther.depth_falloff = 0.8;
    streaks.streak_from_speed = 1;
    struct Row {
        const char* field;
        NimbrelRainMotion from, to;
    };
    for (const Row& r : {Row {"wind_variation", falling(6.0), windy}, Row {"gust_rate", windy, gusty},
             Row {"depth_layers", falling(6.0), deep}, Row {"depth_falloff", deep, farther},
             Row {"streak_from_speed", falling(6.0), streaks}}) {
        host.setRainMotion(r.from);
        const HostImage from = render(Depth::Bits8, RenderMode::Smart);
        host.setRainMotion(r.to);
        EXPECT_GT(maxDifference(render(Depth::Bits8, RenderMode::Smart), from), 0.0f)
            << r.field << " did not reach the rain";
    }
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
