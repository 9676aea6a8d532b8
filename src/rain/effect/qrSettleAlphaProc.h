#pragma once
// Runs SettleAlpha over the output in place, pixel by pixel in float lanes,
// with the source read through its own addressing when the steps take
// anything from it.
#include "effect/qrSettleAlpha.h"
#include "qrImgProc2.h"
#include "qrTexture.h"

#include <cstdint>

namespace Quarn::Rain {

template <class P> class SettleAlphaProc : public QrImgProc2<QrTexture<P>> {
public:
    SettleAlphaProc(const SettleAlpha<P>& settle, QrInterruptRecord* record)
        : QrImgProc2<QrTexture<P>>(record), settle_(settle)
    {
    }

    void processBand() override
    {
        const QrTexture<P>& source = *this->input();
        const int32_t x0 = this->region().x0, x1 = this->region().x1;
        this->forEachBandRow([&](int32_t y, P* out, int32_t) { settle_.settleRow(source, y, x0, x1, out); });
    }

private:
    SettleAlpha<P> settle_;
};

}  // namespace Quarn::Rain
