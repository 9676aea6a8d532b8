#pragma once
// Traces paths of the vector blur: gathers the input along a path, averages
// the samples with running sums and deposits the averages into the
// accumulator. Paths whose samples all fall inside the input's memory
// (or the accumulator) take a fast walk with offsets prepared once per plan;
// the others address pixels through the input's edge method.
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurLanes.h"
#include "blur/qrVectorBlurMeans.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurWide.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

template <class Texture>
class QrVectorBlurTracer {
public:
    using StoragePixel = typename Texture::StoragePixel;
    using Channel = std::remove_cv_t<std::remove_reference_t<decltype(StoragePixel{}.c[0])>>;

    QrVectorBlurTracer(const Texture& input, const QrVectorBlurAccumulator& accumulator,
                       const QrVectorBlurShape& shape);

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
    static constexpr int kBatch = 8;  // paths traced side by side

    // Path (x, y)'s samples into out[0], out[stride], ...
    void gather(int32_t x, int32_t y, QrLanes* out, int32_t stride);
    void average(QrLanes* samples, int32_t stride);
    void depositWeights(int32_t x, int32_t y);
    void depositColours(int32_t x, int32_t y, const QrLanes* mean, int32_t stride);
    // Batches of paths whose samples and deposits all fall inside memory;
    // `adjacent` when they start on neighbouring pixels.
    void gatherSideBySide(const int32_t* xs, int32_t n, int32_t y, bool adjacent);
    void gatherByRows(const int32_t* xs, int32_t n, int32_t y);
    void depositSideBySide(const int32_t* xs, int32_t n, int32_t y, bool adjacent);
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
    std::vector<std::ptrdiff_t> tapColumns_;  // each tap's dx in input bytes
    // The four weights of every tap, each in all lanes, so that the walks
    // multiply without broadcasting.
    std::vector<QrLanes> splatWeights_;
    std::vector<QrLanes> samples_;  // kBatch paths, interleaved
    // For paths reaching past the top or bottom: the rows of every tap, and
    // a row of the edge colour for rows outside the input.
    std::vector<const char*> rowsTop_, rowsBottom_;
    std::vector<StoragePixel> edgeRow_;
};

template <class Texture>
QrVectorBlurTracer<Texture>::QrVectorBlurTracer(const Texture& input,
                                                const QrVectorBlurAccumulator& accumulator,
                                                const QrVectorBlurShape& shape)
    : input_(input), acc_(accumulator), shape_(shape),
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

