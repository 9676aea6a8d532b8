// How the host's pixels map to a file's and move to and from it: the
// channel type of each host depth, where a file's colour and alpha
// channels are, and the bands of rows files are read and written in.
#pragma once

#include "qrHostImage.h"

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace Quarn::Cli::FilePixels {

using OIIO::TypeDesc;

// How one host depth stores a channel and how it maps to file values.
template <typename Channel> struct Store;

template <> struct Store<std::uint8_t> {
    static constexpr Host::Depth depth = Host::Depth::Bits8;
    static TypeDesc fileType() { return TypeDesc::UINT8; }
    static std::uint8_t opaque() { return 255; }
    static std::uint8_t fromFile(std::uint8_t v) { return v; }
    static std::uint8_t toFile(std::uint8_t v) { return v; }
};

// 16-bit hosts count 0..32768; files count 0..65535. Both ways round.
template <> struct Store<std::uint16_t> {
    static constexpr Host::Depth depth = Host::Depth::Bits16;
    static TypeDesc fileType() { return TypeDesc::UINT16; }
    static std::uint16_t opaque() { return 32768; }
    static std::uint16_t fromFile(std::uint16_t v)
    {
        return std::uint16_t((std::uint32_t(v) * 32768u + 32767u) / 65535u);
    }
    static std::uint16_t toFile(std::uint16_t v)
    {
        const std::uint32_t h = std::min<std::uint32_t>(v, 32768u);
        return std::uint16_t((h * 65535u + 16384u) / 32768u);
    }
};

template <> struct Store<float> {
    static constexpr Host::Depth depth = Host::Depth::Float;
    static TypeDesc fileType() { return TypeDesc::FLOAT; }
    static float opaque() { return 1.0f; }
    static float fromFile(float v) { return v; }
    static float toFile(float v) { return v; }
};

// Where the file's channels come from: grey or RGB, with or without alpha.
struct ChannelMap {
    int count;
    int rgb[3];
    int alpha;  // -1: none
};

inline ChannelMap channelMap(const OIIO::ImageSpec& spec)
{
    const int n = spec.nchannels;
    if (n <= 2)
        return {n, {0, 0, 0}, n == 2 ? 1 : -1};
    const int alpha = spec.alpha_channel >= 0 ? spec.alpha_channel : (n >= 4 ? 3 : -1);
    return {n, {0, 1, 2}, alpha};
}

// Files move in bands of rows of about this many bytes: the conversion to
// and from the host's ARGB order needs no whole-frame copy, and a band is
// still long enough for the EXR and TIFF codecs to work on its blocks in
// parallel.
constexpr std::size_t kBandBytes = std::size_t(8) << 20;

// Bands start and end on whole TIFF strips (OpenImageIO writes 32 rows a
// strip) and EXR blocks (up to 32 rows): TIFF compresses strips in
// parallel only for such bands.
constexpr int kBandRowMultiple = 64;

inline int bandRows(std::size_t fileRowBytes, int height, int multiple = kBandRowMultiple, std::size_t budget = kBandBytes)
{
    const std::size_t step = std::size_t(std::max(1, multiple));
    const std::size_t rows = budget / std::max<std::size_t>(1, fileRowBytes);
    const std::size_t whole = std::max(step, rows / step * step);
    return int(std::min<std::size_t>(whole, std::size_t(std::max(1, height))));
}

inline const char* depthName(Host::Depth depth)
{
    switch (depth) {
    case Host::Depth::Bits8: return "8-bit";
    case Host::Depth::Bits16: return "16-bit";
    case Host::Depth::Float: return "float";
    }
    return "";
}

// OpenImageIO compresses and decompresses the strips of a TIFF file in
// parallel only when its thread pool has two workers or more besides the
// calling thread, which at its default (one thread a core) a 2-core
// machine does not have. OpenEXR keeps its own pool ("exr_threads").
void useCodecThreads();

}  // namespace Quarn::Cli::FilePixels
