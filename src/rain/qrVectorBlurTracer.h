#pragma once
// Traces one path of the vector blur: gathers the input along the path,
// averages the samples with running sums and deposits the averages into
// the accumulator. Paths whose samples all fall inside the input's memory
// (or the accumulator) take a fast walk with offsets prepared once per plan;
// the others address every pixel through the input's edge method.
#include "qrVectorBlurAccumulator.h"
#include "qrVectorBlurLanes.h"
#include "qrVectorBlurPlan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

template <class Texture>
class QrVectorBlurTracer {
public:
    using StoragePixel = typename Texture::StoragePixel;

    QrVectorBlurTracer(const Texture& input, const QrVectorBlurAccumulator& accumulator,
                       const QrVectorBlurShape& shape);

    // Paths traced from now on follow `plan` (kept by reference).
    void use(const QrVectorBlurPlan& plan);
    // Traces the path of the start pixel (x, y).
    void trace(int32_t x, int32_t y);

private:
    void gather(int32_t x, int32_t y);
    void runningMean(int32_t count, int32_t window);
    void deposit(int32_t x, int32_t y);
    void depositNearest(int32_t x, int32_t y);
    void stay(int32_t x, int32_t y);
    QrLanes fetch(int32_t x, int32_t y) const { return qrLoadLanes(input_.pixelAt(x, y)); }
    bool inputHolds(const QrVectorBlurBox& box, int32_t x, int32_t y) const
    {
        return x + box.x0 >= inX0_ && x + box.x1 <= inX1_ && y + box.y0 >= inY0_ &&
               y + box.y1 <= inY1_;
    }

    const Texture& input_;
    const QrVectorBlurAccumulator& acc_;
    QrVectorBlurShape shape_;
    const QrVectorBlurPlan* plan_ = nullptr;
    // Coordinates (inclusive) whose pixels are read straight from memory.
    int32_t inX0_ = 0, inY0_ = 0, inX1_ = -1, inY1_ = -1;
    std::vector<std::ptrdiff_t> inputOffsets_, colourOffsets_, weightOffsets_;
    std::vector<QrLanes> samples_;
};

template <class Texture>
QrVectorBlurTracer<Texture>::QrVectorBlurTracer(const Texture& input,
                                                const QrVectorBlurAccumulator& accumulator,
                                                const QrVectorBlurShape& shape)
    : input_(input), acc_(accumulator), shape_(shape), samples_(shape.gatherCount())
{
    if (!input.hasData())
        return;
    // Inside both the crop and the window, a coordinate's pixel is the one
    // at its own index: no edge method applies.
    const QrTexAxis& ax = input.xAxis();
    const QrTexAxis& ay = input.yAxis();
    inX0_ = std::max(ax.cropFirst, ax.windowFirst) + ax.originIndex;
    inX1_ = std::min(ax.cropLast, ax.windowLast) + ax.originIndex;
    inY0_ = std::max(ay.cropFirst, ay.windowFirst) + ay.originIndex;
    inY1_ = std::min(ay.cropLast, ay.windowLast) + ay.originIndex;
}

template <class Texture>
void QrVectorBlurTracer<Texture>::use(const QrVectorBlurPlan& plan)
{
    plan_ = &plan;
    const auto& taps = plan.taps();
    inputOffsets_.resize(taps.size());
    colourOffsets_.resize(taps.size());
    weightOffsets_.resize(taps.size());
    for (std::size_t i = 0; i < taps.size(); ++i) {
        const std::ptrdiff_t dx = taps[i].dx, dy = taps[i].dy;
        inputOffsets_[i] = dy * input_.stride() + dx * std::ptrdiff_t(sizeof(StoragePixel));
        colourOffsets_[i] = dy * acc_.colourStride() + dx * 4;
        weightOffsets_[i] = dy * acc_.weightStride() + dx;
    }
}

template <class Texture>
void QrVectorBlurTracer<Texture>::trace(int32_t x, int32_t y)
{
    if (!plan_->spreads()) {
        stay(x, y);
        return;
    }
    gather(x, y);
    const int32_t count = static_cast<int32_t>(plan_->taps().size());
    runningMean(count, shape_.smoothWindow);
    runningMean(count - shape_.smoothWindow + 1, shape_.averageWindow);
    if (shape_.nearest)
        depositNearest(x, y);
    else
        deposit(x, y);
}

// A vector too short to move anything leaves the input pixel where it is.
template <class Texture>
void QrVectorBlurTracer<Texture>::stay(int32_t x, int32_t y)
{
    acc_.depositChecked(x, y, fetch(x, y), 1.0f);
}

