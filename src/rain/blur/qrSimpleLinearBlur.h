#pragma once
// Streak blur along one direction: every pixel is averaged with its
// neighbours along the direction over about `length` pixels, centred on it.
// The rain runs it in place on its highlight layer.
//
//   SimpleLinearBlur<Quarn::Pixel::ARGB8> blur({.length = 40.0f, .direction = 1.57f,
//                                               .quality = 1, .thirds = true});
//   blur.setInterruptRecord(record);          // optional
//   blur.setRegion(x0, y0, x1, y1);           // optional, inclusive corners
//   blur.process(layer, layer);               // in place is fine
//
// The result does not depend on the thread count. A length below about 0.03
// leaves the image as it is. One blur may run several times (other layers,
// other settings) and reuses its working memory; it lets go of it when it
// is destroyed, which must be within the render that ran it.
#include "qrSampler.h"
#include "qrTexture.h"
#include "blur/qrVectorBlurSampler.h"
#include "blur/qrVectorGenerator.h"

#include <cstdint>

struct QrLinearBlurSettings {
    float length = 0.0f;
    float direction = 0.0f;  // radians; +x right, +y down the rows
    float bias = 0.0f;  // -1..1: leans the blur towards one end
    float stepScale = 0.0f;  // samples as short segments of the path
    int32_t quality = 0;  // 0: nearest pixels; n: bilinear, n + 1 sub-passes
    bool thirds = false;  // three times the samples over thirds of the length
    bool jitter = false;  // hashed sub-pixel start points

    QrVectorBlurSettings paths() const
    {
        return {stepScale, quality, static_cast<float>(quality) + 1.0f, thirds, jitter};
    }
};

// The settings are the blur's own fields (blur.quality = 1), held as one
// value (settings()).
template <class StoragePixel, class WorkPixel = Quarn::Pixel::Work<StoragePixel>>
class SimpleLinearBlur
    : public Sampler<QrTexture<StoragePixel, WorkPixel>, QrTexture<StoragePixel, WorkPixel>>,
      public QrLinearBlurSettings {
public:
    using Texture = QrTexture<StoragePixel, WorkPixel>;
    using Sampler<Texture, Texture>::process;

    explicit SimpleLinearBlur(const QrLinearBlurSettings& settings) : QrLinearBlurSettings(settings) { }
    SimpleLinearBlur(float length, float direction) : QrLinearBlurSettings {length, direction} { }

    QrLinearBlurSettings& settings() { return *this; }
    const QrLinearBlurSettings& settings() const { return *this; }

    // Builds the generator for this run and runs the vector blur.
    void process(const Texture* input, Texture* output) override;

private:
    QrVectorBlurSampler<Texture, Texture> sampler_;
};

template <class StoragePixel, class WorkPixel>
void SimpleLinearBlur<StoragePixel, WorkPixel>::process(const Texture* input, Texture* output)
{
    if (!input || !output)
        return;
    this->fitRegion(*output);
    const QrRect& r = this->region();
    const LinearVectorGenerator generator(direction, length, bias);
    sampler_.setInterruptRecord(this->interruptRecord());
    sampler_.setMultiThreaded(this->isMultiThreaded());
    sampler_.setRegion(r.x0, r.y0, r.x1 - 1, r.y1 - 1);
    sampler_.settings = paths();
    sampler_.generator = &generator;
    sampler_.process(*input, *output);
    sampler_.generator = nullptr;
}
