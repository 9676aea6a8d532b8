#pragma once
// Streak blur along one direction: every pixel is averaged with its
// neighbours along the direction over about `length` pixels, centred on it.
// The rain runs it in place on its highlight layer.
//
//   SimpleLinearBlur<Quarn::Pixel::ARGB8> blur(length, direction);
//   blur.quality = 1;
//   blur.thirds = true;
//   blur.setInterruptRecord(record);          // optional
//   blur.setRegion(x0, y0, x1, y1);           // optional, inclusive corners
//   blur.process(layer, layer);               // in place is fine
//
// The result does not depend on the thread count. A length below about 0.03
// leaves the image as it is.
#include "qrSampler.h"
#include "qrTexture.h"
#include "blur/qrVectorBlurSampler.h"
#include "blur/qrVectorGenerator.h"

#include <cstdint>

template <class StoragePixel, class WorkPixel = Quarn::Pixel::Work<StoragePixel>>
class SimpleLinearBlur
    : public Sampler<QrTexture<StoragePixel, WorkPixel>, QrTexture<StoragePixel, WorkPixel>> {
public:
    using Texture = QrTexture<StoragePixel, WorkPixel>;
    using Sampler<Texture, Texture>::process;

    float length;
    float direction;         // radians; +x right, +y down the rows
    float bias = 0.0f;       // -1..1: leans the blur towards one end
    float stepScale = 0.0f;  // samples as short segments of the path
    int32_t quality = 0;     // 0: nearest pixels; n: bilinear, n + 1 sub-passes
    bool thirds = false;     // three times the samples over thirds of the length
    bool jitter = false;     // hashed sub-pixel start points
    bool option = true;      // passed to the sampler
    int32_t sampleMode = 0;  // passed to the sampler

    SimpleLinearBlur(float length, float direction) : length(length), direction(direction) {}

    // Builds the generator and the sampler for this run and runs it.
    void process(const Texture* input, Texture* output) override;
};

template <class StoragePixel, class WorkPixel>
void SimpleLinearBlur<StoragePixel, WorkPixel>::process(const Texture* input, Texture* output)
{
    if (!input || !output)
        return;
    this->fitRegion(*output);
    int32_t x0, y0, x1, y1;
    this->getRegion(x0, y0, x1, y1);
    LinearVectorGenerator generator(direction, x0, y0, x1, y1, length, bias);
    QrVectorBlurSampler<Texture, Texture> sampler;
    sampler.setInterruptRecord(this->interruptRecord());
    sampler.setMultiThreaded(this->isMultiThreaded());
    sampler.setRegion(x0, y0, x1, y1);
    sampler.pixelAspect = this->pixelAspect;
    sampler.inversePixelAspect = this->inversePixelAspect;
    sampler.generator = &generator;
    sampler.stepScale = stepScale;
    sampler.quality = quality;
    sampler.subPassCount = static_cast<float>(quality) + 1.0f;
    sampler.thirds = thirds;
    sampler.jitter = jitter;
    sampler.option = option;
    sampler.mode = sampleMode;
    sampler.process(*input, *output);
}
