#pragma once
// Traces paths of the vector blur: gathers the input along a path, averages
// the samples with running sums and deposits the averages into the
// accumulator. Paths whose samples all fall inside the input's memory (or
// the accumulator) take the kernels' fast walks with offsets prepared once
// per plan; the others address pixels through the input's edge method.
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurKernels.h"
#include "blur/qrVectorBlurLanes.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurWeights.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

template <class Texture> class QrVectorBlurTracer {
public:
    using StoragePixel = typename Texture::StoragePixel;
    using Channel = std::remove_cv_t<std::remove_reference_t<decltype(StoragePixel {}.c[0])>>;
    using Kernels = QrVectorBlurKernels<Channel>;

    QrVectorBlurTracer(const Texture& input, const QrVectorBlurAccumulator& accumulator,
        const QrVectorBlurShape& shape, const Kernels& kernels);

    // Paths traced from now on follow `plan` (kept by reference).
    void use(const QrVectorBlurPlan& plan);
    // Traces the path of the start pixel (x, y): colours and weights.
    void trace(int32_t x, int32_t y);

    // Only the colours of the paths of the `count` start pixels xs
    // (increasing) on row y, for a plan that spreads with bilinear taps;
    // their weights are taken by QrVectorBlurWeights. Up to eight paths are
    // traced side by side, tap by tap, which keeps more of the processor
    // busy than one path at a time. A pixel then receives the colours of
    // neighbouring paths in another order than from trace(), which changes
    // its sum by float rounding only.
    void traceColours(const int32_t* xs, int32_t count, int32_t y);

private:
    static constexpr int kBatch = Kernels::kBatch;

    // Path (x, y)'s samples into out[0], out[stride], ...
    void gather(int32_t x, int32_t y, QrLanes* out, int32_t stride);
    void gatherBatch(const int32_t* xs, int32_t n, int32_t y, bool adjacent);
    void gatherByRows(const int32_t* xs, int32_t n, int32_t y);
    void depositRows(int32_t y);
    void depositColours(int32_t x, int32_t y, const QrLanes* mean, int32_t stride);
    void depositNearest(int32_t x, int32_t y);
    void stay(int32_t x, int32_t y);
    QrLanes fetch(int32_t x, int32_t y) const { return qrLoadLanes(input_.pixelAt(x, y)); }
    bool inputHolds(const QrVectorBlurBox& box, int32_t x, int32_t y) const
    {
        return x + box.x0 >= inX0_ && x + box.x1 <= inX1_ && y + box.y0 >= inY0_ && y + box.y1 <= inY1_;
    }

    const Texture& input_;
    const QrVectorBlurAccumulator& acc_;
    QrVectorBlurShape shape_;
    const Kernels& kernels_;
    const QrVectorBlurPlan* plan_ = nullptr;
    // Coordinates (inclusive) whose pixels are read straight from memory.
    int32_t inX0_ = 0, inY0_ = 0, inX1_ = -1, inY1_ = -1;
    std::vector<std::ptrdiff_t> inputOffsets_;
    std::vector<std::ptrdiff_t> tapColumns_;  // each tap's dx in input bytes
    // The four weights of every gather tap and of every deposit tap, each in
    // all lanes, so that the walks multiply without broadcasting.
    std::vector<QrLanes> splatWeights_, depositWeights_;
    std::vector<QrLanes> samples_;  // kBatch paths, interleaved
    // The accumulator rows of every deposit tap of the current row, moved
    // by the tap's column offset.
    std::vector<float*> depositTops_, depositBottoms_;
    // For paths reaching past the top or bottom: the rows of every tap, and
    // a row of the edge colour for rows outside the input.
    std::vector<const char*> rowsTop_, rowsBottom_;
    std::vector<StoragePixel> edgeRow_;
};

template <class Texture>
QrVectorBlurTracer<Texture>::QrVectorBlurTracer(const Texture& input,
    const QrVectorBlurAccumulator& accumulator, const QrVectorBlurShape& shape, const Kernels& kernels)
    : input_(input),
      acc_(accumulator),
      shape_(shape),
      kernels_(kernels),
      samples_(std::size_t(shape.gatherCount()) * kBatch, qrSplat(0.0f))
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

template <class Texture> void QrVectorBlurTracer<Texture>::use(const QrVectorBlurPlan& plan)
{
    plan_ = &plan;
    const auto& taps = plan.taps();
    inputOffsets_.resize(taps.size());
    tapColumns_.resize(taps.size());
    auto splat = [](const QrVectorBlurTap* t, std::size_t n, std::vector<QrLanes>& out) {
        out.resize(4 * n);
        for (std::size_t i = 0; i < n; ++i) {
            out[4 * i] = qrSplat(t[i].w00);
            out[4 * i + 1] = qrSplat(t[i].w10);
            out[4 * i + 2] = qrSplat(t[i].w01);
            out[4 * i + 3] = qrSplat(t[i].w11);
        }
    };
    splat(taps.data(), taps.size(), splatWeights_);
    splat(plan.depositTaps(), std::size_t(plan.depositCount()), depositWeights_);
    for (std::size_t i = 0; i < taps.size(); ++i) {
        tapColumns_[i] = std::ptrdiff_t(taps[i].dx) * std::ptrdiff_t(sizeof(StoragePixel));
        inputOffsets_[i] = taps[i].dy * input_.stride() + tapColumns_[i];
    }
}

