#pragma once
// Member definitions of QrRainProc (qrRainProc.h). Included by the file that
// instantiates the three depths, and by code that needs another depth.
#include "noise/qrHash.h"
#include "noise/qrRGBNoiseRow.h"
#include "proc/qrRainProc.h"
#include "proc/qrRainProcCombine.h"
#include "proc/qrRainProcHighlight.h"
#include "proc/qrRainProcTable.h"
#include "blur/qrSimpleLinearBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Everything a run derives from the settings once, before its passes.
template <class S, class W, int white, class MS, class MW>
struct QrRainProc<S, W, white, MS, MW>::Tables {
    struct MatteWeight {
        float operator()(float v) const { return v / float(white); }
    };
    using Row = QrRGBNoiseRow<S, white>;

    QrRainProcHighlight<S, white> highlight;
    QrRainProcTable<typename MS::Component, MatteWeight> matteWeight{MatteWeight{}};
    QrNoiseMonoKernel drops;
    bool hasDrops;
    int32_t dropSeed;
    typename Row::Common dropCommon{nullptr, true};  // no response table, alpha too

    Tables(const QrRainProc& p)
        : highlight(p.minThreshold, p.maxThreshold),
          drops(dropKernel(p.density)),
          hasDrops(1.0f - p.density * 0.1f < 1.0f),
          dropSeed(noiseSeed(p.frame, p.seed))
    {
    }
};

template <class S, class W, int white, class MS, class MW>
QrRainProc<S, W, white, MS, MW>::QrRainProc(QrInterruptRecord* record)
    : QrImgProc2<Texture>(record)
{
}

template <class S, class W, int white, class MS, class MW>
QrRainProc<S, W, white, MS, MW>::~QrRainProc() = default;

template <class S, class W, int white, class MS, class MW>
int32_t QrRainProc<S, W, white, MS, MW>::noiseSeed(int32_t frame, int32_t seed)
{
    // |frame| * 12541 stays far below 2^63, so the truncation is defined.
    const auto whole = int64_t(std::fabs(double(frame) * 12541.0));
    return QrHash::offset(int32_t(uint32_t(uint64_t(whole))), seed);
}

template <class S, class W, int white, class MS, class MW>
QrNoiseMonoKernel QrRainProc<S, W, white, MS, MW>::dropKernel(float density)
{
    const float minimum[3] = {0.0f, 0.0f, 0.0f};
    const float maximum[3] = {density, density, density};
    return QrNoiseMonoKernel::make(minimum, maximum, 1.0f - density * 0.1f, float(white));
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::beginProcess()
{
    this->setPassCount(2);
    makeLayer();
    tables_ = std::make_unique<Tables>(*this);
}

// The layer has the output's size, window and placement, and is addressed in
// the same coordinates; outside the region it is transparent black, which is
// also what the streak blur reads beyond its edges.
template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::makeLayer()
{
    const Texture& out = *this->output();
    const QrTexAxis& ax = out.xAxis();
    const QrTexAxis& ay = out.yAxis();
    QrTexIndexer geometry(out.width(), out.height());
    geometry.setWindow(ax.windowFirst, ax.windowLast, ay.windowFirst, ay.windowLast);
    geometry.setPlacement(ax.placement, ay.placement);
    geometry.setOrigin(ax.placement, ay.placement);
    layer = Texture::allocateLike(geometry);
    layer.setEdgeColour(S{});

    const QrRect window = QrProcRegion::dataWindow(layer);
    const QrRect& r = this->region();
    for (int32_t y = window.y0; y < window.y1; ++y) {
        S* row = layer.placedPixel(window.x0, y);
        if (y < r.y0 || y >= r.y1 || r.isEmpty()) {
            std::fill(row, row + window.width(), S{});
            continue;
        }
        std::fill(row, row + (r.x0 - window.x0), S{});
        std::fill(row + (r.x1 - window.x0), row + window.width(), S{});
    }
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::processBand()
{
    if (this->currentPass() == 0)
        highlightBand();
    else
        rainBand();
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::highlightBand()
{
    const Tables& t = *tables_;
    const Texture& src = *this->input();
    const int32_t x0 = this->region().x0, x1 = this->region().x1;
    this->walkBandRows(layer, [&](int32_t y, S* row, int32_t count) {
        S* out = row;
        src.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t n) {
            t.highlight.run(p, step, n, out);
            out += n;
        });
        if (t.hasDrops)
            Tables::Row::mono(row, 1, count, row, QrHash::key(x0, y, t.dropSeed), t.drops,
                              nullptr, t.dropCommon);
    });
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::rainBand()
{
    using Combine = QrRainProcCombine<S, white>;
    const Tables& t = *tables_;
    const Texture& src = *this->input();
    const int32_t x0 = this->region().x0, x1 = this->region().x1;
    const bool matted = hasMatte && matte;
    std::vector<float> weights(matted ? std::size_t(x1 - x0) : 0);
    this->forEachBandRow([&](int32_t y, S* out, int32_t) {
        const S* lit = layer.placedPixel(x0, y);
        if (matted) {
            float* w = weights.data();
            matte->forEachRun(y, x0, x1, [&](const MS* p, int32_t step, int32_t n) {
                for (int32_t k = 0; k < n; ++k, p += step)
                    *w++ = t.matteWeight(p->c[0]);
            });
        }
        int32_t done = 0;
        src.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t n) {
            if (matted)
                Combine::run(p, step, n, lit + done, out + done, intensity,
                             weights.data() + done);
            else
                Combine::run(p, step, n, lit + done, out + done, intensity);
            done += n;
        });
    });
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::endPass()
{
    if (this->currentPass() == 0 && !this->isInterrupted())
        streak();
}

// Smears the layer in place along the rain direction. A negative drop
// length reaches the blur as a positive length turned by half a turn.
template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::streak()
{
    const QrRect& r = this->region();
    if (r.isEmpty())
        return;
    const float dx = std::cos(angle) * dropLength, dy = std::sin(angle) * dropLength;
    SimpleLinearBlur<S, W> blur({.length = std::sqrt(dx * dx + dy * dy),
                                 .direction = std::atan2(dy, dx),
                                 .quality = 1,
                                 .thirds = true});
    if constexpr (requires { blur.pixelAspect; }) {
        blur.pixelAspect = std::max(this->pixelAspect, 0.001f);
        blur.inversePixelAspect = 1.0f / blur.pixelAspect;
    }
    blur.setInterruptRecord(this->interruptRecord());
    blur.setMultiThreaded(this->isMultiThreaded());
    blur.setRegion(r.x0, r.y0, r.x1 - 1, r.y1 - 1);
    blur.process(layer, layer);
}

template <class S, class W, int white, class MS, class MW>
void QrRainProc<S, W, white, MS, MW>::endProcess()
{
    tables_.reset();
}
