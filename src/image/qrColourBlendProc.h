#pragma once
// The blend processor: combines the source (the input image, read through
// its crop window and edge methods) with the effect already in the output
// image, and writes the result over the effect. One storage pixel type per
// depth; the method is chosen once per band, so the pixel loop is a straight
// run of one formula.
#include "qrColourBlend.h"
#include "qrImgProc2.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>

template <class S> class QrColourBlendProc : public QrImgProc2<QrTexture<S>> {
public:
    using Texture = QrTexture<S>;
    using W = Quarn::Pixel::Work<S>;

    // Premultiplication words and the clamp flag start off.
    QrColourBlendProc(int32_t method, float sourceGain, float effectGain, float mix)
    {
        settings_.method = method;
        settings_.sourceGain = sourceGain;
        settings_.effectGain = effectGain;
        settings_.mix = mix;
    }

    // The three words act when they equal 1.
    void setPremultiplySource(int32_t on) { settings_.premultiplySource = on; }
    void setPremultiplyEffect(int32_t on) { settings_.premultiplyEffect = on; }
    void setUnpremultiplyResult(int32_t on) { settings_.unpremultiplyResult = on; }
    // Clamp both inputs to 0..white before the formula ("Clamp 0-1 (32 bpc)").
    void setClampInputs(bool on) { settings_.clamp = on; }

    const Quarn::Blend::Settings& settings() const { return settings_; }

    void processBand() override
    {
        Quarn::Blend::withMethod(
            settings_.method, [this](auto method) { this->template blendBand<decltype(method)::value>(); });
    }

private:
    template <int32_t M> void blendBand() const
    {
        using Quarn::Pixel::convert;
        const Texture& source = *this->input();
        const Quarn::Blend::Settings settings = settings_;
        const int32_t x0 = this->region().x0, x1 = this->region().x1;
        this->forEachBandRow([&](int32_t y, S* out, int32_t) {
            source.forEachRun(y, x0, x1, [&](const S* in, int32_t step, int32_t count) {
                for (int32_t k = 0; k < count; ++k, in += step, ++out) {
                    const W blended = Quarn::Blend::blendStep<M>(convert<W>(*in), convert<W>(*out), settings);
                    *out = convert<S>(blended);
                }
            });
        });
    }

    Quarn::Blend::Settings settings_;
};

// The three depths are compiled once, in qrColourBlendProc.cpp.
extern template class QrColourBlendProc<Quarn::Pixel::ARGB8>;
extern template class QrColourBlendProc<Quarn::Pixel::ARGB16>;
extern template class QrColourBlendProc<Quarn::Pixel::ARGBF>;