template <class Texture>
void QrVectorBlurTracer<Texture>::use(const QrVectorBlurPlan& plan)
{
    plan_ = &plan;
    const auto& taps = plan.taps();
    inputOffsets_.resize(taps.size());
    colourOffsets_.resize(taps.size());
    weightOffsets_.resize(taps.size());
    tapColumns_.resize(taps.size());
    splatWeights_.resize(4 * taps.size());
    for (std::size_t i = 0; i < taps.size(); ++i) {
        QrLanes* w = &splatWeights_[4 * i];
        w[0] = qrSplat(taps[i].w00);
        w[1] = qrSplat(taps[i].w10);
        w[2] = qrSplat(taps[i].w01);
        w[3] = qrSplat(taps[i].w11);
        const std::ptrdiff_t dx = taps[i].dx, dy = taps[i].dy;
        tapColumns_[i] = dx * std::ptrdiff_t(sizeof(StoragePixel));
        inputOffsets_[i] = dy * input_.stride() + tapColumns_[i];
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
    gather(x, y, samples_.data(), 1);
    if (shape_.nearest) {
        average(samples_.data(), 1);
        depositNearest(x, y);
        return;
    }
    depositWeights(x, y);
    average(samples_.data(), 1);
    depositColours(x, y, samples_.data(), 1);
}

template <class Texture>
void QrVectorBlurTracer<Texture>::traceColours(const int32_t* xs, int32_t count, int32_t y)
{
    QrLanes* s = samples_.data();
    const QrVectorBlurBox& gatherBox = plan_->gatherBox();
    const QrVectorBlurBox& depositBox = plan_->depositBox();
    for (int32_t first = 0; first < count; first += kBatch) {
        const int32_t* batch = xs + first;
        const int32_t n = std::min<int32_t>(kBatch, count - first);
        const int32_t left = batch[0], right = batch[n - 1];
        const bool adjacent = right - left == n - 1;
        if (inputHolds(gatherBox, left, y) && inputHolds(gatherBox, right, y))
            gatherSideBySide(batch, n, y, adjacent);
        else if (left + gatherBox.x0 >= inX0_ && right + gatherBox.x1 <= inX1_)
            gatherByRows(batch, n, y);
        else
            for (int32_t p = 0; p < n; ++p)
                gather(batch[p], y, s + p, kBatch);
        average(s, kBatch);
        if (acc_.containsBox(left + depositBox.x0, y + depositBox.y0, right + depositBox.x1,
                             y + depositBox.y1))
            depositSideBySide(batch, n, y, adjacent);
        else
            for (int32_t p = 0; p < n; ++p)
                depositColours(batch[p], y, s + p, kBatch);
    }
}

// The paths of a batch sample tap by tap, so that neighbouring paths read
// the same memory one after the other; paths of neighbouring pixels share
// their taps' right-hand pixels.
template <class Texture>
void QrVectorBlurTracer<Texture>::gatherSideBySide(const int32_t* xs, int32_t n, int32_t y,
                                                   bool adjacent)
{
    const char* start[kBatch];
    for (int32_t p = 0; p < n; ++p)
        start[p] = reinterpret_cast<const char*>(input_.pixelAt(xs[p], y).c);
    const std::ptrdiff_t down = input_.stride(), right = sizeof(StoragePixel);
    auto at = [](const char* p) { return qrLoadLanes(*reinterpret_cast<const StoragePixel*>(p)); };
    const std::size_t count = plan_->taps().size();
    const QrLanes* w = splatWeights_.data();
    QrLanes* out = samples_.data();
    int32_t first = 0;  // paths the loop below still has to sample
#if defined(QR_WIDE_LANES)
    if (!adjacent && qrWideLanesEnabled()) {
        QrWide::gatherApart<Channel>(start, n, inputOffsets_.data(), count, down, w, out);
        return;
    }
    if (adjacent && qrWideLanesEnabled()) {
        QrWide::gatherAdjacent<Channel>(start[0], inputOffsets_.data(), count, down, w, out, n / 2);
        first = n - n % 2;
        if (first == n)
            return;
        adjacent = false;
    }
#endif
    for (std::size_t i = 0; i < count; ++i, w += 4, out += kBatch) {
        if (adjacent) {
            const char* q = start[0] + inputOffsets_[i];
            QrLanes top = at(q), bottom = at(q + down);
            for (int32_t p = 0; p < n; ++p) {
                q += right;
                const QrLanes nextTop = at(q), nextBottom = at(q + down);
                out[p] = top * w[0] + nextTop * w[1] + bottom * w[2] + nextBottom * w[3];
                top = nextTop;
                bottom = nextBottom;
            }
            continue;
        }
        for (int32_t p = first; p < n; ++p) {
            const char* q = start[p] + inputOffsets_[i];
            out[p] = at(q) * w[0] + at(q + right) * w[1] + at(q + down) * w[2] +
                     at(q + down + right) * w[3];
        }
    }
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
    constexpr std::ptrdiff_t px = sizeof(StoragePixel);
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
        column[p] = std::ptrdiff_t(xs[p] - firstColumn) * px;
#if defined(QR_WIDE_LANES)
    if (qrWideLanesEnabled()) {
        QrWide::gatherRows<Channel>(rowsTop_.data(), rowsBottom_.data(), column, n,
                                    tapColumns_.data(), count, splatWeights_.data(),
                                    samples_.data());
        return;
    }
#endif
    auto at = [](const char* p) { return qrLoadLanes(*reinterpret_cast<const StoragePixel*>(p)); };
    const QrLanes* w = splatWeights_.data();
    QrLanes* out = samples_.data();
    for (std::size_t i = 0; i < count; ++i, w += 4, out += kBatch) {
        for (int32_t p = 0; p < n; ++p) {
            const char* a = rowsTop_[i] + (column[p] + tapColumns_[i]);
            const char* c = rowsBottom_[i] + (column[p] + tapColumns_[i]);
            out[p] = at(a) * w[0] + at(a + px) * w[1] + at(c) * w[2] + at(c + px) * w[3];
        }
    }
}

// Deposits tap by tap as well. Paths on neighbouring pixels share half of
// their deposits' pixels; the two shares are added together before they go
// into the accumulator.
template <class Texture>
void QrVectorBlurTracer<Texture>::depositSideBySide(const int32_t* xs, int32_t n, int32_t y,
                                                    bool adjacent)
{
    float* colour[kBatch];
    for (int32_t p = 0; p < n; ++p)
        colour[p] = acc_.colourAt(xs[p], y);
    const std::ptrdiff_t down = acc_.colourStride();
    const int32_t count = shape_.depositCount();
    const std::ptrdiff_t* offset = colourOffsets_.data() + plan_->depositFirst();
    const QrLanes* w = splatWeights_.data() + 4 * plan_->depositFirst();
    const QrLanes* mean = samples_.data();
    [[maybe_unused]] const bool wide = qrWideLanesEnabled();
#if defined(QR_WIDE_LANES)
    if (!adjacent && wide) {
        QrWide::depositApart(colour, n, offset, count, down, w, mean);
        return;
    }
#endif
    auto add = [](float* c, QrLanes v) { qrStoreLanes(c, qrLoadFloats(c) + v); };
    for (int32_t i = 0; i < count; ++i, w += 4, mean += kBatch) {
        if (adjacent) {
            float* c = colour[0] + offset[i];
            add(c, mean[0] * w[0]);
            add(c + down, mean[0] * w[2]);
            int32_t p = 1;
#if defined(QR_WIDE_LANES)
            if (wide) {
                p = QrWide::depositShared(c, mean, n, w[0], w[1]);
                QrWide::depositShared(c + down, mean, n, w[2], w[3]);
            }
#endif
            for (; p < n; ++p) {
                add(c + 4 * p, mean[p - 1] * w[1] + mean[p] * w[0]);
                add(c + down + 4 * p, mean[p - 1] * w[3] + mean[p] * w[2]);
            }
            add(c + 4 * n, mean[n - 1] * w[1]);
            add(c + down + 4 * n, mean[n - 1] * w[3]);
            continue;
        }
        for (int32_t p = 0; p < n; ++p) {
            float* c = colour[p] + offset[i];
            add(c, mean[p] * w[0]);
            add(c + 4, mean[p] * w[1]);
            add(c + down, mean[p] * w[2]);
            add(c + down + 4, mean[p] * w[3]);
        }
    }
}

// Smoothing over a third of the path (with thirds), then the mean over the
// whole regular path.
template <class Texture>
void QrVectorBlurTracer<Texture>::average(QrLanes* samples, int32_t stride)
{
    const int32_t count = static_cast<int32_t>(plan_->taps().size());
    const int32_t smooth = shape_.smoothWindow, whole = shape_.averageWindow;
    if (stride == 1) {
        qrRunningMeans<1>(samples, count, smooth);
        qrRunningMeans<1>(samples, count - smooth + 1, whole);
        return;
    }
#if defined(QR_WIDE_LANES)
    if (qrWideLanesEnabled()) {
        static_assert(kBatch == 8, "the eight-lane means take eight paths");
        QrWide::runningMeans(samples, count, smooth);
        QrWide::runningMeans(samples, count - smooth + 1, whole);
        return;
    }
#endif
    qrRunningMeans<kBatch>(samples, count, smooth);
    qrRunningMeans<kBatch>(samples, count - smooth + 1, whole);
}

// A vector too short to move anything leaves the input pixel where it is.
template <class Texture>
void QrVectorBlurTracer<Texture>::stay(int32_t x, int32_t y)
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
    const std::ptrdiff_t down = input_.stride(), right = sizeof(StoragePixel);
    auto at = [](const char* p) { return qrLoadLanes(*reinterpret_cast<const StoragePixel*>(p)); };
    if (shape_.nearest) {
        for (std::size_t i = 0; i < count; ++i, out += stride)
            *out = at(start + inputOffsets_[i]);
        return;
    }
    const QrLanes* w = splatWeights_.data();
    for (std::size_t i = 0; i < count; ++i, w += 4, out += stride) {
        const char* p = start + inputOffsets_[i];
        *out = at(p) * w[0] + at(p + right) * w[1] + at(p + down) * w[2] +
                 at(p + down + right) * w[3];
    }
}

