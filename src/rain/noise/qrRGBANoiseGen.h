#pragma once
// Fills a four-channel (RGBA float) image with hash noise: channel c of the
// pixel with key n takes hash(n + c) * range[c] * 2^-31, clamped as the flags
// say (the top value is the pixel type's white); the fourth channel only when
// `fourthChannel` is set, otherwise it is 0. Grain as in qrNoiseGenCore.h.
#include "noise/qrHash.h"
#include "noise/qrNoiseGenCore.h"

#include <cstdint>

template <class P> class QrRGBANoiseGen : public QrNoiseGenCore<P, QrRGBANoiseGen<P>> {
public:
    static_assert(P::kChannels == 4 && !P::kInteger, "noise is generated into float RGBA");
    static constexpr float kWhite = float(P::Desc::kWhite);

    float range[4] = {0.05f, 0.05f, 0.05f, 0.05f};
    bool fourthChannel = false;

    explicit QrRGBANoiseGen(QrInterruptRecord* record = nullptr) : QrNoiseGenCore<P, QrRGBANoiseGen>(record)
    {
    }

    void fillRow(P* row, int32_t count, int32_t key) const
    {
        const int channels = fourthChannel ? 4 : 3;
        for (int32_t k = 0; k < count; ++k, key = this->nextKey(key)) {
            P p {};
            for (int c = 0; c < channels; ++c)
                p.c[c] = this->clamped(
                    float(QrHash::hash(QrHash::offset(key, c))) * range[c] * QrHash::kUnit, kWhite);
            row[k] = p;
        }
    }
};
