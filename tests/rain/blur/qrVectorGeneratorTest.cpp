// The linear generator: the bias table, a vector independent of the
// position, and clones that keep every field.
#include "blur/qrVectorGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LinearVectorGenerator, BiasShortensOneComponentAndFadesOneEnd)
{
    const float angle = 0.6f;
    const float c = std::cos(angle), s = std::sin(angle);
    struct Row {
        float bias, vx, vy, start, end;
    };
    // Negative bias fades the start and shortens x, positive fades the end
    // and shortens y; beyond +-1 both saturate.
    for (Row r : {Row {0.0f, c, s, 1.0f, 1.0f}, Row {-0.25f, 0.75f * c, s, 0.75f, 1.0f},
             Row {0.4f, c, 0.6f * s, 1.0f, 0.6f}, Row {-3.0f, 0.0f, s, 0.0f, 1.0f},
             Row {2.0f, c, 0.0f, 1.0f, 0.0f}}) {
        SCOPED_TRACE(r.bias);
        LinearVectorGenerator g(angle, 12.0f, r.bias);
        float vx, vy;
        g.vectorAt(3.0f, 4.0f, vx, vy);
        EXPECT_NEAR(vx, r.vx, 1e-6);
        EXPECT_NEAR(vy, r.vy, 1e-6);
        EXPECT_FLOAT_EQ(g.startWeight(), r.start);
        EXPECT_FLOAT_EQ(g.endWeight(), r.end);
        EXPECT_EQ(g.biased(), r.bias != 0.0f);
        EXPECT_FLOAT_EQ(g.magnitude(), 12.0f);
    }
}

TEST(LinearVectorGenerator, UnbiasedVectorIsTheUnitDirectionEverywhere)
{
    LinearVectorGenerator g(2.2f, 7.0f, 0.0f);
    EXPECT_TRUE(g.isUniform());
    float x0, y0;
    g.vectorAt(0.0f, 0.0f, x0, y0);
    EXPECT_NEAR(x0 * x0 + y0 * y0, 1.0f, 1e-6);
    EXPECT_NEAR(std::atan2(y0, x0), 2.2f, 1e-6);
    for (float p : {-100.0f, 3.5f, 1e6f}) {
        float vx, vy;
        g.vectorAt(p, -p, vx, vy);
        EXPECT_EQ(vx, x0);
        EXPECT_EQ(vy, y0);
    }
}

TEST(LinearVectorGenerator, CloneKeepsEveryField)
{
    LinearVectorGenerator g(-1.1f, 9.5f, -0.3f);
    const auto copy = g.clone();
    const auto* linear = dynamic_cast<const LinearVectorGenerator*>(copy.get());
    ASSERT_NE(linear, nullptr);
    float ax, ay, bx, by;
    g.vectorAt(0, 0, ax, ay);
    linear->vectorAt(0, 0, bx, by);
    EXPECT_EQ(ax, bx);
    EXPECT_EQ(ay, by);
    EXPECT_EQ(linear->magnitude(), 9.5f);
    EXPECT_EQ(linear->angle(), -1.1f);
    EXPECT_EQ(linear->startWeight(), g.startWeight());
}

}  // namespace
