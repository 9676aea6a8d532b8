// Rendering through the host: every depth and mode, padded rows, the matte
// layer, keyframes at the render time and cancel. Unsupported formats and
// refused suites are exercised by the real plug-in's tests.
#include "qrFixtureHost.h"

#include "qrHostError.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

namespace HostTest {
namespace {

using RenderTest = FixtureTest;

struct RenderSetup {
    Depth depth;
    RenderMode mode;
    const char* name;
};

const RenderSetup kSetups[] = {{Depth::Bits8, RenderMode::Classic, "8-bit classic"},
    {Depth::Bits16, RenderMode::Classic, "16-bit classic"}, {Depth::Bits8, RenderMode::Smart, "8-bit smart"},
    {Depth::Bits16, RenderMode::Smart, "16-bit smart"}, {Depth::Float, RenderMode::Smart, "float smart"}};

// One 8-bit step: the coarsest depth's rounding.
constexpr float kTolerance = 1.0f / 255.0f + 1e-6f;

// Checks the picture that the fixture makes: colour x gain, alpha from the
// input or from `alphaAt`.
template <typename Alpha>
void expectGained(
    const HostImage& out, const HostImage& in, float gain, Alpha alphaAt, const std::string& what)
{
    ASSERT_EQ(out.width(), in.width()) << what;
    ASSERT_EQ(out.height(), in.height()) << what;
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const Argb p = in.pixel(x, y);
            const Argb q = out.pixel(x, y);
            EXPECT_NEAR(q[0], alphaAt(x, y, p[0]), kTolerance) << what << " alpha at " << x << "," << y;
            for (int c = 1; c < 4; ++c)
                EXPECT_NEAR(q[c], std::min(1.0f, p[c] * gain), kTolerance) << what << " at " << x << "," << y;
        }
}

auto inputAlpha = [](int, int, float a) { return a; };

// The colour x gain picture, then the tint a colour parameter gives.
TEST_F(RenderTest, EveryDepthAndModeRendersIntoPaddedWorlds)
{
    const HostImage source = picture(kWidth, kHeight);
    for (const RenderSetup& s : kSetups) {
        host.setParam("Gain", "150");
        host.setParam("Use Tint", "off");
        RenderResult r = host.render(s.depth, s.mode);
        ASSERT_TRUE(r.command.ok()) << s.name;
        EXPECT_EQ(r.image.depth(), s.depth) << s.name;
        EXPECT_TRUE(r.paddingIntact) << s.name;
        expectGained(r.image, source, 1.5f, inputAlpha, s.name);
        host.setParam("Use Tint", "on");
        host.setParam("Tint", "#00FF0080");
        r = host.render(s.depth, s.mode);
        ASSERT_TRUE(r.command.ok()) << s.name;
        EXPECT_TRUE(r.paddingIntact) << s.name;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Argb p = r.image.pixel(x, y);
                ASSERT_NEAR(p[0], 128 / 255.0f, kTolerance) << s.name;
                ASSERT_NEAR(p[2], 1.0f, kTolerance) << s.name;
                ASSERT_NEAR(p[1] + p[3], 0.0f, kTolerance) << s.name;
            }
    }
    const HostCounters c = host.counters();
    EXPECT_EQ(c.leakedCheckouts, 0);
    EXPECT_EQ(c.paramCheckouts, c.paramCheckins);
    EXPECT_EQ(c.suitesHeld, 0);
    EXPECT_EQ(c.badCallbacks, 0);
}

TEST_F(RenderTest, MatteLayerOfItsOwnSizeGivesTheAlphaWhereItCovers)
{
    HostImage matte(5, 3, Depth::Bits8);
    matte.fill({0.25f, 1, 1, 1});
    host.setLayer(kMatte, matte);
    const HostImage source = picture(kWidth, kHeight);
    auto matteAlpha = [](int x, int y, float) { return x < 5 && y < 3 ? 0.25f : 0.0f; };
    for (const RenderSetup& s : kSetups) {
        const RenderResult r = host.render(s.depth, s.mode);
        ASSERT_TRUE(r.command.ok()) << s.name;
        expectGained(r.image, source, 1.0f, matteAlpha, std::string(s.name) + " with matte");
    }
    host.setLayer(kMatte, std::nullopt);
    const RenderResult r = host.render(Depth::Bits8, RenderMode::Smart);
    expectGained(r.image, source, 1.0f, inputAlpha, "matte removed");
    EXPECT_EQ(host.counters().leakedCheckouts, 0);
}

