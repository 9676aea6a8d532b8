#pragma once
// Running means along the samples of vector blur paths.
#include "blur/qrVectorBlurLanes.h"

#include <cstdint>

// For each of B interleaved paths (path p's sample i at s[i * B + p]),
// replaces samples 0 .. count - window by the means of `window` consecutive
// samples, the i-th mean covering samples i .. i + window - 1. One running
// sum per path: the entering sample is added, the leaving one subtracted.
// The paths' sums are independent chains, so B of them run side by side;
// every path gets the same arithmetic, in the same order, whatever B is.
template <int B>
inline void qrRunningMeans(QrLanes* s, int32_t count, int32_t window)
{
    if (window <= 1)
        return;
    const float reciprocal = 1.0f / static_cast<float>(window);
    QrLanes sum[B];
    for (int p = 0; p < B; ++p) {
        sum[p] = qrSplat(0.0f);
        for (int32_t i = 0; i < window; ++i)
            sum[p] += s[i * B + p];
    }
    const int32_t means = count - window + 1;
    for (int32_t i = 0; i < means; ++i)
        for (int p = 0; p < B; ++p) {
            const QrLanes mean = sum[p] * reciprocal;
            if (i + 1 < means)
                sum[p] += s[(i + window) * B + p] - s[i * B + p];
            s[i * B + p] = mean;
        }
}
