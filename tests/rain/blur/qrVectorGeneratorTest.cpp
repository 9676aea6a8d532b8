// The linear generator: the bias table, a vector independent of the
// position, and clones that keep every field.
#include "blur/qrVectorGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

TEST(LinearVectorGenerator, BiasShortensOneComponentAndFadesOneEndAndClonesKeepIt)
{
    const float angle = 0.6f;
    const float c = std::cos(angle), s = std::sin(angle);
    // Bias, vector, start and end weights. Negative bias fades the start and
    // shortens x, positive fades the end and shortens y; beyond +-1 both saturate.
    for (auto [bias, x, y, start, end] :
        {std::tuple {0.0f, c, s, 1.0f, 1.0f}, {-0.25f, 0.75f * c, s, 0.75f, 1.0f},
            {0.4f, c, 0.6f * s, 1.0f, 0.6f}, {-3.0f, 0.0f, s, 0.0f, 1.0f}, {2.0f, c, 0.0f, 1.0f, 0.0f}}) {
        SCOPED_TRACE(bias);
        const LinearVectorGenerator original(angle, 12.0f, bias);
        const auto copy = original.clone();
        const auto* clone = dynamic_cast<const LinearVectorGenerator*>(copy.get());
        ASSERT_NE(clone, nullptr);
        for (const LinearVectorGenerator* g : {&original, clone}) {
            float vx, vy;
            g->vectorAt(3.0f, 4.0f, vx, vy);
            EXPECT_NEAR(vx, x, 1e-6);
            EXPECT_NEAR(vy, y, 1e-6);
            for (float p : {-100.0f, 1e6f}) {
                float px, py;
                g->vectorAt(p, -p, px, py);
                EXPECT_EQ(std::pair(px, py), std::pair(vx, vy));
            }
            EXPECT_FLOAT_EQ(g->startWeight(), start);
            EXPECT_FLOAT_EQ(g->endWeight(), end);
            EXPECT_EQ(std::tuple(g->isUniform(), g->biased(), g->magnitude(), g->angle()),
                std::tuple(true, bias != 0.0f, 12.0f, angle));
        }
    }
}

}  // namespace
