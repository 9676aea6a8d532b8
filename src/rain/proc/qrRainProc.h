#pragma once
// The rain processor: reads the source image and writes the source plus a
// layer of rain light. The layer is built in one run of two passes:
//
//   pass 0     highlights: source pixels brighter than the diffusion minimum,
//              ramped to white at the maximum (qrRainProcHighlight.h), and on
//              the same rows the drops: monochrome hash noise with a cut-off
//              that leaves about density / 10 of the pixels lit
//              (qrRGBNoiseRow.h, exactly as QrRGBNoiseProc would add it);
//   after it   the streak blur smears the layer in place along the rain
//              direction over about the drop length (SimpleLinearBlur);
//   pass 1     the layer, weighted by the matte and the intensity, is added
//              to the source (qrRainProcCombine.h).
//
// Adding the drops on the rows the highlight pass has just written, instead
// of in a separate pass over the layer, gives the same values (the noise of a
// pixel depends on its position and its layer value only) at a fraction of
// the memory traffic. Every random value is a hash of absolute coordinates,
// so the result does not depend on the thread count or the band split.
//
// The settings' motion moves the drops from frame to frame and adds farther
// layers of drops only (qrRainLayer.h plans them): each is made at set-up
// beside the nearest layer, gets its drops on the rows of pass 0, is streaked
// with its own length and direction after it, and is added in pass 1 with its
// own intensity (qrRainDepthLayers.h). The default motion draws exactly the
// one layer above.
#include "qrDepth.h"
#include "qrImgProc2.h"
#include "motion/qrRainLayer.h"
#include "noise/qrNoiseMonoKernel.h"
#include "proc/qrRainDepthLayers.h"
#include "proc/qrRainSettings.h"

#include <cstdint>
#include <functional>
#include <memory>

template <class D> class QrRainProc : public QrImgProc2<typename D::Texture> {
public:
    using Texture = typename D::Texture;
    using MatteTexture = typename D::MatteTexture;

    // `matte` (optional, not owned) weights the rain pixel by pixel; it must
    // outlive the runs.
    explicit QrRainProc(const QrRainSettings& settings, const MatteTexture* matte = nullptr,
        QrInterruptRecord* record = nullptr);
    ~QrRainProc() override;

    const QrRainSettings& settings() const { return settings_; }
    // Lets the next runs build the nearest layer in the output's own memory
    // (which pass 1 then overwrites pixel by pixel with the result) when the
    // output covers exactly the region, unplaced, apart from the source: a
    // frame of working memory less. layer(0) is then the output.
    void setLayerInOutput(bool allowed) { layerInOutput_ = allowed; }
    // Has `finish(y, row, x0, x1)` called on each row of the region as soon
    // as pass 1 has written it, while the row is still in cache: `row`
    // points at the output pixel at (x0, y), x0..x1 are the region's columns.
    using RowFinish = std::function<void(int32_t, typename D::Storage*, int32_t, int32_t)>;
    void setRowFinish(RowFinish finish) { rowFinish_ = std::move(finish); }
    bool hasMatte() const { return matte_ != nullptr; }
    // The rain layers of the last run, made at set-up over the output: 0 the
    // nearest (highlights and drops), then the farther drop-only layers.
    const Texture& layer(std::size_t i = 0) const { return i == 0 ? layer_ : depth_[i - 1].texture; }
    std::size_t layerCount() const { return 1 + depth_.size(); }

    // The drop noise's seed for `frame` and `seed`.
    static int32_t noiseSeed(int32_t frame, int32_t seed);
    // The drop noise's cut-off: a pixel gets a drop above it, so a layer whose
    // cut-off is 1 or more has no drops at all.
    static float dropCutOff(float density) { return 1.0f - density * 0.1f; }
    // The drop noise's settings: monochrome, 0..density, cut-off as above.
    static QrNoiseMonoKernel dropKernel(float density);
    // The frame as the motion model sees it (seeds, drop and streak values).
    QrRainLayerBase layerBase() const;

protected:
    void beginProcess() override;
    void processBand() override;
    void endPass() override;
    void endProcess() override;

private:
    using S = typename D::Storage;
    using W = typename D::Work;
    using MS = typename D::MatteStorage;
    static constexpr int white = D::kWhite;
    struct Tables;

    void makeLayer(Texture& target);
    bool canUseOutputAsLayer() const;
    void makeDepthLayers();
    void highlightBand();
    void rainBand();
    // The one way a layer reaches the streak blur.
    void streak(Texture& target, float length, float direction);

    QrRainSettings settings_;
    const MatteTexture* matte_;
    bool layerInOutput_ = false;
    RowFinish rowFinish_;
    Texture layer_;
    QrRainDepthLayers<D> depth_;  // the farther layers, made at set-up
    std::unique_ptr<Tables> tables_;
};

// The three depths of the host.
using QrRainProc8 = QrRainProc<QrDepth8>;
using QrRainProc16 = QrRainProc<QrDepth16>;
using QrRainProcF = QrRainProc<QrDepthF>;

extern template class QrRainProc<QrDepth8>;
extern template class QrRainProc<QrDepth16>;
extern template class QrRainProc<QrDepthF>;
