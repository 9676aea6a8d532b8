// Path plans and the strip schedule: the geometry every traced path and
// every band relies on.
#include "qrMultiProcessor.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurStrips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(VectorBlurShape, ThirdsTripleThePointsOverAThirdOfTheLength)
{
    struct Row {
        float magnitude;
        bool thirds;
        int32_t perSide;
    };
    // perSide = ceil(M' / 2), three times that with thirds (M' = M / 3).
    for (Row r : {Row{50.0f, true, 27}, Row{50.0f, false, 25}, Row{1.0f, true, 3},
                  Row{7.0f, false, 4}, Row{0.0f, true, 0}}) {
        SCOPED_TRACE(r.magnitude);
        const auto s = QrVectorBlurShape::make(r.magnitude, r.thirds, 0.0f, 1);
        EXPECT_EQ(s.pointsPerSide, r.perSide);
        EXPECT_EQ(s.depositCount(), 2 * r.perSide + 1);
        EXPECT_EQ(s.averageWindow, 2 * r.perSide + 1);
        // Whole windows for every deposited sample.
        EXPECT_EQ(s.gatherCount(), s.depositCount() + s.smoothWindow - 1 + s.averageWindow - 1);
    }
}

TEST(VectorBlurPlan, PointsFollowTheVectorWithBilinearWeightsThatSumToOne)
{
    LinearVectorGenerator g(0.4f, 0, 0, 99, 99, 20.0f, 0.0f);
    const auto shape = QrVectorBlurShape::make(20.0f, true, 0.0f, 1);
    QrVectorBlurPlan plan;
    plan.trace(g, shape, 0, 0, 0.5f, 0.5f);
    ASSERT_TRUE(plan.spreads());
    const auto& taps = plan.taps();
    ASSERT_EQ(int32_t(taps.size()), shape.gatherCount());
    const int32_t side = (shape.gatherCount() - 1) / 2;
    for (int32_t i = 0; i < int32_t(taps.size()); ++i) {
        const auto& t = taps[i];
        EXPECT_NEAR(t.w00 + t.w10 + t.w01 + t.w11, 1.0f, 1e-6);
        // The weighted position of the four pixel indices is the point.
        const double px = t.dx + t.w10 + t.w11, py = t.dy + t.w01 + t.w11;
        EXPECT_NEAR(px, 0.5 + (i - side) * std::cos(0.4), 1e-5);
        EXPECT_NEAR(py, 0.5 + (i - side) * std::sin(0.4), 1e-5);
    }
    // The start point, the middle of the start pixel, takes a quarter of
    // that pixel and of its three neighbours.
    EXPECT_EQ(taps[side].dx, 0);
    EXPECT_EQ(taps[side].dy, 0);
    for (float w : {taps[side].w00, taps[side].w10, taps[side].w01, taps[side].w11})
        EXPECT_FLOAT_EQ(w, 0.25f);
}

TEST(VectorBlurPlan, NegligibleVectorsDoNotSpread)
{
    for (float magnitude : {0.0f, 0.02f, 0.029f}) {
        LinearVectorGenerator g(1.0f, 0, 0, 9, 9, magnitude, 0.0f);
        QrVectorBlurPlan plan;
        plan.trace(g, QrVectorBlurShape::make(magnitude, true, 0.0f, 1), 0, 0, 0.5f, 0.5f);
        EXPECT_FALSE(plan.spreads()) << magnitude;
    }
    LinearVectorGenerator g(1.0f, 0, 0, 9, 9, 0.04f, 0.0f);
    QrVectorBlurPlan plan;
    plan.trace(g, QrVectorBlurShape::make(0.04f, true, 0.0f, 1), 0, 0, 0.5f, 0.5f);
    EXPECT_TRUE(plan.spreads());
}

TEST(VectorBlurStrips, EveryRowInOneStripTallEnoughForTheReach)
{
    for (int32_t reach : {0, 3, 29, 200}) {
        for (int32_t rows : {1, 15, 64, 1081}) {
            QrVectorBlurStrips strips(10, 10 + rows, reach);
            EXPECT_GE(strips.rowsPerStrip(), 2 * reach);
            std::vector<int> seen(rows, 0);
            for (int32_t s = 0; s < strips.count(); ++s) {
                int32_t first, end;
                strips.strip(s, first, end);
                for (int32_t y = first; y < end; ++y)
                    ++seen[y - 10];
            }
            for (int32_t y = 0; y < rows; ++y)
                ASSERT_EQ(seen[y], 1) << "reach " << reach << " rows " << rows << " row " << y;
        }
    }
}

TEST(VectorBlurStrips, AnyBandSplitHandsEachStripToExactlyOneBand)
{
    const QrVectorBlurStrips strips(-7, 300, 11);
    for (int32_t threads = 1; threads <= 17; ++threads) {
        std::vector<int> owners(strips.count(), 0);
        for (int32_t parity = 0; parity < 2; ++parity)
            for (int32_t i = 0; i < threads; ++i) {
                int32_t first, end, from, to;
                QrMultiProcessor::splitBand(-7, 300, i, threads, true, first, end);
                strips.owned(parity, first, end, from, to);
                for (int32_t s = from; s < to; s += 2) {
                    EXPECT_EQ(s % 2, parity);
                    ++owners[s];
                }
            }
        for (int32_t s = 0; s < strips.count(); ++s)
            ASSERT_EQ(owners[s], 1) << threads << " threads, strip " << s;
    }
}

}  // namespace
