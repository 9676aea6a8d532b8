#include "qrHostImage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace Quarn::Host {

std::size_t pixelSize(Depth depth)
{
    switch (depth) {
    case Depth::Bits8: return sizeof(PF_Pixel8);
    case Depth::Bits16: return sizeof(PF_Pixel16);
    case Depth::Float: return sizeof(PF_PixelFloat);
    }
    return 0;
}

PF_PixelFormat pixelFormat(Depth depth)
{
    switch (depth) {
    case Depth::Bits8: return PF_PixelFormat_ARGB32;
    case Depth::Bits16: return PF_PixelFormat_ARGB64;
    case Depth::Float: return PF_PixelFormat_ARGB128;
    }
    return PF_PixelFormat_INVALID;
}

A_short bitDepth(Depth depth)
{
    switch (depth) {
    case Depth::Bits8: return 8;
    case Depth::Bits16: return 16;
    case Depth::Float: return 32;
    }
    return 0;
}

std::size_t worldRowBytes(int width, Depth depth)
{
    const std::size_t used = width * pixelSize(depth);
    return (used + 48 + 15) / 16 * 16;
}

HostImage::HostImage(int width, int height, Depth depth) : HostImage(uninitialised(width, height, depth))
{
    std::fill_n(data_, std::size_t(height_) * stride_, std::byte {0});
}

HostImage::HostImage(
    int width, int height, Depth depth, std::size_t stride, std::byte* data, std::shared_ptr<void> owner)
    : width_(width), height_(height), depth_(depth), stride_(stride), data_(data), owner_(std::move(owner))
{
}

HostImage::HostImage(const HostImage& other)
    : HostImage(uninitialised(other.width_, other.height_, other.depth_))
{
    for (int y = 0; y < height_; ++y)
        std::memcpy(row(y), other.row(y), rowBytes());
}

HostImage::HostImage(HostImage&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      depth_(other.depth_),
      stride_(std::exchange(other.stride_, 0)),
      data_(std::exchange(other.data_, nullptr)),
      owner_(std::move(other.owner_))
{
}

HostImage& HostImage::operator=(HostImage other) noexcept
{
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(depth_, other.depth_);
    std::swap(stride_, other.stride_);
    std::swap(data_, other.data_);
    std::swap(owner_, other.owner_);
    return *this;
}

HostImage HostImage::allocate(int width, int height, Depth depth, std::size_t stride)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative image size");
    // Left uninitialised, so that an image about to be overwritten entirely
    // is not first filled with zeros.
    std::shared_ptr<std::byte[]> bytes(new std::byte[std::max<std::size_t>(1, std::size_t(height) * stride)]);
    std::byte* data = bytes.get();
    return HostImage(width, height, depth, stride, data, std::move(bytes));
}

HostImage HostImage::uninitialised(int width, int height, Depth depth)
{
    return allocate(width, height, depth, width * pixelSize(depth));
}

HostImage HostImage::worldLayout(int width, int height, Depth depth)
{
    HostImage image = allocate(width, height, depth, worldRowBytes(width, depth));
    for (int y = 0; y < height; ++y)
        std::fill(image.row(y) + image.rowBytes(), image.row(y) + image.stride_, kWorldPadByte);
    return image;
}

std::byte* HostImage::at(int x, int y, int c)
{
    const std::size_t channelSize = pixelSize(depth_) / 4;
    return row(y) + (x * 4 + c) * channelSize;
}

const std::byte* HostImage::at(int x, int y, int c) const
{
    return const_cast<HostImage*>(this)->at(x, y, c);
}

float HostImage::channel(int x, int y, int c) const
{
    const std::byte* p = at(x, y, c);
    switch (depth_) {
    case Depth::Bits8: return std::to_integer<int>(*p) / float(PF_MAX_CHAN8);
    case Depth::Bits16: {
        std::uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v / float(PF_MAX_CHAN16);
    }
    case Depth::Float: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    }
    return 0.0f;
}

void HostImage::setChannel(int x, int y, int c, float value)
{
    std::byte* p = at(x, y, c);
    switch (depth_) {
    case Depth::Bits8: *p = std::byte(std::lround(std::clamp(value, 0.0f, 1.0f) * PF_MAX_CHAN8)); return;
    case Depth::Bits16: {
        const auto v = std::uint16_t(std::lround(std::clamp(value, 0.0f, 1.0f) * PF_MAX_CHAN16));
        std::memcpy(p, &v, sizeof v);
        return;
    }
    case Depth::Float: std::memcpy(p, &value, sizeof value); return;
    }
}

Argb HostImage::pixel(int x, int y) const
{
    return {channel(x, y, 0), channel(x, y, 1), channel(x, y, 2), channel(x, y, 3)};
}

void HostImage::setPixel(int x, int y, const Argb& argb)
{
    for (int c = 0; c < 4; ++c)
        setChannel(x, y, c, argb[c]);
}

void HostImage::fill(const Argb& argb)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            setPixel(x, y, argb);
}

HostImage HostImage::converted(Depth depth) const
{
    if (depth == depth_)
        return *this;
    HostImage out = uninitialised(width_, height_, depth);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.setPixel(x, y, pixel(x, y));
    return out;
}

void HostImage::readRows(const void* src, std::size_t stride)
{
    const auto* from = static_cast<const std::byte*>(src);
    for (int y = 0; y < height_; ++y)
        std::memcpy(row(y), from + y * stride, rowBytes());
}

void HostImage::writeRows(void* dst, std::size_t stride) const
{
    auto* to = static_cast<std::byte*>(dst);
    for (int y = 0; y < height_; ++y)
        std::memcpy(to + y * stride, row(y), rowBytes());
}

}  // namespace Quarn::Host
