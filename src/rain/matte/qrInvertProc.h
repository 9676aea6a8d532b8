#pragma once
// Inverts a single-channel image in place: every value v becomes value - v,
// with `value` the depth's white (255, 32768 or 1), so a matte of a layer's
// alpha becomes a matte of its transparency.
#include "qrGeneralProc.h"

template <class MatteStoragePixel, class MatteWorkPixel>
class QrInvertProc : public QrGeneralProc<MatteStoragePixel, MatteWorkPixel> {
public:
    float value;

    explicit QrInvertProc(float value, QrInterruptRecord* record = nullptr)
        : QrGeneralProc<MatteStoragePixel, MatteWorkPixel>(record), value(value)
    {
    }

    void generalPixel(MatteWorkPixel& pixel) const override { pixel.c[0] = value - pixel.c[0]; }
};
