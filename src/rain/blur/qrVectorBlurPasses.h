#pragma once
// The work of one vector blur run, pass by pass, for a processor that splits
// each pass into bands of rows:
//   pass 0                 clear the accumulator (colour 0, weights K);
//   passes 1 .. 2n         sub-pass i traces its even strips, then its odd
//                          strips (qrVectorBlurStrips.h): every pixel of the
//                          region whose weight is still above 0 starts a path;
//   pass 2n + 1            finish: colour sum / deposited weight to the output.
// The input is only read and the output only written in the finish, so the
// blur may run in place.
#include "noise/qrHash.h"
#include "qrPixel.h"
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurPlan.h"
#include "blur/qrVectorBlurStrips.h"
#include "blur/qrVectorBlurTracer.h"
#include "blur/qrVectorBlurWeights.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

struct QrVectorBlurSettings {
    float stepScale = 0.0f;     // a sample is a segment of v * M' * stepScale
    int32_t quality = 0;        // 0: nearest pixels; above: bilinear
    float subPassCount = 1.0f;  // sub-pixel start offsets, rounded
    bool thirds = false;        // a third of the magnitude, three times the points
    bool jitter = false;        // hashed sub-pixel start offsets
};

template <class InTexture, class OutTexture>
class QrVectorBlurPasses {
public:
    // Plans a run over the region [x0, x1) x [y0, y1) of `output` and
    // allocates the accumulator over the output's window. Returns the number
    // of passes. Throws OutOfMemory.
    int32_t setUp(const VectorGenerator& generator, const QrVectorBlurSettings& settings,
                  const OutTexture& output, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void release() { accumulator_.release(); }

    // The rows a pass splits into bands.
    void passRows(int32_t pass, int32_t& first, int32_t& end) const;
    // One band of a pass. `stop()` is asked before every row.
    template <class Stop>
    void runBand(int32_t pass, int32_t bandFirst, int32_t bandEnd, const InTexture& input,
                 const OutTexture& output, Stop&& stop) const;

    const QrVectorBlurShape& shape() const { return shape_; }
    const QrVectorBlurStrips& strips() const { return strips_; }
    int32_t subPasses() const { return subPasses_; }
    float weightK() const { return accumulator_.k(); }

private:
    // Start offset of sub-pass `i` (1-based) within a pixel, before jitter.
    static float startOffset(int32_t i) { return i == 2 ? 0.25f : (i == 3 ? 0.75f : 0.5f); }
    float jittered(int32_t i, int32_t x, int32_t y, int32_t axis) const;
    template <class Stop>
    void traceStrips(int32_t subPass, int32_t parity, int32_t bandFirst, int32_t bandEnd,
                     const InTexture& input, Stop& stop) const;
    void tracePaths(int32_t subPass, int32_t y, QrVectorBlurTracer<InTexture>& tracer,
                    QrVectorBlurPlan& own) const;
    template <class Stop>
    void finish(int32_t bandFirst, int32_t bandEnd, const OutTexture& output, Stop& stop) const;

    const VectorGenerator* generator_ = nullptr;
    QrVectorBlurSettings settings_;
    QrVectorBlurShape shape_;
    QrVectorBlurStrips strips_;
    QrVectorBlurAccumulator accumulator_;
    std::vector<QrVectorBlurPlan> plans_;  // one per sub-pass when every path shares it
    int32_t subPasses_ = 1;
    int32_t x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
};

template <class InTexture, class OutTexture>
int32_t QrVectorBlurPasses<InTexture, OutTexture>::setUp(const VectorGenerator& generator,
                                                         const QrVectorBlurSettings& settings,
                                                         const OutTexture& output, int32_t x0,
                                                         int32_t y0, int32_t x1, int32_t y1)
{
    generator_ = &generator;
    settings_ = settings;
    x0_ = x0, y0_ = y0, x1_ = x1, y1_ = y1;
    subPasses_ = std::max(static_cast<int32_t>(std::lround(settings.subPassCount)), 0);
    shape_ = QrVectorBlurShape::make(generator.magnitude(), settings.thirds, settings.stepScale,
                                     settings.quality);
    plans_.clear();
    int32_t reach = shape_.rowReach();
    if (generator.isUniform() && !settings.jitter) {
        plans_.resize(subPasses_);
        reach = 0;
        for (int32_t i = 0; i < subPasses_; ++i) {
            const float o = startOffset(i + 1);
            plans_[i].trace(generator, shape_, 0, 0, o, o);
            const QrVectorBlurBox& box = plans_[i].depositBox();
            reach = std::max({reach, -box.y0, box.y1});
        }
    }
    strips_ = QrVectorBlurStrips(y0, y1, reach);
    // Several bilinear sub-passes start from a larger weight, so that a pixel
    // is only passed over once most of the sub-passes have covered it.
    const float k = settings.quality > 0 && subPasses_ >= 3 ? 5.0f : 1.0f;
    const QrTexAxis& ax = output.xAxis();
    const QrTexAxis& ay = output.yAxis();
    accumulator_.allocate(ax.windowFirst + ax.placement, ay.windowFirst + ay.placement,
                          ax.windowLast + ax.placement + 1, ay.windowLast + ay.placement + 1, k);
    return 2 * subPasses_ + 2;
}

template <class InTexture, class OutTexture>
void QrVectorBlurPasses<InTexture, OutTexture>::passRows(int32_t pass, int32_t& first,
                                                         int32_t& end) const
{
    if (pass == 0) {
        first = accumulator_.y0();
        end = accumulator_.y1();
    } else {
        first = y0_;
        end = y1_;
    }
}

template <class InTexture, class OutTexture>
template <class Stop>
void QrVectorBlurPasses<InTexture, OutTexture>::runBand(int32_t pass, int32_t bandFirst,
                                                        int32_t bandEnd, const InTexture& input,
                                                        const OutTexture& output,
                                                        Stop&& stop) const
{
    if (pass == 0)
        accumulator_.clearRows(bandFirst, bandEnd);
    else if (pass <= 2 * subPasses_)
        traceStrips((pass - 1) / 2 + 1, (pass - 1) % 2, bandFirst, bandEnd, input, stop);
    else
        finish(bandFirst, bandEnd, output, stop);
}

// A hashed offset in place of the sub-pass's fixed one: it depends only on
// the pixel, the sub-pass and the axis, never on the band.
template <class InTexture, class OutTexture>
float QrVectorBlurPasses<InTexture, OutTexture>::jittered(int32_t i, int32_t x, int32_t y,
                                                          int32_t axis) const
{
    const float r = QrHash::unit(QrHash::hash(QrHash::key(x, y, 2 * i + axis)));
    const float o = startOffset(i);
    return i == 2 ? o + r * 0.75f : (i == 3 ? o - r * 0.75f : o + r - 0.5f);
}

template <class InTexture, class OutTexture>
template <class Stop>
void QrVectorBlurPasses<InTexture, OutTexture>::traceStrips(int32_t subPass, int32_t parity,
                                                            int32_t bandFirst, int32_t bandEnd,
                                                            const InTexture& input,
                                                            Stop& stop) const
{
    int32_t from, to;
    strips_.owned(parity, bandFirst, bandEnd, from, to);
    if (from >= to)
        return;
    QrVectorBlurTracer<InTexture> tracer(input, accumulator_, shape_);
    const QrVectorBlurPlan* plan = plans_.empty() ? nullptr : &plans_[subPass - 1];
    if (plan)
        tracer.use(*plan);
    // One bilinear plan for every path: a row's start pixels are found and
    // their weights taken first, then their colours are traced together.
    std::optional<QrVectorBlurWeights> weights;
    if (plan && plan->spreads() && !shape_.nearest)
        weights.emplace(*plan, x0_, x1_);
    std::vector<int32_t> starts;
    QrVectorBlurPlan own;
    for (int32_t s = from; s < to; s += 2) {
        int32_t first, end;
        strips_.strip(s, first, end);
        for (int32_t y = first; y < end; ++y) {
            if (stop())
                return;
            if (weights) {
                weights->startRow(accumulator_, y, starts);
                tracer.traceColours(starts.data(), static_cast<int32_t>(starts.size()), y);
            } else {
                tracePaths(subPass, y, tracer, own);
            }
        }
    }
}

// Path by path along row y: nearest pixels, vectors too short to spread,
// and plans of their own for every path (a generator that is not uniform,
// or jitter), traced into `own`.
template <class InTexture, class OutTexture>
void QrVectorBlurPasses<InTexture, OutTexture>::tracePaths(int32_t subPass, int32_t y,
                                                           QrVectorBlurTracer<InTexture>& tracer,
                                                           QrVectorBlurPlan& own) const
{
    const float* weight = accumulator_.weightAt(x0_, y);
    for (int32_t x = x0_; x < x1_; ++x, ++weight) {
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
void QrVectorBlurPasses<InTexture, OutTexture>::finish(int32_t bandFirst, int32_t bandEnd,
                                                       const OutTexture& output, Stop& stop) const
{
    using Storage = typename OutTexture::StoragePixel;
    for (int32_t y = bandFirst; y < bandEnd; ++y) {
        if (stop())
            return;
        Storage* out = output.placedPixel(x0_, y);
        const int32_t first = x0_;
        accumulator_.normaliseRow(y, x0_, x1_, [out, first](int32_t x, QrLanes v) {
            qrStorePixel(out[x - first], v);
        });
    }
}
