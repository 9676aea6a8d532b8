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
#include "qrImgProc2.h"
#include "motion/qrRainLayer.h"
#include "motion/qrRainMotion.h"
#include "noise/qrNoiseMonoKernel.h"
#include "proc/qrRainDepthLayers.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>
#include <memory>

template <class StoragePixel, class WorkPixel, int white, class MatteStoragePixel,
          class MatteWorkPixel>
class QrRainProc : public QrImgProc2<QrTexture<StoragePixel, WorkPixel>> {
public:
    using Texture = QrTexture<StoragePixel, WorkPixel>;
    using MatteTexture = QrTexture<MatteStoragePixel, MatteWorkPixel>;

    int32_t seed = 1;
    int32_t frame = 0;          // whole frames; every frame has its own drops
    float density = 0.0f;       // density / 10 of the layer's pixels get a drop
    float angle = 0.0f;         // rain direction, radians
    float intensity = 0.0f;     // weight of the layer added to the source
    float dropLength = 0.0f;    // streak length in pixels
    float minThreshold = 0.0f;  // diffusion minimum, work units (0..white)
    float maxThreshold = 1.0f;  // diffusion maximum, work units
    Texture layer;              // the rain layer, made at set-up over the output
    const MatteTexture* matte = nullptr;  // optional, not owned
    bool hasMatte = false;
    // Drop motion and depth; the defaults draw the rain above exactly. More
    // than one layer adds drop-only layers in `depth`, made at set-up.
    QrRainMotion motion;
    QrRainDepthLayers<StoragePixel, WorkPixel, white> depth;

    explicit QrRainProc(QrInterruptRecord* record = nullptr);
    ~QrRainProc() override;

    // The drop noise's seed for `frame` and `seed`.
    static int32_t noiseSeed(int32_t frame, int32_t seed);
    // The drop noise's settings: monochrome, 0..density, cut-off 1 - density/10.
    static QrNoiseMonoKernel dropKernel(float density);
    // The frame as the motion model sees it (seeds, drop and streak values).
    QrRainLayerBase layerBase() const;

protected:
    void beginProcess() override;
    void processBand() override;
    void endPass() override;
    void endProcess() override;

private:
    struct Tables;

    void makeLayer(Texture& target);
    void makeDepthLayers();
    void highlightBand();
    void rainBand();
    void streak(Texture& target, float length, float direction);

    std::unique_ptr<Tables> tables_;
};

// The three depths of the host.
using QrRainProc8 = QrRainProc<Quarn::Pixel::ARGB8, Quarn::Pixel::ARGBW255, 255,
                               Quarn::Pixel::Single8, Quarn::Pixel::SingleW255>;
using QrRainProc16 = QrRainProc<Quarn::Pixel::ARGB16, Quarn::Pixel::ARGBW32768, 32768,
                                Quarn::Pixel::Single16, Quarn::Pixel::SingleW32768>;
using QrRainProcF = QrRainProc<Quarn::Pixel::ARGBF, Quarn::Pixel::ARGBF, 1,
                               Quarn::Pixel::SingleF, Quarn::Pixel::SingleF>;

extern template class QrRainProc<Quarn::Pixel::ARGB8, Quarn::Pixel::ARGBW255, 255,
                                 Quarn::Pixel::Single8, Quarn::Pixel::SingleW255>;
extern template class QrRainProc<Quarn::Pixel::ARGB16, Quarn::Pixel::ARGBW32768, 32768,
                                 Quarn::Pixel::Single16, Quarn::Pixel::SingleW32768>;
extern template class QrRainProc<Quarn::Pixel::ARGBF, Quarn::Pixel::ARGBF, 1,
                                 Quarn::Pixel::SingleF, Quarn::Pixel::SingleF>;
