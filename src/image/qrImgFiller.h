#pragma once
// A processor that fills its region of the output with generated pixels,
// one row at a time. Its region can be pushed and popped (QrIPWindowStack)
// to fill several rectangles with one filler.
#include "qrIPWindowStack.h"
#include "qrImgProc1.h"
#include "qrTexture.h"

#include <cstdint>

template <class S, class W> class QrImgFiller : public QrImgProc1<QrTexture<S, W>>, public QrIPWindowStack {
public:
    explicit QrImgFiller(QrInterruptRecord* record = nullptr)
        : QrImgProc1<QrTexture<S, W>>(record), QrIPWindowStack(static_cast<QrImgProc&>(*this))
    {
    }

    // Writes `count` pixels of row y starting at column x0 into `row`.
    virtual void fillRow(S* row, int32_t y, int32_t x0, int32_t count) const = 0;

    void processBand() override
    {
        const int32_t x0 = this->region().x0;
        this->forEachBandRow([this, x0](int32_t y, S* row, int32_t count) { fillRow(row, y, x0, count); });
    }
};

// Fills with one colour. The colour is given on the scale 0..White (e.g. 255
// for 8-bit values) and converted to the image's depth.
template <class S, class W, auto White> class ColouredFrameGenerator : public QrImgFiller<S, W> {
public:
    explicit ColouredFrameGenerator(const W& colour, QrInterruptRecord* record = nullptr)
        : QrImgFiller<S, W>(record),
          pixel_(Quarn::Pixel::convert<S>(colour * float(Quarn::Pixel::Traits<W>::kWhite / double(White))))
    {
    }

    void fillRow(S* row, int32_t, int32_t, int32_t count) const override
    {
        for (int32_t k = 0; k < count; ++k)
            row[k] = pixel_;
    }

    const S& pixel() const { return pixel_; }

private:
    S pixel_;
};
