#pragma once
// The real plug-in, loaded through our host and started (global, parameter
// and sequence set-up), with helpers to make and compare test pictures.
#include "qrEffectHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace PluginTest {

using Quarn::Host::Argb;
using Quarn::Host::Depth;
using Quarn::Host::EffectHost;
using Quarn::Host::HostImage;
using Quarn::Host::RenderMode;

constexpr const char* kPluginPath = NIMBREL_PLUGIN_PATH;

// A picture from a function of (x, y) giving normalised ARGB.
inline HostImage picture(int width, int height, Depth depth, const std::function<Argb(int, int)>& at)
{
    HostImage image(width, height, depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, at(x, y));
    return image;
}

// An opaque scene with bright spots, so that the rain has highlights to
// diffuse at the default thresholds.
inline HostImage nightScene(int width, int height, Depth depth)
{
    return picture(width, height, depth, [](int x, int y) -> Argb {
        const bool lamp = (x / 6 + y / 6) % 5 == 0;
        const float base = 0.15f + 0.3f * float((x * 7 + y * 3) % 17) / 17.0f;
        return {1.0f, lamp ? 0.98f : base, lamp ? 0.95f : base * 0.9f, lamp ? 0.9f : base * 1.1f};
    });
}

// Largest difference of any channel between two pictures of one size.
inline float maxDifference(const HostImage& a, const HostImage& b)
{
    float worst = 0.0f;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int c = 0; c < 4; ++c)
                worst = std::max(worst, std::abs(a.channel(x, y, c) - b.channel(x, y, c)));
    return worst;
}

// Whether pixel (x, y) differs between two pictures in any channel.
inline bool differsAt(const HostImage& a, const HostImage& b, int x, int y, float tolerance = 0.0f)
{
    for (int c = 0; c < 4; ++c)
        if (std::abs(a.channel(x, y, c) - b.channel(x, y, c)) > tolerance)
            return true;
    return false;
}

// The plug-in started, with a night scene as its source.
class Started : public ::testing::Test {
protected:
    static constexpr int kWidth = 48;
    static constexpr int kHeight = 32;
    EffectHost host {kPluginPath};

    void SetUp() override
    {
        const auto r = host.start();
        ASSERT_TRUE(r.ok()) << r.error << " " << r.message;
        host.setSource(nightScene(kWidth, kHeight, Depth::Bits8));
    }

    // A render that must succeed inside its rows, as float for comparing.
    HostImage render(Depth depth, RenderMode mode)
    {
        auto r = host.render(depth, mode);
        EXPECT_TRUE(r.command.ok()) << r.command.error << " " << r.command.message;
        EXPECT_TRUE(r.paddingIntact);
        return r.image.converted(Depth::Float);
    }
};

}  // namespace PluginTest
