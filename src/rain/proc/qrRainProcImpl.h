#pragma once
// Member definitions of QrRainProc (qrRainProc.h). Included by the file that
// instantiates the three depths, and by code that needs another depth.
#include "noise/qrHash.h"
#include "noise/qrRGBNoiseRow.h"
#include "proc/qrRainProc.h"
#include "proc/qrRainProcCombine.h"
#include "motion/qrRainLayer.h"
#include "proc/qrRainProcHighlight.h"
#include "proc/qrRainProcTable.h"
#include "blur/qrSimpleLinearBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Everything a run derives from the settings once, before its passes.
template <class D> struct QrRainProc<D>::Tables {
    struct MatteWeight {
        float operator()(float v) const { return v / float(white); }
    };
    using Row = QrRGBNoiseRow<S, white>;

    std::vector<QrRainLayer> layers;  // nearest first; the nearest is drawn into `layer_`
    QrRainProcHighlight<S, white> highlight;
    QrRainProcTable<typename MS::Component, MatteWeight> matteWeight {MatteWeight {}};
    QrNoiseMonoKernel drops;
    bool hasDrops;
    int32_t dropSeed;
    typename Row::Common dropCommon {nullptr, true};  // no response table, alpha too

    explicit Tables(const QrRainProc& p)
        : layers(planRainLayers(p.settings_.motion, p.layerBase())),
          highlight(p.settings_.minThreshold, p.settings_.maxThreshold),
          drops(dropKernel(layers[0].density)),
          hasDrops(dropCutOff(layers[0].density) < 1.0f),
          dropSeed(layers[0].dropSeed)
    {
    }
};

template <class D>
QrRainProc<D>::QrRainProc(
    const QrRainSettings& settings, const MatteTexture* matte, QrInterruptRecord* record)
    : QrImgProc2<Texture>(record), settings_(settings), matte_(matte)
{
    if (settings_.region)
        this->setRegion(*settings_.region);
}

template <class D> QrRainProc<D>::~QrRainProc() = default;

template <class D> int32_t QrRainProc<D>::noiseSeed(int32_t frame, int32_t seed)
{
    // |frame| * 12541 stays far below 2^63, so the truncation is defined.
    const auto whole = int64_t(std::fabs(double(frame) * 12541.0));
    return QrHash::offset(int32_t(uint32_t(uint64_t(whole))), seed);
}

template <class D> QrNoiseMonoKernel QrRainProc<D>::dropKernel(float density)
{
    const float minimum[3] = {0.0f, 0.0f, 0.0f};
    const float maximum[3] = {density, density, density};
    return QrNoiseMonoKernel::make(minimum, maximum, dropCutOff(density), float(white));
}

template <class D> QrRainLayerBase QrRainProc<D>::layerBase() const
{
    const QrRainSettings& s = settings_;
    QrRainLayerBase b;
    b.frame = s.frame;
    b.frameSeed = noiseSeed(s.frame, s.seed);
    b.fieldSeed = noiseSeed(0, s.seed);
    b.gustSeed = QrHash::hash(QrHash::offset(s.seed, 0x6A09E667));
    b.density = s.density;
    b.dropLength = s.dropLength;
    b.angle = s.angle;
    b.intensity = s.intensity;
    return b;
}

template <class D> void QrRainProc<D>::beginProcess()
{
    this->setPassCount(2);
    if (canUseOutputAsLayer()) {
        // The same addressing makeLayer gives a layer over this output; every
        // pixel is inside the region, so none needs clearing.
        const Texture& out = *this->output();
        layer_ = Texture(out.width(), out.height(), out.data(), out.stride());
        layer_.setEdgeColour(S {});
    } else {
        makeLayer(layer_);
    }
    tables_ = std::make_unique<Tables>(*this);
    makeDepthLayers();
}

// One drop-only layer per farther layer of the plan.
template <class D> void QrRainProc<D>::makeDepthLayers()
{
    depth_.clear();
    const std::vector<QrRainLayer>& layers = tables_->layers;
    for (std::size_t i = 1; i < layers.size(); ++i) {
        typename QrRainDepthLayers<D>::Layer far;
        makeLayer(far.texture);
        far.drops = dropKernel(layers[i].density);
        far.hasDrops = dropCutOff(layers[i].density) < 1.0f;
        far.dropSeed = layers[i].dropSeed;
        far.intensity = layers[i].intensity;
        depth_.add(std::move(far));
    }
}

