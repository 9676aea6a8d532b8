#pragma once
// Fills a single-channel float image with hash noise: the pixel with key n
// takes hash(n) * range * 2^-31 + offset, clamped as the flags say, and is
// optionally smoothed by a grain (qrNoiseGenCore.h). `white` is the
// generator's top value for the high clamp.
#include "noise/qrHash.h"
#include "noise/qrNoiseGenCore.h"

#include <cstdint>

template <class StoragePixel, class WorkPixel, int64_t white>
class QrNoiseGen : public QrNoiseGenCore<StoragePixel, QrNoiseGen<StoragePixel, WorkPixel, white>> {
public:
    static_assert(std::is_same_v<StoragePixel, float> && std::is_same_v<WorkPixel, float>,
        "noise is generated into plain float images");
    static constexpr float kWhite = float(white);

    float offset = 0.0f;
    float range = 0.05f;

    explicit QrNoiseGen(QrInterruptRecord* record = nullptr)
        : QrNoiseGenCore<StoragePixel, QrNoiseGen>(record)
    {
    }

    void fillRow(float* row, int32_t count, int32_t key) const
    {
        for (int32_t k = 0; k < count; ++k, key = this->nextKey(key))
            row[k] = this->clamped(float(QrHash::hash(key)) * range * QrHash::kUnit + offset, kWhite);
    }
};
