#pragma once
// Four-channel float arithmetic for the vector blur's inner loops: one pixel
// in one register, channels in the storage order (A, R, G, B for the host's
// images), so that gathering and depositing never shuffle channels.
#include <cstdint>
#include <cstring>
#include <type_traits>

using QrLanes = float __attribute__((vector_size(16)));

namespace QrLanesDetail {
using U8x4 = uint8_t __attribute__((vector_size(4)));
using U16x4 = uint16_t __attribute__((vector_size(8)));

template <class C>
inline QrLanes widen(const C* c)
{
    if constexpr (std::is_same_v<C, float>) {
        QrLanes v;
        std::memcpy(&v, c, sizeof(v));
        return v;
    } else if constexpr (std::is_same_v<C, uint16_t>) {
        U16x4 raw;
        std::memcpy(&raw, c, sizeof(raw));
        return __builtin_convertvector(raw, QrLanes);
    } else {
        static_assert(std::is_same_v<C, uint8_t>, "8-bit, 16-bit or float channels expected");
        U8x4 raw;
        std::memcpy(&raw, c, sizeof(raw));
        return __builtin_convertvector(raw, QrLanes);
    }
}
}  // namespace QrLanesDetail

// Any four-channel pixel as float lanes, each component's value unchanged
// (an 8-bit 200 becomes 200.0f).
template <class Pixel>
inline QrLanes qrLoadLanes(const Pixel& pixel)
{
    static_assert(Pixel::kChannels == 4, "four channels expected");
    return QrLanesDetail::widen(pixel.c);
}

inline QrLanes qrLoadFloats(const float* p) { return QrLanesDetail::widen(p); }

inline void qrStoreLanes(float* p, QrLanes v) { std::memcpy(p, &v, sizeof(v)); }

inline QrLanes qrSplat(float s) { return QrLanes{s, s, s, s}; }