template <class Texture> void QrVectorBlurTracer<Texture>::trace(int32_t x, int32_t y)
{
    if (!plan_->spreads()) {
        stay(x, y);
        return;
    }
    const int32_t count = static_cast<int32_t>(plan_->taps().size());
    QrLanes* s = samples_.data();
    gather(x, y, s, 1);
    if (!shape_.nearest)
        QrVectorBlurWeights::takePath(acc_, *plan_, x, y);
    // Smoothing over a third of the path (with thirds), then the mean over
    // the whole regular path.
    QrLaneKernels::runningMeans<1>(s, count, shape_.smoothWindow);
    QrLaneKernels::runningMeans<1>(s, count - shape_.smoothWindow + 1, shape_.averageWindow);
    if (shape_.nearest)
        depositNearest(x, y);
    else
        depositColours(x, y, s, 1);
}

template <class Texture>
void QrVectorBlurTracer<Texture>::traceColours(const int32_t* xs, int32_t count, int32_t y)
{
    QrLanes* s = samples_.data();
    const QrVectorBlurBox& gatherBox = plan_->gatherBox();
    const QrVectorBlurBox& depositBox = plan_->depositBox();
    const int32_t taps = static_cast<int32_t>(plan_->taps().size());
    const bool rowsHeld = y + depositBox.y0 >= acc_.area().y0 && y + depositBox.y1 < acc_.area().y1;
    if (rowsHeld)
        depositRows(y);
    for (int32_t first = 0; first < count; first += kBatch) {
        const int32_t* batch = xs + first;
        const int32_t n = std::min<int32_t>(kBatch, count - first);
        const int32_t left = batch[0], right = batch[n - 1];
        const bool adjacent = right - left == n - 1;
        if (inputHolds(gatherBox, left, y) && inputHolds(gatherBox, right, y))
            gatherBatch(batch, n, y, adjacent);
        else if (left + gatherBox.x0 >= inX0_ && right + gatherBox.x1 <= inX1_)
            gatherByRows(batch, n, y);
        else
            for (int32_t p = 0; p < n; ++p)
                gather(batch[p], y, s + p, kBatch);
        kernels_.runningMeans(s, taps, shape_.smoothWindow);
        kernels_.runningMeans(s, taps - shape_.smoothWindow + 1, shape_.averageWindow);
        if (!rowsHeld ||
            !acc_.containsBox(
                left + depositBox.x0, y + depositBox.y0, right + depositBox.x1, y + depositBox.y1)) {
            for (int32_t p = 0; p < n; ++p)
                depositColours(batch[p], y, s + p, kBatch);
            continue;
        }
        const QrLanes* w = depositWeights_.data();
        const int32_t deposits = shape_.depositCount();
        if (adjacent) {
            kernels_.depositAdjacent(depositTops_.data(), depositBottoms_.data(),
                std::ptrdiff_t(left - acc_.area().x0) * 4, n, deposits, w, s);
        } else {
            std::ptrdiff_t column[kBatch];
            for (int32_t p = 0; p < n; ++p)
                column[p] = std::ptrdiff_t(batch[p] - acc_.area().x0) * 4;
            kernels_.depositApart(depositTops_.data(), depositBottoms_.data(), column, n, deposits, w, s);
        }
    }
}

// The accumulator rows of row y's deposit taps; they lie inside the area.
template <class Texture> void QrVectorBlurTracer<Texture>::depositRows(int32_t y)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    depositTops_.resize(std::size_t(count));
    depositBottoms_.resize(std::size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        depositTops_[i] = acc_.colourRow(y + taps[i].dy) + std::ptrdiff_t(taps[i].dx) * 4;
        depositBottoms_[i] = acc_.colourRow(y + taps[i].dy + 1) + std::ptrdiff_t(taps[i].dx) * 4;
    }
}

// The paths of a batch sample tap by tap, so that neighbouring paths read
// the same memory one after the other; paths of neighbouring pixels share
// their taps' right-hand pixels.
template <class Texture>
void QrVectorBlurTracer<Texture>::gatherBatch(const int32_t* xs, int32_t n, int32_t y, bool adjacent)
{
    const std::size_t count = plan_->taps().size();
    if (adjacent) {
        kernels_.gatherAdjacent(reinterpret_cast<const char*>(input_.pixelAt(xs[0], y).c), n,
            inputOffsets_.data(), count, input_.stride(), splatWeights_.data(), samples_.data());
        return;
    }
    const char* start[kBatch];
    for (int32_t p = 0; p < n; ++p)
        start[p] = reinterpret_cast<const char*>(input_.pixelAt(xs[p], y).c);
    kernels_.gatherApart(
        start, n, inputOffsets_.data(), count, input_.stride(), splatWeights_.data(), samples_.data());
}

