#include "blur/qrVectorBlurWeights.h"

#include "blur/qrVectorBlurLanes.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace {

bool anyAboveZero(const float* w)
{
    QrLanes v;
    std::memcpy(&v, w, sizeof v);
    const auto above = v > qrSplat(0.0f);
    return (above[0] | above[1] | above[2] | above[3]) != 0;
}

}  // namespace

QrVectorBlurWeights::QrVectorBlurWeights(const QrVectorBlurPlan& plan, int32_t x0, int32_t x1)
    : plan_(&plan), x0_(x0), x1_(std::max(x0, x1))
{
    struct Keyed {
        int32_t dx, tap, corner;
        float w;
    };
    std::map<int32_t, std::vector<Keyed>> byRow;
    const QrVectorBlurTap* taps = plan.depositTaps();
    const int32_t count = plan.depositCount();
    for (int32_t i = 0; i < count; ++i) {
        const QrVectorBlurTap& t = taps[i];
        const float w[4] = {t.w00, t.w10, t.w01, t.w11};
        for (int32_t c = 0; c < 4; ++c)
            byRow[t.dy + c / 2].push_back({t.dx + c % 2, i, c, w[c]});
    }
    for (auto& [dy, list] : byRow) {
        // Start pixels from left to right are those from the largest column
        // offset to the smallest.
        std::sort(list.begin(), list.end(), [](const Keyed& a, const Keyed& b) {
            return std::tie(b.dx, a.tap, a.corner) < std::tie(a.dx, b.tap, b.corner);
        });
        TargetRow row {dy, list.back().dx, list.front().dx, {}};
        for (const Keyed& k : list) {
            row.entries.push_back({k.dx, k.w});
            if (dy == 0 && k.dx > 0)
                fromLeft_.push_back({k.dx, k.w});
            pad_ = std::max(pad_, 2 * std::abs(k.dx) + 1);
        }
        rows_.push_back(std::move(row));
    }
    started_.assign(std::size_t(x1_ - x0_ + 2 * pad_), 0.0f);
}

void QrVectorBlurWeights::startRow(
    const QrVectorBlurAccumulator& acc, int32_t y, std::vector<int32_t>& starts)
{
    for (int32_t x : starts)
        started_[std::size_t(x - x0_ + pad_)] = 0.0f;
    starts.clear();
    const float* weight = acc.weightAt(x0_, y);
    for (int32_t x = x0_; x < x1_; ++x, ++weight) {
        // Paths only take weight away: a pixel at 0 or below cannot start.
        // Most rows are mostly covered, so skip such pixels four at a time.
        while (x + 4 <= x1_ && !anyAboveZero(weight)) {
            x += 4;
            weight += 4;
        }
        if (x >= x1_)
            break;
        float w = *weight;
        for (const Entry& e : fromLeft_)
            w -= started(x - e.dx) * e.w;
        if (w > 0.0f) {
            started_[std::size_t(x - x0_ + pad_)] = 1.0f;
            starts.push_back(x);
        }
    }
    if (starts.empty())
        return;
    // A few scattered starts are cheaper path by path.
    if (starts.size() * 8 < std::size_t(starts.back() - starts.front() + 1)) {
        for (int32_t x : starts)
            takePath(acc, *plan_, x, y);
        return;
    }
    for (const TargetRow& row : rows_)
        takeRow(acc, y, row, starts.front(), starts.back());
}

void QrVectorBlurWeights::takePath(
    const QrVectorBlurAccumulator& acc, const QrVectorBlurPlan& plan, int32_t x, int32_t y)
{
    const QrVectorBlurTap* taps = plan.depositTaps();
    const int32_t count = plan.depositCount();
    const QrVectorBlurBox& box = plan.depositBox();
    const bool inside = acc.containsBox(x + box.x0, y + box.y0, x + box.x1, y + box.y1);
    for (int32_t i = 0; i < count; ++i) {
        const QrVectorBlurTap& t = taps[i];
        const int32_t px = x + t.dx, py = y + t.dy;
        if (!inside) {
            acc.takeWeight(px, py, t.w00);
            acc.takeWeight(px + 1, py, t.w10);
            acc.takeWeight(px, py + 1, t.w01);
            acc.takeWeight(px + 1, py + 1, t.w11);
            continue;
        }
        float* top = acc.weightAt(px, py);
        float* bottom = acc.weightAt(px, py + 1);
        top[0] -= t.w00;
        top[1] -= t.w10;
        bottom[0] -= t.w01;
        bottom[1] -= t.w11;
    }
}

// Entry by entry along the row, so that every pixel takes its entries in
// order; taking 0 x w leaves a weight exactly as it is.
void QrVectorBlurWeights::takeRow(const QrVectorBlurAccumulator& acc, int32_t y, const TargetRow& row,
    int32_t firstStart, int32_t lastStart) const
{
    const int32_t r = y + row.dy;
    const QrRect& area = acc.area();
    if (r < area.y0 || r >= area.y1)
        return;
    const int32_t from = std::max(area.x0, firstStart + row.dxMin);
    const int32_t count = std::min(area.x1, lastStart + row.dxMax + 1) - from;
    float* weight = acc.weightAt(from, r);
    for (const Entry& e : row.entries) {
        const float* on = started_.data() + (from - e.dx - x0_ + pad_);
        const QrLanes w = qrSplat(e.w);
        int32_t i = 0;
        for (; i + 4 <= count; i += 4) {
            QrLanes v, s;
            std::memcpy(&v, weight + i, sizeof v);
            std::memcpy(&s, on + i, sizeof s);
            v -= s * w;
            std::memcpy(weight + i, &v, sizeof v);
        }
        for (; i < count; ++i)
            weight[i] -= on[i] * e.w;
    }
}
