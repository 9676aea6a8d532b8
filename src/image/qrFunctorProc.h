#pragma once
// Processors that apply a pixel functor (qrPixelFunctor.h) to every pixel of
// their region: Functor1 in place on one image, Functor2 to the output with a
// second image read through its own addressing (edge colour outside it).
// Pixels are converted to the working type, operated on, and stored with
// the depth's store conversion.
#include "qrImgProc1.h"
#include "qrImgProc2.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>

namespace Quarn::Processor {

template <class P, class F> class Functor1 : public QrImgProc1<QrTexture<P>> {
public:
    using W = Quarn::Pixel::Work<P>;

    explicit Functor1(const F& functor = F(), QrInterruptRecord* record = nullptr)
        : QrImgProc1<QrTexture<P>>(record), functor_(functor)
    {
    }

    void processBand() override
    {
        const F f = functor_;
        this->forEachBandRow([&f](int32_t, P* row, int32_t count) {
            for (int32_t k = 0; k < count; ++k) {
                W w = Quarn::Pixel::convert<W>(row[k]);
                f(w);
                row[k] = Quarn::Pixel::convert<P>(w);
            }
        });
    }

    const F& functor() const { return functor_; }

private:
    F functor_;
};

template <class POut, class PIn, class F>
class Functor2 : public QrImgProc2<QrTexture<POut>, QrTexture<PIn>> {
public:
    using WOut = Quarn::Pixel::Work<POut>;
    using WIn = Quarn::Pixel::Work<PIn>;

    explicit Functor2(const F& functor = F(), QrInterruptRecord* record = nullptr)
        : QrImgProc2<QrTexture<POut>, QrTexture<PIn>>(record), functor_(functor)
    {
    }

    void processBand() override
    {
        const F f = functor_;
        const QrTexture<PIn>& in = *this->input();
        const int32_t x0 = this->region().x0, x1 = this->region().x1;
        this->forEachBandRow([&](int32_t y, POut* out, int32_t) {
            in.forEachRun(y, x0, x1, [&](const PIn* p, int32_t step, int32_t count) {
                for (int32_t k = 0; k < count; ++k, p += step, ++out) {
                    WOut w = Quarn::Pixel::convert<WOut>(*out);
                    f(w, Quarn::Pixel::convert<WIn>(*p));
                    *out = Quarn::Pixel::convert<POut>(w);
                }
            });
        });
    }

    const F& functor() const { return functor_; }

private:
    F functor_;
};

}  // namespace Quarn::Processor
