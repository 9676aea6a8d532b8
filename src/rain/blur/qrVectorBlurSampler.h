#pragma once
// A general vector (motion) blur. It traces paths through the input along
// the vectors of a generator, averages the input along each path, deposits
// the averages into a float accumulation image while keeping a per-pixel
// weight image, and finally divides the accumulated colour by the
// accumulated weight. The result is the same for any number of threads and
// any band split, and input and output may be the same image.
//
// Usage: set the generator and the settings, optionally a region, then
// process(input, output). The generator is not owned. Runs of 2 x sub-passes
// + 2 passes (qrVectorBlurPasses.h).
#include "qrSampler.h"
#include "blur/qrVectorBlurPasses.h"
#include "blur/qrVectorGenerator.h"

#include <cstdint>

template <class InTexture, class OutTexture>
class QrVectorBlurSampler : public Sampler<InTexture, OutTexture> {
public:
    float stepScale = 0.0f;
    VectorGenerator* generator = nullptr;
    int32_t quality = 0;
    float subPassCount = 1.0f;
    bool thirds = false;
    bool jitter = false;
    // Carried for callers that set them; they do not change this blur.
    bool option = true;
    int32_t mode = 0;

    // Effective magnitude and samples per path of the last set-up.
    float effectiveMagnitude() const { return passes_.shape().magnitude; }
    int32_t sampleCount() const { return passes_.shape().gatherCount(); }

    void beginSample(const InTexture& input, OutTexture& output) override;
    void sampleBand(const InTexture& input, OutTexture& output) override;
    void endSample(const InTexture& input, OutTexture& output) override;

private:
    QrVectorBlurPasses<InTexture, OutTexture> passes_;
};

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::beginSample(const InTexture&, OutTexture& output)
{
    QrVectorBlurSettings settings;
    settings.stepScale = stepScale;
    settings.quality = quality;
    settings.subPassCount = subPassCount;
    settings.thirds = thirds;
    settings.jitter = jitter;
    const QrRect& r = this->region();
    try {
        this->setPassCount(passes_.setUp(*generator, settings, output, r.x0, r.y0, r.x1, r.y1));
    } catch (...) {
        this->setInterrupted(QrMultiProcessor::kOutOfMemory);
        throw;
    }
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::sampleBand(const InTexture& input,
                                                            OutTexture& output)
{
    const int32_t pass = this->currentPass();
    int32_t first, end, bandFirst, bandEnd;
    passes_.passRows(pass, first, end);
    this->bandRows(first, end, bandFirst, bandEnd);
    passes_.runBand(pass, bandFirst, bandEnd, input, output, [this] { return this->isInterrupted(); });
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::endSample(const InTexture&, OutTexture&)
{
    passes_.release();
}