template <class Texture>
void QrVectorBlurTracer<Texture>::gather(int32_t x, int32_t y)
{
    const auto& taps = plan_->taps();
    const std::size_t count = taps.size();
    QrLanes* out = samples_.data();
    if (!inputHolds(plan_->gatherBox(), x, y)) {
        for (std::size_t i = 0; i < count; ++i) {
            const QrVectorBlurTap& t = taps[i];
            const int32_t px = x + t.dx, py = y + t.dy;
            out[i] = shape_.nearest ? fetch(px, py)
                                    : fetch(px, py) * t.w00 + fetch(px + 1, py) * t.w10 +
                                          fetch(px, py + 1) * t.w01 + fetch(px + 1, py + 1) * t.w11;
        }
        return;
    }
    const char* start = reinterpret_cast<const char*>(input_.pixelAt(x, y).c);
    const std::ptrdiff_t down = input_.stride(), right = sizeof(StoragePixel);
    auto at = [](const char* p) { return qrLoadLanes(*reinterpret_cast<const StoragePixel*>(p)); };
    if (shape_.nearest) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = at(start + inputOffsets_[i]);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const QrVectorBlurTap& t = taps[i];
        const char* p = start + inputOffsets_[i];
        out[i] = at(p) * t.w00 + at(p + right) * t.w10 + at(p + down) * t.w01 +
                 at(p + down + right) * t.w11;
    }
}

// Replaces samples[0 .. count - window] by the means of `window` consecutive
// samples (the i-th mean covering samples i .. i + window - 1), keeping one
// running sum: the entering sample is added, the leaving one subtracted.
template <class Texture>
void QrVectorBlurTracer<Texture>::runningMean(int32_t count, int32_t window)
{
    if (window <= 1)
        return;
    QrLanes* s = samples_.data();
    const float reciprocal = 1.0f / static_cast<float>(window);
    QrLanes sum = qrSplat(0.0f);
    for (int32_t i = 0; i < window; ++i)
        sum += s[i];
    const int32_t means = count - window + 1;
    for (int32_t i = 0; i < means; ++i) {
        const QrLanes mean = sum * reciprocal;
        if (i + 1 < means)
            sum += s[i + window] - s[i];
        s[i] = mean;
    }
}

template <class Texture>
void QrVectorBlurTracer<Texture>::deposit(int32_t x, int32_t y)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    const QrLanes* mean = samples_.data();
    const QrVectorBlurBox& box = plan_->depositBox();
    if (!acc_.containsBox(x + box.x0, y + box.y0, x + box.x1, y + box.y1)) {
        for (int32_t i = 0; i < count; ++i) {
            const QrVectorBlurTap& t = taps[i];
            const int32_t px = x + t.dx, py = y + t.dy;
            acc_.depositChecked(px, py, mean[i], t.w00);
            acc_.depositChecked(px + 1, py, mean[i], t.w10);
            acc_.depositChecked(px, py + 1, mean[i], t.w01);
            acc_.depositChecked(px + 1, py + 1, mean[i], t.w11);
        }
        return;
    }
    float* colour = acc_.colourAt(x, y);
    float* weight = acc_.weightAt(x, y);
    const std::ptrdiff_t cDown = acc_.colourStride(), wDown = acc_.weightStride();
    const std::ptrdiff_t* cOff = colourOffsets_.data() + plan_->depositFirst();
    const std::ptrdiff_t* wOff = weightOffsets_.data() + plan_->depositFirst();
    auto add = [](float* c, QrLanes v) { qrStoreLanes(c, qrLoadFloats(c) + v); };
    for (int32_t i = 0; i < count; ++i) {
        const QrVectorBlurTap& t = taps[i];
        float* c = colour + cOff[i];
        add(c, mean[i] * t.w00);
        add(c + 4, mean[i] * t.w10);
        add(c + cDown, mean[i] * t.w01);
        add(c + cDown + 4, mean[i] * t.w11);
        float* w = weight + wOff[i];
        w[0] -= t.w00;
        w[1] -= t.w10;
        w[wDown] -= t.w01;
        w[wDown + 1] -= t.w11;
    }
}

// Without interpolation each average is written to the pixel under its
// point, unless an earlier path has already covered that pixel.
template <class Texture>
void QrVectorBlurTracer<Texture>::depositNearest(int32_t x, int32_t y)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    for (int32_t i = 0; i < count; ++i) {
        const int32_t px = x + taps[i].dx, py = y + taps[i].dy;
        if (!acc_.contains(px, py) || *acc_.weightAt(px, py) <= 0.0f)
            continue;
        qrStoreLanes(acc_.colourAt(px, py), samples_[i]);
        *acc_.weightAt(px, py) = 0.0f;
    }
}
