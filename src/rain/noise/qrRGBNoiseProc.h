#pragma once
// Adds hash noise to an ARGB image of the render depth. Every value is a pure
// function of the absolute pixel position and the seed, so the result does
// not depend on the band split or the thread count. Input and output may be
// the same image (the rain adds its drops in place).
//
// Modes: 0 monochrome (one value for all channels, ranges averaged over the
// colour channels), 1 colour (one hash per channel, keys n + c), 2 tinted
// (one hash per pixel shared by the channels, each scaled into its own
// range). Ranges are in units of white and scaled to the depth when run.
// With a grain size above 0 the noise is generated and smoothed first.
#include "qrImgProc2.h"
#include "noise/qrNoiseGen.h"
#include "noise/qrRGBANoiseGen.h"
#include "noise/qrRGBNoiseRow.h"
#include "qrTexture.h"

#include <algorithm>
#include <cstdint>

template <class StoragePixel, class WorkPixel, int white>
class QrRGBNoiseProc : public QrImgProc2<QrTexture<StoragePixel, WorkPixel>> {
public:
    using Texture = QrTexture<StoragePixel, WorkPixel>;
    using Row = QrRGBNoiseRow<StoragePixel, white>;
    enum Mode : int32_t { kMonochrome = 0, kColour = 1, kTinted = 2 };

    int32_t seed = 0;
    const float* responseTable = nullptr;  // 766 factors by brightness, or null
    bool affectAlpha = false;
    float cutoff = 0.0f;  // keep only noise beyond this fraction; >= 1: no noise
    int32_t multiplyPasses = 0;  // finish: square the result this many times
    bool multiplyFlag = false;  // ... alpha included
    int32_t noiseMode = kColour;
    float grainX[4] = {0, 0, 0, 0};
    float grainY[4] = {0, 0, 0, 0};
    float minimum[4] = {-0.05f, -0.05f, -0.05f, -0.05f};
    float maximum[4] = {0.05f, 0.05f, 0.05f, 0.05f};

    explicit QrRGBNoiseProc(QrInterruptRecord* record = nullptr) : QrImgProc2<Texture>(record) { }

    // Whether the last set-up generated the noise into an image first.
    bool isPregenerated() const { return pregenerated_; }

protected:
    void beginProcess() override;
    void processBand() override;
    void endProcess() override;

private:
    QrNoiseMonoKernel monoKernel() const;
    void channelKernels(QrNoiseMonoKernel kernels[4]) const;
    void generate();
    void selfMultiply();

    bool pregenerated_ = false;
    QrTexture<float, float> monoNoise_;
    QrTexture<Quarn::Pixel::RGBAF> colourNoise_;
};

template <class S, class W, int white> QrNoiseMonoKernel QrRGBNoiseProc<S, W, white>::monoKernel() const
{
    return QrNoiseMonoKernel::make(minimum, maximum, cutoff, float(white));
}

template <class S, class W, int white>
void QrRGBNoiseProc<S, W, white>::channelKernels(QrNoiseMonoKernel kernels[4]) const
{
    for (int c = 0; c < 4; ++c) {
        const float lo[3] = {minimum[c], minimum[c], minimum[c]};
        const float hi[3] = {maximum[c], maximum[c], maximum[c]};
        kernels[c] = QrNoiseMonoKernel::make(lo, hi, cutoff, float(white));
    }
}

template <class S, class W, int white> void QrRGBNoiseProc<S, W, white>::beginProcess()
{
    pregenerated_ = false;
    if (cutoff >= 1.0f)
        return;
    const int channels = affectAlpha ? 4 : 3;
    const float largestX = *std::max_element(grainX, grainX + channels);
    const float largestY = *std::max_element(grainY, grainY + channels);
    pregenerated_ = (largestX > 0.0f || largestY > 0.0f) && noiseMode != kTinted;
    if (pregenerated_)
        generate();
}