// Paths that reach above or below the input but stay inside it across:
// each tap's two rows are found once for the whole batch, through the
// input's edge method; a row of the edge colour stands for rows outside.
template <class Texture>
void QrVectorBlurTracer<Texture>::gatherByRows(const int32_t* xs, int32_t n, int32_t y)
{
    const QrTexAxis& ax = input_.xAxis();
    if (edgeRow_.empty())
        edgeRow_.assign(std::size_t(std::max(ax.windowCount, 1)), input_.edgeColour());
    auto row = [this](int32_t ry) {
        const StoragePixel* r = input_.rowAt(ry);
        return reinterpret_cast<const char*>(r ? r : edgeRow_.data());
    };
    const auto& taps = plan_->taps();
    const std::size_t count = taps.size();
    rowsTop_.resize(count);
    rowsBottom_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        rowsTop_[i] = row(y + taps[i].dy);
        rowsBottom_[i] = row(y + taps[i].dy + 1);
    }
    // Bytes from a tap's row start to path p's pixel, less the tap's dx.
    std::ptrdiff_t column[kBatch];
    const int32_t firstColumn = ax.windowFirst + ax.originIndex;
    for (int32_t p = 0; p < n; ++p)
        column[p] = std::ptrdiff_t(xs[p] - firstColumn) * std::ptrdiff_t(sizeof(StoragePixel));
    kernels_.gatherRows(rowsTop_.data(), rowsBottom_.data(), column, n, tapColumns_.data(), count,
        splatWeights_.data(), samples_.data());
}

// A vector too short to move anything leaves the input pixel where it is.
template <class Texture> void QrVectorBlurTracer<Texture>::stay(int32_t x, int32_t y)
{
    acc_.addColour(x, y, fetch(x, y), 1.0f);
    acc_.takeWeight(x, y, 1.0f);
}

template <class Texture>
void QrVectorBlurTracer<Texture>::gather(int32_t x, int32_t y, QrLanes* out, int32_t stride)
{
    const auto& taps = plan_->taps();
    const std::size_t count = taps.size();
    if (!inputHolds(plan_->gatherBox(), x, y)) {
        for (std::size_t i = 0; i < count; ++i, out += stride) {
            const QrVectorBlurTap& t = taps[i];
            const int32_t px = x + t.dx, py = y + t.dy;
            *out = shape_.nearest ? fetch(px, py)
                                  : fetch(px, py) * t.w00 + fetch(px + 1, py) * t.w10 +
                    fetch(px, py + 1) * t.w01 + fetch(px + 1, py + 1) * t.w11;
        }
        return;
    }
    const char* start = reinterpret_cast<const char*>(input_.pixelAt(x, y).c);
    const std::ptrdiff_t down = input_.stride();
    if (shape_.nearest) {
        for (std::size_t i = 0; i < count; ++i, out += stride)
            *out = QrLaneKernels::at<Channel>(start + inputOffsets_[i]);
        return;
    }
    const QrLanes* w = splatWeights_.data();
    for (std::size_t i = 0; i < count; ++i, w += 4, out += stride) {
        const char* p = start + inputOffsets_[i];
        *out = QrLaneKernels::bilinear<Channel>(p, p + down, w);
    }
}

template <class Texture>
void QrVectorBlurTracer<Texture>::depositColours(int32_t x, int32_t y, const QrLanes* mean, int32_t stride)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    const QrVectorBlurBox& box = plan_->depositBox();
    const bool inside = acc_.containsBox(x + box.x0, y + box.y0, x + box.x1, y + box.y1);
    const QrLanes* w = depositWeights_.data();
    for (int32_t i = 0; i < count; ++i, w += 4, mean += stride) {
        const QrVectorBlurTap& t = taps[i];
        const int32_t px = x + t.dx, py = y + t.dy;
        if (!inside) {
            acc_.addColour(px, py, *mean, t.w00);
            acc_.addColour(px + 1, py, *mean, t.w10);
            acc_.addColour(px, py + 1, *mean, t.w01);
            acc_.addColour(px + 1, py + 1, *mean, t.w11);
            continue;
        }
        float* top = acc_.colourAt(px, py);
        float* bottom = acc_.colourAt(px, py + 1);
        QrLaneKernels::add(top, *mean * w[0]);
        QrLaneKernels::add(top + 4, *mean * w[1]);
        QrLaneKernels::add(bottom, *mean * w[2]);
        QrLaneKernels::add(bottom + 4, *mean * w[3]);
    }
}

// Without interpolation each average is written to the pixel under its
// point, unless an earlier path has already covered that pixel.
template <class Texture> void QrVectorBlurTracer<Texture>::depositNearest(int32_t x, int32_t y)
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
