// An image held by the host: ARGB pixels at one of the three depths the
// effect API knows, in rows `stride()` bytes apart (tightly packed unless
// made otherwise). It is what the host feeds into a layer and what it hands
// back from a render.
#pragma once

#include <AE_EffectTypes.h>

#include <array>
#include <cstddef>
#include <memory>
#include <utility>

namespace Quarn::Host {

enum class Depth { Bits8, Bits16, Float };

// Bytes of one ARGB pixel.
std::size_t pixelSize(Depth depth);
// The world pixel format ('argb', 'ae16', 'ae32').
PF_PixelFormat pixelFormat(Depth depth);
// 8, 16 or 32, as the smart-render inputs count bits.
A_short bitDepth(Depth depth);

using Argb = std::array<float, 4>;  // alpha, red, green, blue in 0..1

// Rows laid out as the host's worlds lay them out: at least 48 bytes of
// padding a row, holding kWorldPadByte, and rows 16-byte aligned.
inline constexpr std::byte kWorldPadByte {0xA5};
std::size_t worldRowBytes(int width, Depth depth);

class HostImage {
public:
    HostImage() = default;
    // A black, transparent image.
    HostImage(int width, int height, Depth depth);
    // An image whose pixels are left as the memory holds them, for a caller
    // that writes every one.
    static HostImage uninitialised(int width, int height, Depth depth);
    // An uninitialised image whose rows are laid out as a world's (padding
    // set), so that a world can show its rows without copying them.
    static HostImage worldLayout(int width, int height, Depth depth);
    // An image over rows `stride` bytes apart at `data`, which `owner` keeps.
    HostImage(
        int width, int height, Depth depth, std::size_t stride, std::byte* data, std::shared_ptr<void> owner);

    // Copies are deep (and tightly packed); moves hand the pixels over.
    HostImage(const HostImage& other);
    HostImage(HostImage&& other) noexcept;
    HostImage& operator=(HostImage other) noexcept;

    int width() const { return width_; }
    int height() const { return height_; }
    Depth depth() const { return depth_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Bytes of the pixels of one row, and from one row to the next.
    std::size_t rowBytes() const { return width_ * pixelSize(depth_); }
    std::size_t stride() const { return stride_; }
    std::byte* data() { return data_; }
    const std::byte* data() const { return data_; }
    std::byte* row(int y) { return data_ + y * stride_; }
    const std::byte* row(int y) const { return data_ + y * stride_; }
    // What keeps the pixels alive, for a world that shows them.
    const std::shared_ptr<void>& owner() const { return owner_; }

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

    static HostImage allocate(int width, int height, Depth depth, std::size_t stride);

    int width_ = 0;
    int height_ = 0;
    Depth depth_ = Depth::Bits8;
    std::size_t stride_ = 0;
    std::byte* data_ = nullptr;
    std::shared_ptr<void> owner_;
};

}  // namespace Quarn::Host
