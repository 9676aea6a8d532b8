// The geometry every traced path and every band relies on: the linear
// generator (its bias table, a vector independent of the position, clones
// that keep every field), path plans, the strip schedule, and the row-wise
// start weights.
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurSchedule.h"
#include "blur/qrVectorBlurWeights.h"
#include "blur/qrVectorGenerator.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

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

TEST(VectorBlurPlan, NegligibleVectorsDoNotSpread)
{
    for (float magnitude : {0.0f, 0.02f, 0.029f, 0.04f}) {
        LinearVectorGenerator g(1.0f, magnitude, 0.0f);
        QrVectorBlurPlan plan;
        plan.trace(g, QrVectorBlurShape::make(magnitude, true, 0.0f, 1), 0, 0, 0.5f, 0.5f);
        EXPECT_EQ(plan.spreads(), magnitude > 0.03f) << magnitude;
    }
}

// The schedule is what keeps the result exact: every sub-pass traces every
// strip once, strips that touch common rows run in phase order and never
// together, rows are cleared before their first touch and finished (in
// place: written) after their last touch and read, within ringRows().
TEST(VectorBlurSchedule, PhasesKeepTheirOrderWhereStripsMeetAndRowsStayHeld)
{
    struct Case {
        int32_t first, end, areaFirst, areaEnd, subPasses;
        QrVectorBlurReach reach;
        bool inPlace;
        int32_t lanes;
    };
    for (const Case& c : {Case {10, 11, 0, 20, 2, {0, 0, 0, false}, true, 1},
             Case {-7, 300, -20, 310, 2, {11, 25, 26, false}, true, 2},
             Case {0, 1081, 0, 1081, 2, {29, 68, 68, false}, false, 1},
             Case {0, 1081, 0, 1081, 2, {29, 68, 68, false}, true, 2},
             Case {5, 200, 0, 205, 3, {3, 9, 9, true}, true, 3},
             Case {0, 90, 0, 90, 1, {200, 200, 200, false}, true, 2},
             Case {0, 1081, 0, 1081, 1, {29, 68, 68, false}, true, 4},
             Case {0, 64, 0, 64, 0, {5, 5, 5, false}, true, 1}}) {
        SCOPED_TRACE(
            testing::Message() << "rows " << c.first << ".." << c.end << ", reach " << c.reach.deposit);
        const QrVectorBlurSchedule schedule(
            c.first, c.end, c.areaFirst, c.areaEnd, c.subPasses, c.reach, c.inPlace, c.lanes);
        EXPECT_GE(schedule.rowsPerStrip(), 2 * c.reach.deposit);
        const int32_t rows = c.areaEnd - c.areaFirst, unset = -1;
        std::vector<int32_t> cleared(rows, unset), finished(rows, unset), lastTouch(rows, unset),
            lastRead(rows, unset), traced(rows, 0);
        struct Done {
            int32_t phase, first, end, pass;
        };
        std::vector<Done> done;
        int32_t live = 0, lastTrace = unset;
        for (int32_t p = 0; p < schedule.passCount(); ++p) {
            int32_t first, end;
            schedule.clearRows(p, first, end);
            for (int32_t y = first; y < end; ++y)
                cleared[y - c.areaFirst] = p;
            for (const auto& s : schedule.strips(p)) {
                const int32_t index = (s.first - c.first) / schedule.rowsPerStrip();
                const Done d {2 * (s.subPass - 1) + index % 2, s.first, s.end, p};
                for (const Done& e : done) {
                    const bool meet = e.first - c.reach.deposit < d.end + c.reach.deposit &&
                        d.first - c.reach.deposit < e.end + c.reach.deposit;
                    ASSERT_TRUE(!meet || (e.phase < d.phase && e.pass < p)) << "strip " << s.first;
                }
                done.push_back(d);
                lastTrace = p;
                for (int32_t y = s.first; y < s.end; ++y)
                    traced[y - c.areaFirst] += 1;
                for (int32_t y = std::max(s.first - c.reach.deposit, c.areaFirst);
                     y < std::min(s.end + c.reach.deposit, c.areaEnd); ++y) {
                    ASSERT_TRUE(cleared[y - c.areaFirst] != unset && cleared[y - c.areaFirst] < p);
                    lastTouch[y - c.areaFirst] = p;
                }
                for (int32_t y = std::max(s.first - c.reach.gatherUp, c.areaFirst);
                     y < std::min(s.end + c.reach.gatherDown, c.areaEnd); ++y)
                    lastRead[y - c.areaFirst] = p;
            }
            schedule.finishRows(p, first, end);
            for (int32_t y = first; y < end; ++y) {
                ASSERT_EQ(finished[y - c.areaFirst], unset);
                finished[y - c.areaFirst] = p;
            }
            int32_t held = 0;  // rows of the region in the accumulator during this pass
            for (int32_t y = c.first; y < c.end; ++y) {
                const int32_t i = y - c.areaFirst;
                held += cleared[i] != unset && (finished[i] == unset || finished[i] == p);
            }
            live = std::max(live, held);
        }
        for (int32_t y = c.first; y < c.end; ++y) {
            const int32_t i = y - c.areaFirst;
            EXPECT_EQ(traced[i], c.subPasses) << "row " << y;
            ASSERT_NE(finished[i], unset) << "row " << y;
            EXPECT_GT(finished[i], std::max(lastTouch[i], cleared[i])) << "row " << y;
            const int32_t read = c.reach.gatherAnywhere ? lastTrace : lastRead[i];
            EXPECT_TRUE(!c.inPlace || finished[i] > read) << "row " << y;
        }
        EXPECT_LE(live, schedule.ringRows());
    }
}

