#pragma once
// A general vector (motion) blur. It traces paths through the input along
// the vectors of a generator, averages the input along each path, deposits
// the averages into float accumulation rows while keeping a weight per
// pixel, and divides the accumulated colour by the accumulated weight. The
// result is the same for any number of threads, and input and output may be
// the same image.
//
// Usage: set the generator and the settings, optionally a region, then
// process(input, output). The generator is not owned. The accumulation
// memory is kept from one run to the next while the sampler lives (a caller
// may blur several layers with one sampler); it is host image memory, so
// the sampler must not outlive the render that ran it.
#include "qrSampler.h"
#include "blur/qrVectorBlurPasses.h"
#include "blur/qrVectorGenerator.h"

template <class InTexture, class OutTexture>
class QrVectorBlurSampler : public Sampler<InTexture, OutTexture> {
public:
    QrVectorBlurSettings settings;
    const VectorGenerator* generator = nullptr;

    void beginSample(const InTexture& input, OutTexture& output) override;
    void sampleBand(const InTexture& input, OutTexture& output) override;
    // Lets go of the accumulation memory.
    void release() { passes_.release(); }

private:
    QrVectorBlurPasses<InTexture, OutTexture> passes_;
};

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::beginSample(const InTexture& input, OutTexture& output)
{
    try {
        this->setPassCount(
            passes_.setUp(*generator, settings, input, output, this->region(), this->threadCount()));
    } catch (...) {
        this->setInterrupted(QrMultiProcessor::kOutOfMemory);
        throw;
    }
}

template <class InTexture, class OutTexture>
void QrVectorBlurSampler<InTexture, OutTexture>::sampleBand(const InTexture& input, OutTexture& output)
{
    passes_.runBand(
        this->currentPass(), input, output,
        [this](int32_t first, int32_t end, int32_t& bandFirst, int32_t& bandEnd) {
            this->bandRows(first, end, bandFirst, bandEnd);
        },
        [this] { return this->isInterrupted(); });
}
