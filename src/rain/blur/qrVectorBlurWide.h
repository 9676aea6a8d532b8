#pragma once
// The eight-lane table of the vector blur's kernels (qrVectorBlurKernels.h),
// for processors with AVX2: two neighbouring paths (two pixels of four
// channels) per register. Every lane sees the same operations in the same
// order as in the four-lane kernels, so the results are the same to the last
// bit on any processor. Built only where the compiler can target AVX2.
#include "blur/qrVectorBlurKernels.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define QR_WIDE_LANES 1
#define QR_WIDE __attribute__((target("avx2")))

namespace QrWide {

using F8 = float __attribute__((vector_size(32)));

QR_WIDE inline F8 splat(const QrLanes& w)
{
    const float s = w[0];
    return F8 {s, s, s, s, s, s, s, s};
}

// Two neighbouring pixels of channel type C as eight floats.
template <class C> QR_WIDE inline F8 load2(const char* p)
{
    if constexpr (std::is_same_v<C, float>) {
        F8 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else if constexpr (std::is_same_v<C, uint16_t>) {
        const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return F8(_mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(raw)));
    } else {
        static_assert(std::is_same_v<C, uint8_t>, "8-bit, 16-bit or float channels expected");
        const __m128i raw = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        return F8(_mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(raw)));
    }
}

QR_WIDE inline F8 loadF(const void* p)
{
    F8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

QR_WIDE inline void storeF(void* p, F8 v)
{
    std::memcpy(p, &v, sizeof v);
}

// Two lanes' weights side by side: left for the first pixel, right for the
// second.
QR_WIDE inline F8 pair(const QrLanes& left, const QrLanes& right)
{
    return F8(_mm256_set_m128(__m128(right), __m128(left)));
}

QR_WIDE inline QrLanes low(F8 v)
{
    return QrLanes(_mm256_castps256_ps128(__m256(v)));
}
QR_WIDE inline QrLanes high(F8 v)
{
    return QrLanes(_mm256_extractf128_ps(__m256(v), 1));
}

// Pairs of neighbouring paths; a lone last path as the four-lane kernel
// takes it.
template <class C>
QR_WIDE void gatherAdjacent(const char* start, int32_t n, const std::ptrdiff_t* offsets, std::size_t count,
    std::ptrdiff_t down, const QrLanes* w, QrLanes* out)
{
    constexpr std::ptrdiff_t px = 4 * sizeof(C);
    const int32_t paired = n - n % 2;
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8) {
        const F8 w0 = splat(w[0]), w1 = splat(w[1]), w2 = splat(w[2]), w3 = splat(w[3]);
        const char* q = start + offsets[i];
        for (int32_t p = 0; p < paired; p += 2) {
            const char* a = q + p * px;
            storeF(out + p,
                load2<C>(a) * w0 + load2<C>(a + px) * w1 + load2<C>(a + down) * w2 +
                    load2<C>(a + down + px) * w3);
        }
        if (paired < n) {
            const char* a = q + paired * px;
            out[paired] = QrLaneKernels::bilinear<C>(a, a + down, w);
        }
    }
}

// Each tap reads a pixel and its right-hand neighbour in one go, twice; the
// four products are added in the order of the four-lane kernel.
template <class C>
QR_WIDE void gatherApart(const char* const* start, int32_t n, const std::ptrdiff_t* offsets,
    std::size_t count, std::ptrdiff_t down, const QrLanes* w, QrLanes* out)
{
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8) {
        const F8 top = pair(w[0], w[1]), bottom = pair(w[2], w[3]);
        for (int32_t p = 0; p < n; ++p) {
            const char* q = start[p] + offsets[i];
            const F8 t = load2<C>(q) * top, b = load2<C>(q + down) * bottom;
            out[p] = low(t) + high(t) + low(b) + high(b);
        }
    }
}

