// The monochrome noise decides which rain pixels get a drop and how bright it
// is; a wrong cut-off changes the density the user asked for. The exact values
// are checked against the literal reference; this checks what they mean.
#include "noise/qrNoiseMonoKernel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Over a block of real pixel keys: the share of values the cut-off keeps,
// the share of those below zero, and the survivors stretched back to reach
// both ends of the range rather than squeezed next to the cut.
TEST(QrNoiseMonoKernel, CutoffKeepsItsShareOfValuesStretchedOverTheFullRange)
{
    struct Row {
        float lo, hi, cutoff, white;
        double kept, negative;
    };
    for (Row r : {Row {0.0f, 1.0f, 0.9f, 1.0f, 0.1, 0.0}, Row {0.0f, 1.0f, 0.5f, 1.0f, 0.5, 0.0},
             Row {0.0f, 1.0f, 0.99f, 1.0f, 0.01, 0.0}, Row {0.0f, 0.6f, 0.9f, 255.0f, 0.1, 0.0},
             Row {-1.0f, 1.0f, 0.5f, 1.0f, 0.5, 0.5}, Row {-0.05f, 0.05f, 0.0f, 32768.0f, 1.0, 0.5}}) {
        SCOPED_TRACE(
            testing::Message() << r.lo << ".." << r.hi << " cut-off " << r.cutoff << " white " << r.white);
        const float lo[3] = {r.lo, r.lo, r.lo}, hi[3] = {r.hi, r.hi, r.hi};
        const QrNoiseMonoKernel k = QrNoiseMonoKernel::make(lo, hi, r.cutoff, r.white);
        EXPECT_EQ(k.cutoffActive, r.cutoff > 0.0f);
        int total = 0, nonZero = 0, negative = 0;
        float smallest = INFINITY, largest = -INFINITY;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 500; ++x) {
                const float v = k.value(QrHash::key(x, y, 11));
                ++total;
                nonZero += v != 0.0f;
                negative += v < 0.0f;
                if (v != 0.0f) {
                    smallest = std::min(smallest, v);
                    largest = std::max(largest, v);
                }
            }
        EXPECT_NEAR(double(nonZero) / total, r.kept, 0.01 + r.kept * 0.05);
        EXPECT_NEAR(double(negative) / nonZero, r.negative, 0.03);
        const float span = (r.hi - r.lo) * r.white, tiny = 1e-4f * span;
        EXPECT_GE(smallest, r.lo * r.white - tiny);
        EXPECT_LE(largest, r.hi * r.white + tiny);
        EXPECT_LT(smallest, r.lo * r.white + 0.02f * span);
        EXPECT_GT(largest, r.hi * r.white - 0.02f * span);
    }
}

}  // namespace