TEST_F(RenderTest, KeyframedValuesAreReadAtTheFrameBeingRendered)
{
    host.setParamKey("Gain", 0, "0");
    host.setParamKey("Gain", 8, "200");
    const HostImage source = picture(kWidth, kHeight);
    for (A_long frame : {0, 2, 4, 8, 12}) {
        host.setFrame(frame);
        const float gain = std::min(frame, A_long(8)) / 8.0f * 2.0f;
        for (RenderMode mode : {RenderMode::Classic, RenderMode::Smart}) {
            const RenderResult r = host.render(Depth::Bits16, mode);
            ASSERT_TRUE(r.command.ok());
            expectGained(r.image, source, gain, inputAlpha, "frame " + std::to_string(frame));
        }
    }
}

TEST_F(RenderTest, CancelHookStopsTheRenderAtTheNextProgressPoll)
{
    const HostImage source = picture(kWidth, kHeight);
    for (RenderMode mode : {RenderMode::Classic, RenderMode::Smart}) {
        const int pollsBefore = host.counters().progressPolls;
        host.cancelAfterProgressPolls(3);
        const RenderResult r = host.render(Depth::Bits8, mode);
        EXPECT_EQ(r.command.error, PF_Interrupt_CANCEL);
        EXPECT_EQ(host.counters().progressPolls - pollsBefore, 4);
        // The fixture polls before each row: rows 0 to 2 are done, the rest untouched.
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_NEAR(r.image.channel(x, 2, 1), source.channel(x, 2, 1), kTolerance);
            EXPECT_EQ(r.image.pixel(x, 3), (Argb {0, 0, 0, 0}));
        }
        // The cancel belongs to that render only.
        EXPECT_TRUE(host.render(Depth::Bits8, mode).command.ok());
    }
}

TEST_F(RenderTest, PreRenderReportsItsRectanglesAndLayerCheckouts)
{
    HostImage matte(4, 4, Depth::Bits8);
    host.setLayer(kMatte, matte);
    host.setFrame(3);
    const RenderResult r = host.render(Depth::Bits8, RenderMode::Smart);
    ASSERT_TRUE(r.command.ok());
    EXPECT_EQ(std::tie(r.resultRect.left, r.resultRect.top, r.resultRect.right, r.resultRect.bottom),
        std::tuple(0, 0, kWidth, kHeight));
    ASSERT_EQ(r.layerCheckouts.size(), 2u);
    EXPECT_EQ(r.layerCheckouts[0].index, 0);
    EXPECT_EQ(r.layerCheckouts[1].index, kMatte);
    EXPECT_DOUBLE_EQ(r.layerCheckouts[1].seconds, host.currentSeconds());
}

TEST_F(RenderTest, HostMisuseThrowsInsteadOfReachingThePlugIn)
{
    EXPECT_THROW(host.render(Depth::Float, RenderMode::Classic), HostError);
    EffectHost bare(kFixturePath);
    ASSERT_TRUE(bare.start().ok());
    EXPECT_THROW(bare.render(Depth::Bits8, RenderMode::Classic), HostError);  // no source
}

// Callbacks find their host through the thread that runs the command, so
// hosts on different threads must never see each other's calls.
TEST(EffectHostThreads, HostsOnSeparateThreadsRenderIndependently)
{
    constexpr int kHosts = 2;
    std::vector<std::unique_ptr<EffectHost>> hosts;
    for (int i = 0; i < kHosts; ++i) {
        hosts.push_back(std::make_unique<EffectHost>(kFixturePath));
        ASSERT_TRUE(hosts.back()->start().ok());
        hosts.back()->setSource(picture(9, 5));
        hosts.back()->setParam("Gain", i == 0 ? "50" : "200");
    }
    std::vector<RenderResult> results(kHosts);
    std::vector<std::thread> threads;
    for (int i = 0; i < kHosts; ++i)
        threads.emplace_back([&, i] {
            for (int round = 0; round < 20; ++round)
                results[i] = hosts[i]->render(Depth::Float, RenderMode::Smart);
        });
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < kHosts; ++i) {
        ASSERT_TRUE(results[i].command.ok());
        expectGained(
            results[i].image, picture(9, 5), i == 0 ? 0.5f : 2.0f, inputAlpha, "host " + std::to_string(i));
        EXPECT_EQ(hosts[i]->counters().badCallbacks, 0);
    }
}

}  // namespace
}  // namespace HostTest
