#include "qrImageFile.h"

#include "qrCliError.h"

#include <OpenImageIO/imageio.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace Quarn::Cli {

namespace {

namespace fs = std::filesystem;
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

ChannelMap channelMap(const OIIO::ImageSpec& spec)
{
    const int n = spec.nchannels;
    if (n <= 2)
        return {n, {0, 0, 0}, n == 2 ? 1 : -1};
    const int alpha = spec.alpha_channel >= 0 ? spec.alpha_channel : (n >= 4 ? 3 : -1);
    return {n, {0, 1, 2}, alpha};
}

constexpr int kPngFilterUp = 32;  // libpng's PNG_FILTER_UP

// TIFF and EXR compression named as OpenImageIO names it: level 0 stores
// the pixels uncompressed (OpenImageIO would read "zip:0" as its default
// level), other levels deflate ("zip") at that level.
std::string deflateCompression(const std::optional<int>& level, const char* unset)
{
    if (!level)
        return unset;
    return *level == 0 ? "none" : "zip:" + std::to_string(*level);
}

// The compression of PNG, TIFF and EXR files; all of them lossless. PNG
// sets its deflate level through its own attribute.
void setCompression(OIIO::ImageSpec& spec, const std::string& format, const std::optional<int>& level)
{
    if (format == "png") {
        spec.attribute("png:compressionLevel", level.value_or(kDefaultPngCompression));
        // The "Up" row filter alone: on rendered frames it gives smaller files
        // at every level than libpng's per-row choice among all five filters,
        // in a third less time.
        spec.attribute("png:filter", kPngFilterUp);
    } else if (format == "tiff") {
        spec.attribute("compression", deflateCompression(level, kDefaultTiffCompression));
    } else if (format == "openexr") {
        spec.attribute("compression", deflateCompression(level, kDefaultExrCompression));
    }
}

// OpenImageIO compresses and decompresses the strips of a TIFF file in
// parallel only when its thread pool has two workers or more besides the
// calling thread, which at its default (one thread a core) a 2-core
// machine does not have. OpenEXR keeps its own pool ("exr_threads").
void useCodecThreads()
{
    static std::once_flag once;
    std::call_once(once, [] { OIIO::attribute("threads", std::max(3, int(std::thread::hardware_concurrency()))); });
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

int bandRows(std::size_t fileRowBytes, int height, int multiple = kBandRowMultiple)
{
    const std::size_t step = std::size_t(std::max(1, multiple));
    const std::size_t rows = kBandBytes / std::max<std::size_t>(1, fileRowBytes);
    const std::size_t whole = std::max(step, rows / step * step);
    return int(std::min<std::size_t>(whole, std::size_t(std::max(1, height))));
}

// Reads rows [y, end) of the file's first image as `type`. Tiled files are
// read by whole rows of tiles (bands a multiple of the tile height):
// OpenImageIO 2.4 crashes reading scanlines of a tiled OpenEXR file.
bool readRows(OIIO::ImageInput& in, int y, int end, TypeDesc type, void* data)
{
    const OIIO::ImageSpec& spec = in.spec();
    if (spec.tile_width > 0)
        return in.read_tiles(0, 0, spec.x, spec.x + spec.width, spec.y + y, spec.y + end, spec.z,
            spec.z + std::max(1, spec.depth), 0, spec.nchannels, type, data);
    return in.read_scanlines(0, 0, spec.y + y, spec.y + end, 0, 0, spec.nchannels, type, data);
}

template <typename Channel>
void fillFromFile(Channel* argb, const Channel* in, std::size_t pixels, const ChannelMap& map)
{
    for (std::size_t i = 0; i < pixels; ++i, in += map.count, argb += 4) {
        argb[0] = map.alpha >= 0 ? Store<Channel>::fromFile(in[map.alpha]) : Store<Channel>::opaque();
        for (int c = 0; c < 3; ++c)
            argb[c + 1] = Store<Channel>::fromFile(in[map.rgb[c]]);
    }
}

template <typename Channel> Host::HostImage readAs(OIIO::ImageInput& in, const std::string& path)
{
    const OIIO::ImageSpec& spec = in.spec();
    const ChannelMap map = channelMap(spec);
    // Laid out as the host's worlds are, so the host renders from these rows
    // without copying them into a world of its own.
    Host::HostImage image = Host::HostImage::worldLayout(spec.width, spec.height, Store<Channel>::depth);
    const std::size_t fileRow = std::size_t(spec.width) * spec.nchannels;
    const int rows = bandRows(fileRow * sizeof(Channel), spec.height,
        spec.tile_width > 0 ? spec.tile_height : kBandRowMultiple);
    std::vector<Channel> band(fileRow * rows);
    for (int y = 0; y < spec.height; y += rows) {
        const int end = std::min(spec.height, y + rows);
        if (!readRows(in, y, end, Store<Channel>::fileType(), band.data()))
            throw usageError(path + ": cannot read the image: " + in.geterror());
        for (int r = y; r < end; ++r)
            fillFromFile(reinterpret_cast<Channel*>(image.row(r)), band.data() + std::size_t(r - y) * fileRow,
                std::size_t(spec.width), map);
    }
    return image;
}

template <typename Channel> void fileRows(Channel* out, const Channel* argb, std::size_t pixels, int channels)
{
    for (std::size_t i = 0; i < pixels; ++i, argb += 4, out += channels) {
        for (int c = 0; c < 3; ++c)
            out[c] = Store<Channel>::toFile(argb[c + 1]);
        if (channels == 4)
            out[3] = Store<Channel>::toFile(argb[0]);
    }
}

template <typename Channel>
bool writeAs(OIIO::ImageOutput& out, const std::string& temp, const Host::HostImage& image,
    const std::optional<int>& compression)
{
    const int channels = out.supports("alpha") ? 4 : 3;
    OIIO::ImageSpec spec(image.width(), image.height(), channels, Store<Channel>::fileType());
    if (channels == 4)
        spec.alpha_channel = 3;
    setCompression(spec, out.format_name(), compression);
    if (!out.open(temp, spec))
        return false;
    const std::size_t fileRow = std::size_t(image.width()) * channels;
    const int rows = bandRows(fileRow * sizeof(Channel), image.height());
    std::vector<Channel> band(fileRow * rows);
    for (int y = 0; y < image.height(); y += rows) {
        const int end = std::min(image.height(), y + rows);
        for (int r = y; r < end; ++r)
            fileRows(band.data() + std::size_t(r - y) * fileRow,
                reinterpret_cast<const Channel*>(image.row(r)), std::size_t(image.width()), channels);
        if (!out.write_scanlines(y, end, 0, Store<Channel>::fileType(), band.data())) {
            out.close();
            return false;
        }
    }
    return out.close();
}

// Whether OpenEXR's C core reads `in`'s file as the library's classic
// reader does. OpenImageIO 2.4 offers the core as an experimental reader
// that fails on tiled files and decodes DWA files differently; on
// uncompressed, run-length and deflated scanline files of one channel
// type it gives the same values without the classic reader's value-by-
// value conversion: a sequence of 4K float frames takes about a sixth
// less CPU time.
bool exrCoreReads(const OIIO::ImageInput& in)
{
    const OIIO::ImageSpec& spec = in.spec();
    if (std::string_view(in.format_name()) != "openexr" || spec.tile_width != 0 || !spec.channelformats.empty() ||
        spec.get_int_attribute("oiio:subimages", 1) != 1)
        return false;
    const std::string compression = spec.get_string_attribute("compression");
    return compression == "none" || compression == "rle" || compression == "zips" || compression == "zip";
}

// The reader is chosen as the file is opened, from a global setting: only
// the frame reader opens files once the render has started.
std::unique_ptr<OIIO::ImageInput> openWithExrCore(const std::string& path)
{
    OIIO::attribute("openexr:core", 1);
    auto in = OIIO::ImageInput::open(path);
    OIIO::attribute("openexr:core", 0);
    return in;
}

std::unique_ptr<OIIO::ImageInput> openInput(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        throw usageError(path + ": no such file");
    useCodecThreads();
    auto in = OIIO::ImageInput::open(path);
    if (!in)
        throw usageError(path + ": not a readable image: " + OIIO::geterror());
    if (exrCoreReads(*in)) {
        if (auto core = openWithExrCore(path))
            return core;
    }
    return in;
}

std::string folderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

std::string temporaryName(const std::string& path)
{
    const fs::path p(path);
    // Appended piece by piece: GCC 12 warns (-Wrestrict, wrongly) on
    // "." + std::string once this is inlined.
    std::string name = ".";
    name += p.filename().string();
    name += ".part";
    name += std::to_string(::getpid());
    return (p.parent_path() / name).string();
}

}  // namespace

Host::Depth naturalDepth(const std::string& path)
{
    auto in = openInput(path);
    const TypeDesc format = in->spec().format;
    if (format.basetype == TypeDesc::UINT8 || format.basetype == TypeDesc::INT8)
        return Host::Depth::Bits8;
    if (format.is_floating_point())
        return Host::Depth::Float;
    return Host::Depth::Bits16;
}

Host::HostImage readImage(const std::string& path, Host::Depth depth)
{
    auto in = openInput(path);
    switch (depth) {
    case Host::Depth::Bits8: return readAs<std::uint8_t>(*in, path);
    case Host::Depth::Bits16: return readAs<std::uint16_t>(*in, path);
    case Host::Depth::Float: return readAs<float>(*in, path);
    }
    throw usageError(path + ": unknown depth");
}

void checkWritable(const std::string& path)
{
    if (!OIIO::ImageOutput::create(path))
        throw usageError(path + ": no image format is known for this file name");
    const std::string folder = folderOf(path);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throw usageError(path + ": the folder " + folder + " does not exist");
    if (::access(folder.c_str(), W_OK) != 0)
        throw usageError(path + ": the folder " + folder + " is not writable");
}

void writeImage(const Host::HostImage& image, const std::string& path, const std::atomic<bool>* cancel,
    const std::optional<int>& compression)
{
    useCodecThreads();
    auto out = OIIO::ImageOutput::create(path);
    if (!out)
        throw usageError(path + ": no image format is known for this file name");
    const std::string temp = temporaryName(path);
    bool written = false;
    switch (image.depth()) {
    case Host::Depth::Bits8: written = writeAs<std::uint8_t>(*out, temp, image, compression); break;
    case Host::Depth::Bits16: written = writeAs<std::uint16_t>(*out, temp, image, compression); break;
    case Host::Depth::Float: written = writeAs<float>(*out, temp, image, compression); break;
    }
    const std::string problem = written ? "" : out->geterror();
    out.reset();
    std::error_code ec;
    if (!written) {
        fs::remove(temp, ec);
        throw usageError(path + ": cannot write the image: " + problem);
    }
    if (cancel && cancel->load()) {
        fs::remove(temp, ec);
        throw CliError(kExitInterrupted, path + ": interrupted; nothing written");
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw usageError(path + ": cannot move the finished image into place: " + ec.message());
    }
}

}  // namespace Quarn::Cli
