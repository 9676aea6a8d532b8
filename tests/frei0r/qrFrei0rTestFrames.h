#pragma once
// Frames for the frei0r tests, as a frei0r host hands them over: packed
// 8-bit RGBA, top row first.
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

namespace QrFrei0rTest {

using Frame = std::vector<uint32_t>;

// The four bytes of pixel (x, y), writable when the frame is.
template <class F> auto* pixelBytes(F& f, int w, int x, int y)
{
    using Byte = std::conditional_t<std::is_const_v<F>, const uint8_t, uint8_t>;
    return reinterpret_cast<Byte*>(f.data()) + 4 * (size_t(y) * size_t(w) + size_t(x));
}

// Every byte distinct from its neighbours: R = x, G = y, B = x + y, A = 255 - x.
inline Frame gradientFrame(int w, int h)
{
    Frame f(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = pixelBytes(f, w, x, y);
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(x + y);
            p[3] = uint8_t(255 - x);
        }
    return f;
}

// An opaque dark street with a row of bright lamps: rain and highlight
// diffusion both have something to show.
inline Frame nightFrame(int w, int h, uint8_t alpha = 255)
{
    Frame f(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = pixelBytes(f, w, x, y);
            const bool lamp = (x % 16 < 3) && (y % 24 < 3);
            const uint8_t v = lamp ? 255 : uint8_t(20 + (x + 2 * y) % 40);
            p[0] = v;
            p[1] = v;
            p[2] = uint8_t(lamp ? 255 : v + 10);
            p[3] = alpha;
        }
    return f;
}

// Pixels whose colour differs by more than `tolerance` in any channel.
inline int differingPixels(const Frame& a, const Frame& b, int tolerance = 0)
{
    int count = 0;
    const auto* pa = reinterpret_cast<const uint8_t*>(a.data());
    const auto* pb = reinterpret_cast<const uint8_t*>(b.data());
    for (size_t i = 0; i < a.size(); ++i) {
        bool differs = false;
        for (int c = 0; c < 3; ++c)
            differs |= std::abs(int(pa[4 * i + c]) - int(pb[4 * i + c])) > tolerance;
        count += differs;
    }
    return count;
}

}  // namespace QrFrei0rTest