// Fills the noise image over the region with the unsmoothed noise's range,
// so that grain only smooths the values the inline noise would give.
template <class S, class W, int white> void QrRGBNoiseProc<S, W, white>::generate()
{
    const QrRect& r = this->region();
    const int channels = affectAlpha ? 4 : 3;
    QrTexIndexer geometry(r.width(), r.height());
    geometry.setPlacement(r.x0, r.y0);
    geometry.setOrigin(r.x0, r.y0);
    if (noiseMode == kMonochrome) {
        monoNoise_ = QrTexture<float, float>::allocateLike(geometry);
        QrNoiseGen<float, float, 2147483647> gen(this->interruptRecord());
        gen.seed = seed;
        gen.range = monoKernel().range;
        gen.grainX = *std::max_element(grainX, grainX + channels);
        gen.grainY = *std::max_element(grainY, grainY + channels);
        gen.clampLow = gen.clampHigh = false;
        gen.pixelAspect = this->pixelAspect;
        gen.inversePixelAspect = this->inversePixelAspect;
        gen.process(monoNoise_);
        return;
    }
    QrNoiseMonoKernel kernels[4];
    channelKernels(kernels);
    colourNoise_ = QrTexture<Quarn::Pixel::RGBAF>::allocateLike(geometry);
    QrRGBANoiseGen<Quarn::Pixel::RGBAF> gen(this->interruptRecord());
    gen.seed = seed;
    for (int c = 0; c < 4; ++c) {
        gen.range[c] = kernels[c].range;
        gen.grainX = std::max(gen.grainX, grainX[c]);
        gen.grainY = std::max(gen.grainY, grainY[c]);
    }
    gen.fourthChannel = affectAlpha;
    gen.clampLow = gen.clampHigh = false;
    gen.pixelAspect = this->pixelAspect;
    gen.inversePixelAspect = this->inversePixelAspect;
    gen.process(colourNoise_);
}

template <class S, class W, int white> void QrRGBNoiseProc<S, W, white>::processBand()
{
    if (cutoff >= 1.0f)
        return;
    const typename Row::Common common {responseTable, affectAlpha};
    const QrNoiseMonoKernel mono = monoKernel();
    QrNoiseMonoKernel kernels[4];
    channelKernels(kernels);
    const Texture& in = *this->input();
    const int32_t x0 = this->region().x0, x1 = this->region().x1;
    this->forEachBandRow([&](int32_t y, S* out, int32_t) {
        int32_t x = x0;
        in.forEachRun(y, x0, x1, [&](const S* p, int32_t step, int32_t count) {
            const int32_t key = QrHash::key(x, y, seed);
            if (noiseMode == kMonochrome) {
                const float* noise = pregenerated_ ? monoNoise_.placedPixel(x, y) : nullptr;
                Row::mono(p, step, count, out, key, mono, noise, common);
            } else {
                const float* noise =
                    pregenerated_ ? reinterpret_cast<const float*>(colourNoise_.placedPixel(x, y)) : nullptr;
                Row::colour(p, step, count, out, key, kernels, noiseMode == kColour, noise, common);
            }
            out += count;
            x += count;
        });
    });
}

template <class S, class W, int white> void QrRGBNoiseProc<S, W, white>::endProcess()
{
    if (multiplyPasses != 0 && !this->isInterrupted())
        selfMultiply();
    monoNoise_.releaseData();
    colourNoise_.releaseData();
}

// Squares every channel (in units of white) `multiplyPasses` times, which
// darkens the noise towards its bright extremes; alpha only with the flag.
template <class S, class W, int white> void QrRGBNoiseProc<S, W, white>::selfMultiply()
{
    const QrRect& r = this->region();
    const float w = float(white);
    for (int32_t y = r.y0; y < r.y1; ++y) {
        S* row = this->output()->placedPixel(r.x0, y);
        for (int32_t k = 0; k < r.width(); ++k)
            for (int c = 0; c < S::kChannels; ++c) {
                if (c == S::kAlpha && !multiplyFlag)
                    continue;
                float v = float(row[k].c[c]);
                for (int32_t pass = 0; pass < multiplyPasses; ++pass)
                    v = v * v / w;
                row[k].c[c] =
                    Quarn::Pixel::storeComponent<typename S::Component, S::kInteger>(v, 0.0, double(white));
            }
    }
}
