// Row by row, QrVectorBlurWeights must choose the same start pixels and
// leave the same weights, to the last bit, as taking each path's weights
// off path by path: which pixels start later paths hangs on the last bits
// of the weights left over.
#include "noise/qrHash.h"
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurWeights.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int32_t kWidth = 71, kHeight = 48;

// Weights between -0.2 and 1: some pixels are covered from the start.
void fill(const QrVectorBlurAccumulator& acc, int32_t seed)
{
    const QrRect& a = acc.area();
    acc.clearRows(a.y0, a.y1);
    for (int32_t y = a.y0; y < a.y1; ++y)
        for (int32_t x = a.x0; x < a.x1; ++x)
            *acc.weightAt(x, y) = QrHash::unit(QrHash::hash(QrHash::key(x, y, seed))) * 1.2f - 0.2f;
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

bool sameWeights(const QrVectorBlurAccumulator& a, const QrVectorBlurAccumulator& b)
{
    const QrRect& r = a.area();
    for (int32_t y = r.y0; y < r.y1; ++y)
        if (std::memcmp(a.weightAt(r.x0, y), b.weightAt(r.x0, y), sizeof(float) * std::size_t(r.width())) !=
            0)
            return false;
    return true;
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
                    byPath.allocate({0, 0, kWidth, kHeight}, kHeight, 1.0f);
                    byRow.allocate({0, 0, kWidth, kHeight}, kHeight, 1.0f);
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
                    EXPECT_TRUE(sameWeights(byPath, byRow));
                }
}

}  // namespace