// Row by row, QrVectorBlurWeights must choose the same start pixels and
// leave the same weights, to the last bit, as taking each path's weights
// off path by path: which pixels start later paths hangs on the last bits
// of the weights left over.
constexpr int32_t kWidth = 71, kHeight = 48;

// Weights between -0.2 and 1: some pixels are covered from the start.
void fill(QrVectorBlurAccumulator& acc, int32_t seed)
{
    acc.allocate({0, 0, kWidth, kHeight}, kHeight, 1.0f);
    const QrRect& a = acc.area();
    acc.clearRows(a.y0, a.y1);
    for (int32_t y = a.y0; y < a.y1; ++y)
        for (int32_t x = a.x0; x < a.x1; ++x)
            *acc.weightAt(x, y) = QrRainTest::hashed(x, y, seed) * 1.2f - 0.2f;
}

// The path-by-path order: start pixels left to right, each taking its taps'
// four weights in order.
void scatterRow(const QrVectorBlurPlan& plan, const QrVectorBlurAccumulator& acc, int32_t x0, int32_t x1,
    int32_t y, std::vector<int32_t>& starts)
{
    starts.clear();
    const int32_t count = int32_t(plan.taps().size()) - 2 * plan.depositFirst();
    for (int32_t x = x0; x < x1; ++x) {
        if (!(*acc.weightAt(x, y) > 0.0f))
            continue;
        starts.push_back(x);
        for (int32_t i = 0; i < count; ++i) {
            const QrVectorBlurTap& t = plan.depositTaps()[i];
            acc.takeWeight(x + t.dx, y + t.dy, t.w00);
            acc.takeWeight(x + t.dx + 1, y + t.dy, t.w10);
            acc.takeWeight(x + t.dx, y + t.dy + 1, t.w01);
            acc.takeWeight(x + t.dx + 1, y + t.dy + 1, t.w11);
        }
    }
}

TEST(VectorBlurWeights, RowsTakeTheWeightsOfPathByPathDepositsToTheLastBit)
{
    int32_t seed = 0;
    // Steep, shallow and axis directions, both ways; short and long paths;
    // the sub-pass start offsets; start columns narrower than the image.
    for (float direction : {-1.5707964f, -1.05f, 0.0f, 0.4f, 2.6f, 3.1415927f})
        for (float length : {3.0f, 30.0f})
            for (float offset : {0.5f, 0.25f, 0.75f})
                for (auto [x0, x1] : {std::pair {0, kWidth}, std::pair {9, 50}}) {
                    SCOPED_TRACE(testing::Message() << direction << " rad, length " << length << ", offset "
                                                    << offset << ", columns " << x0 << ".." << x1);
                    LinearVectorGenerator generator(direction, length, 0.0f);
                    QrVectorBlurPlan plan;
                    plan.trace(
                        generator, QrVectorBlurShape::make(length, true, 0.0f, 1), 0, 0, offset, offset);
                    QrVectorBlurAccumulator byPath, byRow;
                    fill(byPath, ++seed);
                    fill(byRow, seed);
                    QrVectorBlurWeights weights(plan, x0, x1);
                    std::vector<int32_t> expected, got;
                    int32_t started = 0;
                    for (int32_t y = 0; y < kHeight; ++y) {
                        scatterRow(plan, byPath, x0, x1, y, expected);
                        weights.startRow(byRow, y, got);
                        ASSERT_EQ(got, expected) << "row " << y;
                        started += int32_t(got.size());
                    }
                    EXPECT_GT(started, kHeight / 4);
                    for (int32_t y = 0; y < kHeight; ++y)
                        EXPECT_EQ(
                            std::memcmp(byPath.weightAt(0, y), byRow.weightAt(0, y), sizeof(float) * kWidth),
                            0);
                }
}

}  // namespace
