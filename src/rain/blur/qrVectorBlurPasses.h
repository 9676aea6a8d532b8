#pragma once
// The work of one vector blur run, pass by pass (qrVectorBlurSchedule.h),
// for a processor that shares each pass out over its threads: rows to clear
// in the accumulator (colour 0, weight K); strips to trace, in which every
// start pixel whose weight is still above 0 starts a path; rows to finish
// (colour sum / deposited weight to the output). The input is only read and
// the output written only where no later pass reads, so the blur may run in
// place. The accumulator's memory is kept from one run to the next.
#include "noise/qrHash.h"
#include "qrPixel.h"
#include "qrProcRegion.h"
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurKernels.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurSchedule.h"
#include "blur/qrVectorBlurTracer.h"
#include "blur/qrVectorBlurWeights.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// True when the two images' rows overlap in memory: writing one changes
// what the other reads.
template <class A, class B> bool qrSharesMemory(const A& a, const B& b)
{
    if (!a.hasData() || !b.hasData())
        return false;
    auto bytes = [](const auto& t) {
        const char* first = reinterpret_cast<const char*>(t.data());
        const char* last = first + t.stride() * std::ptrdiff_t(t.yAxis().windowCount);
        return std::pair {std::min(first, last), std::max(first, last)};
    };
    const auto [a0, a1] = bytes(a);
    const auto [b0, b1] = bytes(b);
    return a0 < b1 && b0 < a1;
}

struct QrVectorBlurSettings {
    float stepScale = 0.0f;  // a sample is a segment of v * M' * stepScale
    int32_t quality = 0;  // 0: nearest pixels; above: bilinear
    float subPassCount = 1.0f;  // sub-pixel start offsets, rounded
    bool thirds = false;  // a third of the magnitude, three times the points
    bool jitter = false;  // hashed sub-pixel start offsets
};

template <class InTexture, class OutTexture> class QrVectorBlurPasses {
public:
    // Plans a run over `region` of `output` for passes shared by `lanes`
    // threads and sizes the accumulator. Returns the number of passes.
    // Throws OutOfMemory.
    int32_t setUp(const VectorGenerator& generator, const QrVectorBlurSettings& settings,
        const InTexture& input, const OutTexture& output, const QrRect& region, int32_t lanes);
    // Lets go of the accumulator's memory.
    void release() { accumulator_.release(); }

    // The calling thread's share of a pass. band(first, end, bandFirst,
    // bandEnd) gives the thread's part of [first, end); `stop()` is asked
    // before every row.
    template <class Band, class Stop>
    void runBand(
        int32_t pass, const InTexture& input, const OutTexture& output, Band&& band, Stop&& stop) const;

private:
    using Tracer = QrVectorBlurTracer<InTexture>;

    // Start offset of sub-pass `i` (1-based) within a pixel, before jitter.
    static float startOffset(int32_t i) { return i == 2 ? 0.25f : (i == 3 ? 0.75f : 0.5f); }
    float jittered(int32_t i, int32_t x, int32_t y, int32_t axis) const;
    QrVectorBlurReach planPaths();
    template <class Stop>
    void traceStrip(const QrVectorBlurSchedule::Strip& strip, const InTexture& input, Stop& stop) const;
    void tracePaths(int32_t subPass, int32_t y, Tracer& tracer, QrVectorBlurPlan& own) const;
    template <class Stop> void finish(int32_t first, int32_t end, const OutTexture& output, Stop& stop) const;

    const VectorGenerator* generator_ = nullptr;
    QrVectorBlurSettings settings_;
    QrVectorBlurShape shape_;
    QrVectorBlurSchedule schedule_;
    QrVectorBlurAccumulator accumulator_;
    const typename Tracer::Kernels* kernels_ = nullptr;
    // One plan per sub-pass when every path shares it, with its weight
    // stencil when it spreads with bilinear taps.
    std::vector<QrVectorBlurPlan> plans_;
    std::vector<std::optional<QrVectorBlurWeights>> weights_;
    int32_t subPasses_ = 1;
    QrRect region_;
};

template <class InTexture, class OutTexture>
int32_t QrVectorBlurPasses<InTexture, OutTexture>::setUp(const VectorGenerator& generator,
    const QrVectorBlurSettings& settings, const InTexture& input, const OutTexture& output,
    const QrRect& region, int32_t lanes)
{
    generator_ = &generator;
    settings_ = settings;
    region_ = region;
    kernels_ = &qrVectorBlurKernels<typename Tracer::Channel>();
    subPasses_ = std::max(static_cast<int32_t>(std::lround(settings.subPassCount)), 0);
    shape_ =
        QrVectorBlurShape::make(generator.magnitude(), settings.thirds, settings.stepScale, settings.quality);
    QrVectorBlurReach reach = planPaths();
    // Edge addressing other than the edge colour may read rows anywhere.
    reach.gatherAnywhere = input.yAxis().edgeMethod != kEdgeColour;
    const QrRect area = QrProcRegion::dataWindow(output);
    const bool inPlace = qrSharesMemory(input, output);
    schedule_ =
        QrVectorBlurSchedule(region.y0, region.y1, area.y0, area.y1, subPasses_, reach, inPlace, lanes);
    // Several bilinear sub-passes start from a larger weight, so that a pixel
    // is only passed over once most of the sub-passes have covered it.
    const float k = settings.quality > 0 && subPasses_ >= 3 ? 5.0f : 1.0f;
    accumulator_.allocate(area, schedule_.ringRows(), k);
    return schedule_.passCount();
}

