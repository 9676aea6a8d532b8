#pragma once
// A general vector (motion) blur. It traces paths through the input along
// the vectors of a generator, averages the input along each path, deposits
// the averages into a float accumulation image while keeping a per-pixel
// weight image, and finally divides the accumulated colour by the
// accumulated weight. The result is the same for any number of threads and
// any band split, and input and output may be the same image.
//
// Usage: set the generator and the settings, optionally a region, then
// process(input, output). The generator is not owned.
#include "qrMultiProcessor.h"
#include "qrVectorBlurPasses.h"
#include "qrVectorGenerator.h"

#include <cstdint>

template <class InTexture, class OutTexture>
class QrVectorBlurSampler : public QrMultiProcessor {
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

    // Inclusive corners, in coordinates; without a region the output's
    // window is processed.
    void setRegion(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void process(const InTexture& input, OutTexture& output);

    // Effective magnitude and samples per path of the last set-up.
    float effectiveMagnitude() const { return passes_.shape().magnitude; }
    int32_t sampleCount() const { return passes_.shape().gatherCount(); }

protected:
    void beginProcess() override;
    void processBand() override;
    void endProcess() override;

private:
    QrVectorBlurPasses<InTexture, OutTexture> passes_;
    const InTexture* input_ = nullptr;
    OutTexture* output_ = nullptr;
    bool regionSet_ = false;
    int32_t x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
};

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::setRegion(int32_t x0, int32_t y0, int32_t x1,
                                                           int32_t y1)
{
    regionSet_ = true;
    x0_ = x0, y0_ = y0, x1_ = x1 + 1, y1_ = y1 + 1;
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::process(const InTexture& input,
                                                         OutTexture& output)
{
    input_ = &input;
    output_ = &output;
    run();
    input_ = nullptr;
    output_ = nullptr;
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::beginProcess()
{
    const QrTexAxis& ax = output_->xAxis();
    const QrTexAxis& ay = output_->yAxis();
    const int32_t wx0 = ax.windowFirst + ax.placement, wx1 = ax.windowLast + ax.placement + 1;
    const int32_t wy0 = ay.windowFirst + ay.placement, wy1 = ay.windowLast + ay.placement + 1;
    const int32_t x0 = regionSet_ ? std::clamp(x0_, wx0, wx1) : wx0;
    const int32_t x1 = regionSet_ ? std::clamp(x1_, x0, wx1) : wx1;
    const int32_t y0 = regionSet_ ? std::clamp(y0_, wy0, wy1) : wy0;
    const int32_t y1 = regionSet_ ? std::clamp(y1_, y0, wy1) : wy1;
    QrVectorBlurSettings settings;
    settings.stepScale = stepScale;
    settings.quality = quality;
    settings.subPassCount = subPassCount;
    settings.thirds = thirds;
    settings.jitter = jitter;
    try {
        setPassCount(passes_.setUp(*generator, settings, *output_, x0, y0, x1, y1));
    } catch (...) {
        setInterrupted(kOutOfMemory);
        throw;
    }
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::processBand()
{
    int32_t first, end, bandFirst, bandEnd;
    passes_.passRows(currentPass(), first, end);
    bandRows(first, end, bandFirst, bandEnd);
    passes_.runBand(currentPass(), bandFirst, bandEnd, *input_, *output_,
                    [this] { return isInterrupted(); });
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::endProcess()
{
    passes_.release();
}
