// An image held by the host: tightly packed ARGB pixels at one of the three
// depths the effect API knows. It is what the host feeds into a layer and
// what it reads back from a render.
#pragma once

#include <AE_EffectTypes.h>

#include <array>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace Quarn::Host {

enum class Depth { Bits8, Bits16, Float };

// Bytes of one ARGB pixel.
std::size_t pixelSize(Depth depth);
// The world pixel format ('argb', 'ae16', 'ae32').
PF_PixelFormat pixelFormat(Depth depth);
// 8, 16 or 32, as the smart-render inputs count bits.
A_short bitDepth(Depth depth);

using Argb = std::array<float, 4>;  // alpha, red, green, blue in 0..1

// Leaves new elements uninitialised, so that an image about to be
// overwritten entirely is not first filled with zeros.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
    template <typename U> struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <typename U> UninitialisedAllocator(const UninitialisedAllocator<U>&) { }
    template <typename U> void construct(U* p) { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... Args> void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

class HostImage {
public:
    HostImage() = default;
    // A black, transparent image.
    HostImage(int width, int height, Depth depth);
    // An image whose pixels are left as the memory holds them, for a caller
    // that writes every one.
    static HostImage uninitialised(int width, int height, Depth depth);

    int width() const { return width_; }
    int height() const { return height_; }
    Depth depth() const { return depth_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t rowBytes() const { return width_ * pixelSize(depth_); }
    std::byte* data() { return bytes_.data(); }
    const std::byte* data() const { return bytes_.data(); }

    // Channel c (0 alpha .. 3 blue) normalised: 8-bit / 255, 16-bit / 32768.
    float channel(int x, int y, int c) const;
    // Stores a normalised value: rounded and clamped for integer depths.
    void setChannel(int x, int y, int c, float value);
    Argb pixel(int x, int y) const;
    void setPixel(int x, int y, const Argb& argb);
    void fill(const Argb& argb);

    // The same picture at another depth.
    HostImage converted(Depth depth) const;

    // Copies from / to rows `stride` bytes apart in this image's depth.
    void readRows(const void* src, std::size_t stride);
    void writeRows(void* dst, std::size_t stride) const;

private:
    std::byte* at(int x, int y, int c);
    const std::byte* at(int x, int y, int c) const;

    int width_ = 0;
    int height_ = 0;
    Depth depth_ = Depth::Bits8;
    std::vector<std::byte, UninitialisedAllocator<std::byte>> bytes_;
};

}  // namespace Quarn::Host
