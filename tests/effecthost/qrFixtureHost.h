// Shared set-up of the host tests: the fixture plug-in and test pictures.
#pragma once

#include "../effecthost_fixture/qrFixtureEffect.h"
#include "qrEffectHost.h"

#include <gtest/gtest.h>

namespace HostTest {

using namespace Quarn::Host;
using Fixture::kGain;
using Fixture::kMatte;

constexpr const char* kFixturePath = NIMBREL_HOST_FIXTURE;

// Colours that vary along x and y, alpha varying too, at 8-bit steps.
inline HostImage picture(int width, int height)
{
    HostImage image(width, height, Depth::Bits8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, {(200 + x) / 255.0f, (10 * x) / 255.0f, (20 * y) / 255.0f, 0.5f});
    return image;
}

// A host with the fixture loaded, set up, and a source picture.
class FixtureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.start().ok());
        host.setSource(picture(kWidth, kHeight));
    }

    static constexpr int kWidth = 13;
    static constexpr int kHeight = 7;
    EffectHost host {kFixturePath};
};

}  // namespace HostTest
