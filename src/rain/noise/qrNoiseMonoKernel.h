#pragma once
// One noise value per pixel, shared by all colour channels, with the cut-off
// that keeps only the strongest noise. The noise processor's monochrome mode
// and the rain's fused highlight pass both evaluate noise through this, so
// the two can never drift apart.
#include "noise/qrHash.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

struct QrNoiseMonoKernel {
    float lo = 0.0f;  // lower noise value, in work units
    float range = 0.0f;  // upper minus lower noise value, in work units
    float threshold = 0.0f;  // |noise| at or below this is removed
    float stretch = 1.0f;  // maps what survives back onto 0..largest
    bool cutoffActive = false;
    // Hashes quietFirst..quietLast give exactly 0 after the cut-off, so a
    // caller may skip the float work for them (most pixels at a high cut-off).
    int32_t quietFirst = 1, quietLast = 0;

    // Ranges are in units of white (0..1); `white` scales them to work units.
    // Means are taken in double so three equal ranges give that range exactly.
    static QrNoiseMonoKernel make(const float minimum[3], const float maximum[3], float cutoff, float white)
    {
        QrNoiseMonoKernel k;
        k.lo = static_cast<float>((double(minimum[0]) + minimum[1] + minimum[2]) / 3.0) * white;
        const float hi = static_cast<float>((double(maximum[0]) + maximum[1] + maximum[2]) / 3.0) * white;
        k.range = hi - k.lo;
        k.cutoffActive = cutoff > 0.0f;
        if (k.cutoffActive) {
            const float largest = std::max(std::fabs(hi), std::fabs(k.lo));
            k.threshold = largest * cutoff;
            k.stretch = largest / (largest - k.threshold);
        }
        k.findQuietHashes();
        return k;
    }

    // The noise before the cut-off for a pixel key, and for its hash.
    float raw(int32_t key) const { return rawFromHash(QrHash::hash(key)); }
    float rawFromHash(int32_t h) const { return static_cast<float>(h) * range * QrHash::kUnit + lo; }
    bool isQuiet(int32_t h) const { return h >= quietFirst && h <= quietLast; }

    // Removes noise inside +-threshold and stretches the rest back out.
    float cut(float v) const
    {
        if (!cutoffActive)
            return v;
        if (v >= 0.0f) {
            v = (v - threshold) * stretch;
            return v > 0.0f ? v : 0.0f;
        }
        v = (v + threshold) * stretch;
        return v < 0.0f ? v : 0.0f;
    }

    float value(int32_t key) const { return cut(raw(key)); }

private:
    // With a non-negative range the noise never decreases with the hash (each
    // float step rounds monotonically), so the hashes that give 0 form one
    // interval, found by bisection at both ends.
    void findQuietHashes()
    {
        if (!(range >= 0.0f))
            return;
        auto firstWhere = [](auto predicate) {  // smallest h with predicate(h), or 2^31
            int64_t low = 0, high = int64_t(1) << 31;
            while (low < high) {
                const int64_t mid = (low + high) / 2;
                if (predicate(int32_t(mid)))
                    high = mid;
                else
                    low = mid + 1;
            }
            return low;
        };
        const int64_t firstPositive = firstWhere([this](int32_t h) { return cut(rawFromHash(h)) > 0.0f; });
        const int64_t firstNotNegative =
            firstWhere([this](int32_t h) { return !(cut(rawFromHash(h)) < 0.0f); });
        if (firstNotNegative < firstPositive) {
            quietFirst = int32_t(firstNotNegative);
            quietLast = int32_t(firstPositive - 1);
        }
    }
};