// The layer has the output's size, window and placement, and is addressed in
// the same coordinates; outside the region it is transparent black, which is
// also what the streak blur reads beyond its edges.
template <class D> void QrRainProc<D>::makeLayer(Texture& target)
{
    const Texture& out = *this->output();
    const QrTexAxis& ax = out.xAxis();
    const QrTexAxis& ay = out.yAxis();
    QrTexIndexer geometry(out.width(), out.height());
    geometry.setWindow(ax.windowFirst, ax.windowLast, ay.windowFirst, ay.windowLast);
    geometry.setPlacement(ax.placement, ay.placement);
    geometry.setOrigin(ax.placement, ay.placement);
    target = Texture::allocateLike(geometry);
    target.setEdgeColour(S {});

    const QrRect window = QrProcRegion::dataWindow(target);
    const QrRect& r = this->region();
    for (int32_t y = window.y0; y < window.y1; ++y) {
        S* row = target.placedPixel(window.x0, y);
        if (y < r.y0 || y >= r.y1 || r.isEmpty()) {
            std::fill(row, row + window.width(), S {});
            continue;
        }
        std::fill(row, row + (r.x0 - window.x0), S {});
        std::fill(row + (r.x1 - window.x0), row + window.width(), S {});
    }
}

template <class D> bool QrRainProc<D>::canUseOutputAsLayer() const
{
    const Texture& out = *this->output();
    const QrTexAxis& ax = out.xAxis();
    const QrTexAxis& ay = out.yAxis();
    const bool whole = ax.windowFirst == 0 && ax.windowCount == out.width() && ay.windowFirst == 0 &&
        ay.windowCount == out.height() && ax.placement == 0 && ay.placement == 0;
    return layerInOutput_ && out.hasData() && whole &&
        this->region() == QrRect {0, 0, out.width(), out.height()} && !qrSharesMemory(*this->input(), out);
}

template <class D> void QrRainProc<D>::processBand()
{
    if (this->currentPass() == 0)
        highlightBand();
    else
        rainBand();
}

template <class D> void QrRainProc<D>::highlightBand()
{
    const Tables& t = *tables_;
    const Texture& src = *this->input();
    const int32_t x0 = this->region().x0, x1 = this->region().x1;
    this->walkBandRows(layer_, [&](int32_t y, S* row, int32_t count) {
        S* out = row;
        src.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t n) {
            t.highlight.run(p, step, n, out);
            out += n;
        });
        if (t.hasDrops)
            Tables::Row::mono(
                row, 1, count, row, QrHash::key(x0, y, t.dropSeed), t.drops, nullptr, t.dropCommon);
        if (!depth_.empty())
            depth_.addDrops(y, x0, count);
    });
}

template <class D> void QrRainProc<D>::rainBand()
{
    using Combine = QrRainProcCombine<S, white>;
    const Tables& t = *tables_;
    const Texture& src = *this->input();
    const int32_t x0 = this->region().x0, x1 = this->region().x1;
    const float intensity = settings_.intensity;
    const bool matted = hasMatte();
    std::vector<float> weights(matted ? std::size_t(x1 - x0) : 0);
    this->forEachBandRow([&](int32_t y, S* out, int32_t) {
        const S* lit = layer_.placedPixel(x0, y);
        if (matted) {
            float* w = weights.data();
            matte_->forEachRun(y, x0, x1, [&](const MS* p, int32_t step, int32_t n) {
                for (int32_t k = 0; k < n; ++k, p += step)
                    *w++ = t.matteWeight(p->c[0]);
            });
        }
        int32_t done = 0;
        src.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t n) {
            if (!depth_.empty())
                depth_.combine(p, step, n, x0 + done, y, lit + done, out + done, intensity,
                    matted ? weights.data() + done : nullptr);
            else if (matted)
                Combine::run(p, step, n, lit + done, out + done, intensity, weights.data() + done);
            else
                Combine::run(p, step, n, lit + done, out + done, intensity);
            done += n;
        });
        if (rowFinish_)
            rowFinish_(y, out, x0, x1);
    });
}

template <class D> void QrRainProc<D>::endPass()
{
    if (this->currentPass() != 0)
        return;
    const std::vector<QrRainLayer>& layers = tables_->layers;
    if (!this->isInterrupted())
        streak(layer_, layers[0].dropLength, layers[0].angle);
    for (std::size_t i = 0; i < depth_.size() && !this->isInterrupted(); ++i)
        streak(depth_[i].texture, layers[i + 1].dropLength, layers[i + 1].angle);
}

// Smears `target` in place along `direction` over `length`. A negative
// length reaches the blur as a positive length turned by half a turn.
template <class D> void QrRainProc<D>::streak(Texture& target, float length, float direction)
{
    const QrRect& r = this->region();
    if (r.isEmpty())
        return;
    const float dx = std::cos(direction) * length, dy = std::sin(direction) * length;
    SimpleLinearBlur<S, W> blur({.length = std::sqrt(dx * dx + dy * dy),
        .direction = std::atan2(dy, dx),
        .quality = 1,
        .thirds = true});
    if constexpr (requires { blur.pixelAspect; }) {
        blur.pixelAspect = std::max(settings_.pixelAspect, 0.001f);
        blur.inversePixelAspect = 1.0f / blur.pixelAspect;
    }
    blur.setInterruptRecord(this->interruptRecord());
    blur.setMultiThreaded(this->isMultiThreaded());
    blur.setRegion(r.x0, r.y0, r.x1 - 1, r.y1 - 1);
    blur.process(target, target);
}

template <class D> void QrRainProc<D>::endProcess()
{
    tables_.reset();
}