// With a uniform generator and no jitter every path of a sub-pass follows
// one plan, whose boxes give the rows a strip reaches; otherwise the shape's
// bounds do.
template <class InTexture, class OutTexture>
QrVectorBlurReach QrVectorBlurPasses<InTexture, OutTexture>::planPaths()
{
    plans_.clear();
    weights_.clear();
    QrVectorBlurReach reach;
    if (!generator_->isUniform() || settings_.jitter) {
        reach.deposit = shape_.rowReach();
        reach.gatherUp = reach.gatherDown = shape_.gatherRowReach();
        return reach;
    }
    plans_.resize(std::size_t(subPasses_));
    for (int32_t i = 0; i < subPasses_; ++i) {
        const float o = startOffset(i + 1);
        QrVectorBlurPlan& plan = plans_[std::size_t(i)];
        plan.trace(*generator_, shape_, 0, 0, o, o);
        const QrVectorBlurBox& d = plan.depositBox();
        const QrVectorBlurBox& g = plan.gatherBox();
        reach.deposit = std::max({reach.deposit, -d.y0, d.y1});
        reach.gatherUp = std::max(reach.gatherUp, -g.y0);
        reach.gatherDown = std::max(reach.gatherDown, g.y1);
        weights_.emplace_back();
        if (plan.spreads() && !shape_.nearest)
            weights_.back().emplace(plan, region_.x0, region_.x1);
    }
    return reach;
}

template <class InTexture, class OutTexture>
template <class Band, class Stop>
void QrVectorBlurPasses<InTexture, OutTexture>::runBand(
    int32_t pass, const InTexture& input, const OutTexture& output, Band&& band, Stop&& stop) const
{
    int32_t first, end, bandFirst, bandEnd;
    schedule_.clearRows(pass, first, end);
    band(first, end, bandFirst, bandEnd);
    accumulator_.clearRows(bandFirst, bandEnd);
    const auto& strips = schedule_.strips(pass);
    band(0, int32_t(strips.size()), bandFirst, bandEnd);
    for (int32_t i = bandFirst; i < bandEnd; ++i)
        traceStrip(strips[std::size_t(i)], input, stop);
    schedule_.finishRows(pass, first, end);
    band(first, end, bandFirst, bandEnd);
    finish(bandFirst, bandEnd, output, stop);
}

// A hashed offset in place of the sub-pass's fixed one: it depends only on
// the pixel, the sub-pass and the axis, never on the band.
template <class InTexture, class OutTexture>
float QrVectorBlurPasses<InTexture, OutTexture>::jittered(int32_t i, int32_t x, int32_t y, int32_t axis) const
{
    const float r = QrHash::unit(QrHash::hash(QrHash::key(x, y, 2 * i + axis)));
    const float o = startOffset(i);
    return i == 2 ? o + r * 0.75f : (i == 3 ? o - r * 0.75f : o + r - 0.5f);
}

// Row by row down the strip. With one bilinear plan for every path, a row's
// start pixels are found and their weights taken first, then their colours
// are traced together.
template <class InTexture, class OutTexture>
template <class Stop>
void QrVectorBlurPasses<InTexture, OutTexture>::traceStrip(
    const QrVectorBlurSchedule::Strip& strip, const InTexture& input, Stop& stop) const
{
    Tracer tracer(input, accumulator_, shape_, *kernels_);
    const std::size_t i = std::size_t(strip.subPass - 1);
    if (!plans_.empty())
        tracer.use(plans_[i]);
    std::optional<QrVectorBlurWeights> weights;
    if (!weights_.empty() && weights_[i])
        weights = weights_[i];
    std::vector<int32_t> starts;
    QrVectorBlurPlan own;
    for (int32_t y = strip.first; y < strip.end; ++y) {
        if (stop())
            return;
        if (weights) {
            weights->startRow(accumulator_, y, starts);
            tracer.traceColours(starts.data(), static_cast<int32_t>(starts.size()), y);
        } else {
            tracePaths(strip.subPass, y, tracer, own);
        }
    }
}

// Path by path along row y: nearest pixels, vectors too short to spread,
// and plans of their own for every path (a generator that is not uniform,
// or jitter), traced into `own`.
template <class InTexture, class OutTexture>
void QrVectorBlurPasses<InTexture, OutTexture>::tracePaths(
    int32_t subPass, int32_t y, Tracer& tracer, QrVectorBlurPlan& own) const
{
    const float* weight = accumulator_.weightAt(region_.x0, y);
    for (int32_t x = region_.x0; x < region_.x1; ++x, ++weight) {
        if (!(*weight > 0.0f))
            continue;
        if (plans_.empty()) {
            const float ox = settings_.jitter ? jittered(subPass, x, y, 0) : startOffset(subPass);
            const float oy = settings_.jitter ? jittered(subPass, x, y, 1) : startOffset(subPass);
            own.trace(*generator_, shape_, x, y, ox, oy);
            tracer.use(own);
        }
        tracer.trace(x, y);
    }
}

template <class InTexture, class OutTexture>
template <class Stop>
void QrVectorBlurPasses<InTexture, OutTexture>::finish(
    int32_t first, int32_t end, const OutTexture& output, Stop& stop) const
{
    using Storage = typename OutTexture::StoragePixel;
    const int32_t x0 = region_.x0;
    for (int32_t y = first; y < end; ++y) {
        if (stop())
            return;
        Storage* out = output.placedPixel(x0, y);
        accumulator_.normaliseRow(
            y, x0, region_.x1, [out, x0](int32_t x, QrLanes v) { qrStorePixel(out[x - x0], v); });
    }
}