template <class C>
QR_WIDE void gatherRows(const char* const* tops, const char* const* bottoms, const std::ptrdiff_t* column,
    int32_t n, const std::ptrdiff_t* dx, std::size_t count, const QrLanes* w, QrLanes* out)
{
    for (std::size_t i = 0; i < count; ++i, w += 4, out += 8) {
        const F8 top = pair(w[0], w[1]), bottom = pair(w[2], w[3]);
        for (int32_t p = 0; p < n; ++p) {
            const F8 t = load2<C>(tops[i] + (column[p] + dx[i])) * top;
            const F8 b = load2<C>(bottoms[i] + (column[p] + dx[i])) * bottom;
            out[p] = low(t) + high(t) + low(b) + high(b);
        }
    }
}

// Four pairs of the eight interleaved paths at once.
QR_WIDE inline void runningMeans(QrLanes* s, int32_t count, int32_t window)
{
    if (window <= 1)
        return;
    const float r = 1.0f / static_cast<float>(window);
    const F8 reciprocal {r, r, r, r, r, r, r, r};
    F8 sum[4];
    for (int p = 0; p < 4; ++p) {
        sum[p] = F8 {};
        for (int32_t i = 0; i < window; ++i)
            sum[p] += loadF(s + i * 8 + 2 * p);
    }
    const int32_t means = count - window + 1;
    for (int32_t i = 0; i < means; ++i)
        for (int p = 0; p < 4; ++p) {
            const F8 mean = sum[p] * reciprocal;
            if (i + 1 < means)
                sum[p] += loadF(s + (i + window) * 8 + 2 * p) - loadF(s + i * 8 + 2 * p);
            storeF(s + i * 8 + 2 * p, mean);
        }
}

// A pixel and its right-hand neighbour in one go, on both rows.
QR_WIDE inline void depositApart(float* const* tops, float* const* bottoms, const std::ptrdiff_t* column,
    int32_t n, int32_t count, const QrLanes* w, const QrLanes* mean)
{
    for (int32_t i = 0; i < count; ++i, w += 4, mean += 8) {
        const F8 top = pair(w[0], w[1]), bottom = pair(w[2], w[3]);
        for (int32_t p = 0; p < n; ++p) {
            const F8 m = F8(_mm256_set_m128(__m128(mean[p]), __m128(mean[p])));
            float* c = tops[i] + column[p];
            float* b = bottoms[i] + column[p];
            storeF(c, loadF(c) + m * top);
            storeF(b, loadF(b) + m * bottom);
        }
    }
}

// The shared pixels 1 .. n - 1 at `c`, two at a time; returns the first
// pixel left over.
QR_WIDE inline int32_t depositShared(
    float* c, const QrLanes* mean, int32_t n, const QrLanes& left, const QrLanes& right)
{
    const F8 l = splat(left), r = splat(right);
    int32_t j = 1;
    for (; j + 1 < n; j += 2) {
        float* p = c + 4 * j;
        storeF(p, loadF(p) + (loadF(mean + j - 1) * r + loadF(mean + j) * l));
    }
    return j;
}

QR_WIDE inline void depositAdjacent(float* const* tops, float* const* bottoms, std::ptrdiff_t column,
    int32_t n, int32_t count, const QrLanes* w, const QrLanes* mean)
{
    using QrLaneKernels::add;
    for (int32_t i = 0; i < count; ++i, w += 4, mean += 8) {
        float* c = tops[i] + column;
        float* b = bottoms[i] + column;
        add(c, mean[0] * w[0]);
        add(b, mean[0] * w[2]);
        QrLaneKernels::depositShared(c, mean, depositShared(c, mean, n, w[0], w[1]), n, w[0], w[1]);
        QrLaneKernels::depositShared(b, mean, depositShared(b, mean, n, w[2], w[3]), n, w[2], w[3]);
        add(c + 4 * n, mean[n - 1] * w[1]);
        add(b + 4 * n, mean[n - 1] * w[3]);
    }
}

template <class C>
constexpr QrVectorBlurKernels<C> kEightLanes {
    &gatherAdjacent<C>, &gatherApart<C>, &gatherRows<C>, &runningMeans, &depositApart, &depositAdjacent};

}  // namespace QrWide
#endif
