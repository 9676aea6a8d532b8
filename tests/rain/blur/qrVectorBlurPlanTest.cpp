// Path plans and the strip schedule: the geometry every traced path and
// every band relies on.
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

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

}  // namespace
