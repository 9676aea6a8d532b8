#pragma once
// A one-image processor whose work is a QrGeneralPass: every pixel of the
// region is loaded, rewritten by generalPixel and stored back. This is the
// convenient form (one virtual call per pixel); hot loops belong in a
// pixel functor (qrFunctorProc.h) instead.
#include "qrGeneralPass.h"
#include "qrImgProc1.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>

template <class S, class W>
class QrGeneralProc : public QrImgProc1<QrTexture<S, W>>, public QrGeneralPass<S, W> {
public:
    explicit QrGeneralProc(QrInterruptRecord* record = nullptr) : QrImgProc1<QrTexture<S, W>>(record) { }

    void processBand() override
    {
        int32_t first = 0, end = 0;
        this->regionBand(first, end);
        if (first >= end)
            return;
        this->generalBand(this->region().x0, first, this->region().x1, end);
        this->forEachBandRow([this](int32_t, S* row, int32_t count) {
            for (int32_t k = 0; k < count; ++k) {
                W w = Quarn::Pixel::convert<W>(row[k]);
                this->generalPixel(w);
                row[k] = Quarn::Pixel::convert<S>(w);
            }
        });
    }
};
