#pragma once
// Four-channel float arithmetic for the vector blur's inner loops: one pixel
// in one register, channels in the storage order (A, R, G, B for the host's
// images), so that gathering and depositing never shuffle channels.
//
// Widening 8-bit and 16-bit channels and storing them back are written with
// SSE2 where it is available: compilers turn the portable form into four
// scalar conversions, and the blur does this four times per path sample.
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using QrLanes = float __attribute__((vector_size(16)));

namespace QrLanesDetail {
using U8x4 = uint8_t __attribute__((vector_size(4)));
using U16x4 = uint16_t __attribute__((vector_size(8)));
using I32x4 = int32_t __attribute__((vector_size(16)));

template <class C> inline QrLanes widen(const C* c)
{
    if constexpr (std::is_same_v<C, float>) {
        QrLanes v;
        std::memcpy(&v, c, sizeof(v));
        return v;
    } else if constexpr (std::is_same_v<C, uint16_t>) {
#if defined(__SSE2__)
        const __m128i raw = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c));
        return QrLanes(_mm_cvtepi32_ps(_mm_unpacklo_epi16(raw, _mm_setzero_si128())));
#else
        U16x4 raw;
        std::memcpy(&raw, c, sizeof(raw));
        return __builtin_convertvector(raw, QrLanes);
#endif
    } else {
        static_assert(std::is_same_v<C, uint8_t>, "8-bit, 16-bit or float channels expected");
#if defined(__SSE2__)
        int32_t word;
        std::memcpy(&word, c, sizeof(word));
        const __m128i zero = _mm_setzero_si128();
        const __m128i raw = _mm_unpacklo_epi8(_mm_cvtsi32_si128(word), zero);
        return QrLanes(_mm_cvtepi32_ps(_mm_unpacklo_epi16(raw, zero)));
#else
        U8x4 raw;
        std::memcpy(&raw, c, sizeof(raw));
        return __builtin_convertvector(raw, QrLanes);
#endif
    }
}

// Truncation toward zero of values already inside the component's range.
inline I32x4 truncate(QrLanes v)
{
#if defined(__SSE2__)
    return I32x4(_mm_cvttps_epi32(__m128(v)));
#else
    return __builtin_convertvector(v, I32x4);
#endif
}

// Four integers in 0..255 or 0..65535 into their components.
template <class C> inline void narrow(I32x4 t, C* c)
{
#if defined(__SSE2__)
    const __m128i v = __m128i(t);
    if constexpr (sizeof(C) == 1) {
        const __m128i words = _mm_packs_epi32(v, v);
        const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(c, &bytes, sizeof bytes);
    } else {
        // Signed packing saturates at 32767: shift the range down and back.
        const __m128i bias = _mm_set1_epi32(32768);
        const __m128i words = _mm_packs_epi32(_mm_sub_epi32(v, bias), _mm_sub_epi32(v, bias));
        const __m128i raw = _mm_xor_si128(words, _mm_set1_epi16(-32768));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(c), raw);
    }
#else
    for (int i = 0; i < 4; ++i)
        c[i] = C(t[i]);
#endif
}
}  // namespace QrLanesDetail

// Any four-channel pixel as float lanes, each component's value unchanged
// (an 8-bit 200 becomes 200.0f).
template <class Pixel> inline QrLanes qrLoadLanes(const Pixel& pixel)
{
    static_assert(Pixel::kChannels == 4, "four channels expected");
    return QrLanesDetail::widen(pixel.c);
}

inline QrLanes qrLoadFloats(const float* p)
{
    return QrLanesDetail::widen(p);
}

inline void qrStoreLanes(float* p, QrLanes v)
{
    std::memcpy(p, &v, sizeof(v));
}

inline QrLanes qrSplat(float s)
{
    return QrLanes {s, s, s, s};
}

// Stores lanes into a four-channel pixel as the storage conversion does:
// integers clamped to black..white (NaN to black) and truncated, floats as
// they are.
template <class Pixel> inline void qrStorePixel(Pixel& pixel, QrLanes v)
{
    static_assert(Pixel::kChannels == 4, "four channels expected");
    using C = std::remove_reference_t<decltype(pixel.c[0])>;
    if constexpr (std::is_same_v<C, float>) {
        std::memcpy(pixel.c, &v, sizeof(v));
    } else {
        const QrLanes black = qrSplat(float(Pixel::kBlack)), white = qrSplat(float(Pixel::kWhite));
        // NaN fails both comparisons and ends up black.
        v = v > black ? v : black;
        v = v < white ? v : white;
        static_assert(sizeof(C) <= 2 && Pixel::kBlack >= 0 && Pixel::kWhite <= 65535,
            "8-bit or 16-bit unsigned channels expected");
        QrLanesDetail::narrow(QrLanesDetail::truncate(v), pixel.c);
    }
}
