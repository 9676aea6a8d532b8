#pragma once
// The vector blur's busiest loops, one table per channel type: gathering a
// batch of up to eight paths tap by tap, their running means, and their
// deposits. Two tables exist, four-lane (any processor) and eight-lane
// (AVX2, qrVectorBlurWide.h); qrVectorBlurKernels<C>() picks one when a run
// is set up. Both give the same bytes: every lane sees the same operations in
// the same order (no fused multiply-add).
//
// Layout shared by all kernels: tap i of path p at out[i * 8 + p]; taps'
// four bilinear weights w[4 * i .. 4 * i + 3], each splat over four lanes;
// input taps at start + offsets[i] (bytes, `down` to the next row); colour
// deposits of tap i on rows tops[i] and bottoms[i] (floats, already moved by
// the tap's column offset), path p at column column[p] (floats).
#include "blur/qrVectorBlurLanes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

template <class C> struct QrVectorBlurKernels {
    static constexpr int kBatch = 8;  // paths traced side by side

    // Paths starting on n neighbouring pixels, the first at `start`.
    void (*gatherAdjacent)(const char* start, int32_t n, const std::ptrdiff_t* offsets, std::size_t count,
        std::ptrdiff_t down, const QrLanes* w, QrLanes* out);
    // Paths anywhere on a row.
    void (*gatherApart)(const char* const* start, int32_t n, const std::ptrdiff_t* offsets, std::size_t count,
        std::ptrdiff_t down, const QrLanes* w, QrLanes* out);
    // Each tap's two rows given apart: tap i of path p reads at tops[i] and
    // bottoms[i] plus column[p] + dx[i] (bytes).
    void (*gatherRows)(const char* const* tops, const char* const* bottoms, const std::ptrdiff_t* column,
        int32_t n, const std::ptrdiff_t* dx, std::size_t count, const QrLanes* w, QrLanes* out);
    // Replaces samples 0 .. count - window of all eight paths by the means of
    // `window` consecutive samples.
    void (*runningMeans)(QrLanes* s, int32_t count, int32_t window);
    // Deposits of paths anywhere on a row.
    void (*depositApart)(float* const* tops, float* const* bottoms, const std::ptrdiff_t* column, int32_t n,
        int32_t count, const QrLanes* w, const QrLanes* mean);
    // Deposits of paths on n neighbouring pixels, the first at column
    // `column`: neighbours share half of their pixels, and the two shares
    // are added together before they go into the accumulator.
    void (*depositAdjacent)(float* const* tops, float* const* bottoms, std::ptrdiff_t column, int32_t n,
        int32_t count, const QrLanes* w, const QrLanes* mean);
};

// The table for this processor: eight lanes where AVX2 is present and
// qrWideLanesEnabled() (tests switch it off to compare).
template <class C> const QrVectorBlurKernels<C>& qrVectorBlurKernels();
bool& qrWideLanesEnabled();

namespace QrLaneKernels {

template <class C> inline QrLanes at(const char* p)
{
    C c[4];
    std::memcpy(c, p, sizeof c);
    return QrLanesDetail::widen(c);
}

inline void add(float* c, QrLanes v)
{
    qrStoreLanes(c, qrLoadFloats(c) + v);
}

template <class C> inline QrLanes bilinear(const char* top, const char* bottom, const QrLanes* w)
{
    constexpr std::ptrdiff_t px = 4 * sizeof(C);
    return at<C>(top) * w[0] + at<C>(top + px) * w[1] + at<C>(bottom) * w[2] + at<C>(bottom + px) * w[3];
}

template <class C>
void gatherAdjacent(const char* start, int32_t n, const std::ptrdiff_t* offsets, std::size_t count,
    std::ptrdiff_t down, const QrLanes* w, QrLanes* out)
{
    constexpr std::ptrdiff_t px = 4 * sizeof(C);
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8) {
        // Each pixel's right-hand neighbour is the next path's pixel.
        const char* q = start + offsets[i];
        QrLanes top = at<C>(q), bottom = at<C>(q + down);
        for (int32_t p = 0; p < n; ++p) {
            q += px;
            const QrLanes nextTop = at<C>(q), nextBottom = at<C>(q + down);
            out[p] = top * w[0] + nextTop * w[1] + bottom * w[2] + nextBottom * w[3];
            top = nextTop;
            bottom = nextBottom;
        }
    }
}

template <class C>
void gatherApart(const char* const* start, int32_t n, const std::ptrdiff_t* offsets, std::size_t count,
    std::ptrdiff_t down, const QrLanes* w, QrLanes* out)
{
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8)
        for (int32_t p = 0; p < n; ++p) {
            const char* q = start[p] + offsets[i];
            out[p] = bilinear<C>(q, q + down, w);
        }
}

template <class C>
void gatherRows(const char* const* tops, const char* const* bottoms, const std::ptrdiff_t* column, int32_t n,
    const std::ptrdiff_t* dx, std::size_t count, const QrLanes* w, QrLanes* out)
{
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8)
        for (int32_t p = 0; p < n; ++p)
            out[p] = bilinear<C>(tops[i] + (column[p] + dx[i]), bottoms[i] + (column[p] + dx[i]), w);
}

// One running sum per path: the entering sample is added, the leaving one
// subtracted. The paths' sums are independent chains, so B of them run side
// by side; every path gets the same arithmetic, in the same order, whatever
// B is.
template <int B> void runningMeans(QrLanes* s, int32_t count, int32_t window)
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

inline void depositApart(float* const* tops, float* const* bottoms, const std::ptrdiff_t* column, int32_t n,
    int32_t count, const QrLanes* w, const QrLanes* mean)
{
    for (int32_t i = 0; i < count; ++i, w += 4, mean += 8)
        for (int32_t p = 0; p < n; ++p) {
            float* c = tops[i] + column[p];
            float* b = bottoms[i] + column[p];
            add(c, mean[p] * w[0]);
            add(c + 4, mean[p] * w[1]);
            add(b, mean[p] * w[2]);
            add(b + 4, mean[p] * w[3]);
        }
}

// Pixels 1 .. n - 1 of a row of n neighbouring paths' deposits at `c`
// (pixel j takes mean[j - 1] * right + mean[j] * left) from `from` on.
inline void depositShared(
    float* c, const QrLanes* mean, int32_t from, int32_t n, const QrLanes& left, const QrLanes& right)
{
    for (int32_t j = from; j < n; ++j)
        add(c + 4 * j, mean[j - 1] * right + mean[j] * left);
}

inline void depositAdjacent(float* const* tops, float* const* bottoms, std::ptrdiff_t column, int32_t n,
    int32_t count, const QrLanes* w, const QrLanes* mean)
{
    for (int32_t i = 0; i < count; ++i, w += 4, mean += 8) {
        float* c = tops[i] + column;
        float* b = bottoms[i] + column;
        add(c, mean[0] * w[0]);
        add(b, mean[0] * w[2]);
        depositShared(c, mean, 1, n, w[0], w[1]);
        depositShared(b, mean, 1, n, w[2], w[3]);
        add(c + 4 * n, mean[n - 1] * w[1]);
        add(b + 4 * n, mean[n - 1] * w[3]);
    }
}

template <class C>
constexpr QrVectorBlurKernels<C> kFourLanes {
    &gatherAdjacent<C>, &gatherApart<C>, &gatherRows<C>, &runningMeans<8>, &depositApart, &depositAdjacent};

}  // namespace QrLaneKernels