// The bilinear weights of every deposit of the path of (x, y) are taken off
// the weight image, tap by tap, in the order w00, w10, w01, w11.
template <class Texture>
void QrVectorBlurTracer<Texture>::depositWeights(int32_t x, int32_t y)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    const QrVectorBlurBox& box = plan_->depositBox();
    if (!acc_.containsBox(x + box.x0, y + box.y0, x + box.x1, y + box.y1)) {
        for (int32_t i = 0; i < count; ++i) {
            const QrVectorBlurTap& t = taps[i];
            const int32_t px = x + t.dx, py = y + t.dy;
            acc_.takeWeight(px, py, t.w00);
            acc_.takeWeight(px + 1, py, t.w10);
            acc_.takeWeight(px, py + 1, t.w01);
            acc_.takeWeight(px + 1, py + 1, t.w11);
        }
        return;
    }
    float* weight = acc_.weightAt(x, y);
    const std::ptrdiff_t down = acc_.weightStride();
    const std::ptrdiff_t* offset = weightOffsets_.data() + plan_->depositFirst();
    for (int32_t i = 0; i < count; ++i) {
        const QrVectorBlurTap& t = taps[i];
        float* w = weight + offset[i];
        w[0] -= t.w00;
        w[1] -= t.w10;
        w[down] -= t.w01;
        w[down + 1] -= t.w11;
    }
}

