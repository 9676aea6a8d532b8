// The linear generator: the bias table, a vector independent of the
// position, and clones that keep every field.
#include "blur/qrVectorGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LinearVectorGenerator, BiasShortensOneComponentAndFadesOneEndAndClonesKeepIt)
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
        const LinearVectorGenerator original(angle, 12.0f, r.bias);
        const auto copy = original.clone();
        const auto* clone = dynamic_cast<const LinearVectorGenerator*>(copy.get());
        ASSERT_NE(clone, nullptr);
        for (const LinearVectorGenerator* g : {&original, clone}) {
            float vx, vy;
            g->vectorAt(3.0f, 4.0f, vx, vy);
            EXPECT_NEAR(vx, r.vx, 1e-6);
            EXPECT_NEAR(vy, r.vy, 1e-6);
            for (float p : {-100.0f, 1e6f}) {
                float px, py;
                g->vectorAt(p, -p, px, py);
                EXPECT_EQ(px, vx);
                EXPECT_EQ(py, vy);
            }
            EXPECT_TRUE(g->isUniform());
            EXPECT_FLOAT_EQ(g->startWeight(), r.start);
            EXPECT_FLOAT_EQ(g->endWeight(), r.end);
            EXPECT_EQ(g->biased(), r.bias != 0.0f);
            EXPECT_EQ(g->magnitude(), 12.0f);
            EXPECT_EQ(g->angle(), angle);
        }
    }
}

}  // namespace