template <class Texture>
void QrVectorBlurTracer<Texture>::depositColours(int32_t x, int32_t y, const QrLanes* mean,
                                                 int32_t stride)
{
    const QrVectorBlurTap* taps = plan_->depositTaps();
    const int32_t count = shape_.depositCount();
    const QrVectorBlurBox& box = plan_->depositBox();
    if (!acc_.containsBox(x + box.x0, y + box.y0, x + box.x1, y + box.y1)) {
        for (int32_t i = 0; i < count; ++i, mean += stride) {
            const QrVectorBlurTap& t = taps[i];
            const int32_t px = x + t.dx, py = y + t.dy;
            acc_.addColour(px, py, *mean, t.w00);
            acc_.addColour(px + 1, py, *mean, t.w10);
            acc_.addColour(px, py + 1, *mean, t.w01);
            acc_.addColour(px + 1, py + 1, *mean, t.w11);
        }
        return;
    }
    float* colour = acc_.colourAt(x, y);
    const std::ptrdiff_t down = acc_.colourStride();
    const std::ptrdiff_t* offset = colourOffsets_.data() + plan_->depositFirst();
    const QrLanes* w = splatWeights_.data() + 4 * plan_->depositFirst();
    auto add = [](float* c, QrLanes v) { qrStoreLanes(c, qrLoadFloats(c) + v); };
    for (int32_t i = 0; i < count; ++i, w += 4, mean += stride) {
        float* c = colour + offset[i];
        add(c, *mean * w[0]);
        add(c + 4, *mean * w[1]);
        add(c + down, *mean * w[2]);
        add(c + down + 4, *mean * w[3]);
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
