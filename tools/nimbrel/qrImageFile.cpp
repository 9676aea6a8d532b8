#include "qrImageFile.h"

#include "qrCliError.h"
#include "qrFileExtent.h"
#include "qrOutputFile.h"

#include <OpenImageIO/imageio.h>

#include <sys/stat.h>
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

// PNG is deflated row by row on the calling thread, at level 9 as slowly as
// 150 kB of pixels a second: smaller bands keep a cancel between two of
// them well under a second. The file is the same for any band size.
constexpr std::size_t kPngBandBytes = std::size_t(96) << 10;

int bandRows(std::size_t fileRowBytes, int height, int multiple = kBandRowMultiple, std::size_t budget = kBandBytes)
{
    const std::size_t step = std::size_t(std::max(1, multiple));
    const std::size_t rows = budget / std::max<std::size_t>(1, fileRowBytes);
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

// Float files may hold NaN and infinities; the pixels are rendered as they
// are, and the reader says how many there were.
template <typename Channel> std::size_t countNonFinite(const Channel* values, std::size_t count)
{
    if constexpr (std::is_floating_point_v<Channel>)
        return std::size_t(std::count_if(values, values + count, [](Channel v) { return !std::isfinite(v); }));
    else
        return 0;
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

const char* depthName(Host::Depth depth)
{
    switch (depth) {
    case Host::Depth::Bits8: return "8-bit";
    case Host::Depth::Bits16: return "16-bit";
    case Host::Depth::Float: return "float";
    }
    return "";
}

std::string readProblem(OIIO::ImageInput& in)
{
    const std::string problem = in.geterror();
    return problem.empty() ? "the decoder stopped without a reason" : problem;
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
    std::size_t nonFinite = 0;
    for (int y = 0; y < spec.height; y += rows) {
        const int end = std::min(spec.height, y + rows);
        // A decoder that meets a damaged file may still hand back rows (a
        // truncated TIFF or JPEG fills the rest), so its error is checked too.
        if (!readRows(in, y, end, Store<Channel>::fileType(), band.data()) || in.has_error())
            throw usageError(path + ": cannot read the image: " + readProblem(in));
        nonFinite += countNonFinite(band.data(), fileRow * std::size_t(end - y));
        for (int r = y; r < end; ++r)
            fillFromFile(reinterpret_cast<Channel*>(image.row(r)), band.data() + std::size_t(r - y) * fileRow,
                std::size_t(spec.width), map);
    }
    if (!in.close() || in.has_error())
        throw usageError(path + ": cannot read the image: " + readProblem(in));
    if (nonFinite > 0)
        std::fprintf(stderr,
            "nimbrel: warning: %s: %zu channel values are not finite (NaN or infinite); they are rendered as "
            "they are and spread through the rain\n",
            path.c_str(), nonFinite);
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
    const std::optional<int>& compression, const std::atomic<bool>* cancel)
{
    const int channels = out.supports("alpha") ? 4 : 3;
    OIIO::ImageSpec spec(image.width(), image.height(), channels, Store<Channel>::fileType());
    if (channels == 4)
        spec.alpha_channel = 3;
    setCompression(spec, out.format_name(), compression);
    if (!out.open(temp, spec))
        return false;
    const std::size_t fileRow = std::size_t(image.width()) * channels;
    const bool png = std::string_view(out.format_name()) == "png";
    // Writers of tiled-only formats (IFF) fail scanlines without a word;
    // they take the image whole.
    const bool whole = out.spec().tile_width > 0;
    const int rows = whole ? image.height()
                           : bandRows(fileRow * sizeof(Channel), image.height(), png ? 1 : kBandRowMultiple,
                                 png ? kPngBandBytes : kBandBytes);
    std::vector<Channel> band(fileRow * rows);
    for (int y = 0; y < image.height(); y += rows) {
        const int end = std::min(image.height(), y + rows);
        if (cancel && cancel->load()) {
            out.close();
            return false;
        }
        for (int r = y; r < end; ++r)
            fileRows(band.data() + std::size_t(r - y) * fileRow,
                reinterpret_cast<const Channel*>(image.row(r)), std::size_t(image.width()), channels);
        const TypeDesc type = Store<Channel>::fileType();
        if (!(whole ? out.write_image(type, band.data()) : out.write_scanlines(y, end, 0, type, band.data()))) {
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

// Only regular files are read: a FIFO or a device (also behind a link)
// could block the reader forever or never end.
void checkRegularFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            throw usageError(path + ": no such file");
        throw usageError(path + ": cannot open: " + std::strerror(errno));
    }
    if (S_ISREG(st.st_mode))
        return;
    const char* kind = S_ISDIR(st.st_mode) ? "a folder"
        : S_ISFIFO(st.st_mode)             ? "a FIFO"
        : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
        : S_ISSOCK(st.st_mode)                       ? "a socket"
                                                     : "a special file";
    throw usageError(path + ": not a regular file but " + std::string(kind) + "; nimbrel reads image files");
}

std::unique_ptr<OIIO::ImageInput> openInput(const std::string& path)
{
    checkRegularFile(path);
    useCodecThreads();
    auto in = OIIO::ImageInput::open(path);
    if (!in)
        throw usageError(path + ": not a readable image: " + OIIO::geterror());
    const auto dataEnd = imageDataEnd(path, in->format_name());
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (dataEnd && !ec && *dataEnd > size)
        throw usageError(path + ": cannot read the image: the file is cut short (its pixel data runs to byte " +
            std::to_string(*dataEnd) + ", the file holds " + std::to_string(size) + ")");
    if (in->spec().deep)
        throw usageError(path + ": a deep image (several samples a pixel); flatten it first "
                                "(oiiotool " + path + " --flatten -o flat.exr)");
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
    try {
        switch (depth) {
        case Host::Depth::Bits8: return readAs<std::uint8_t>(*in, path);
        case Host::Depth::Bits16: return readAs<std::uint16_t>(*in, path);
        case Host::Depth::Float: return readAs<float>(*in, path);
        }
    } catch (const std::bad_alloc&) {
        const OIIO::ImageSpec& spec = in->spec();
        throw CliError(kExitRenderFailed,
            path + ": out of memory while reading the " + std::to_string(spec.width) + "x" +
                std::to_string(spec.height) + " image (as " + std::string(depthName(depth)) + ")");
    }
    throw usageError(path + ": unknown depth");
}

void prepareOutput(const std::string& path)
{
    if (!OIIO::ImageOutput::create(path))
        throw usageError(path + ": no image format is known for this file name");
    const std::string folder = folderOf(path);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec)
            throw usageError(path + ": cannot create the folder " + folder + ": " + ec.message());
    }
    if (::access(folder.c_str(), W_OK) != 0)
        throw usageError(path + ": the folder " + folder + " is not writable");
}

namespace {

bool writeAtDepth(OIIO::ImageOutput& out, const std::string& temporary, const Host::HostImage& image,
    const std::optional<int>& compression, const std::atomic<bool>* cancel)
{
    switch (image.depth()) {
    case Host::Depth::Bits8: return writeAs<std::uint8_t>(out, temporary, image, compression, cancel);
    case Host::Depth::Bits16: return writeAs<std::uint16_t>(out, temporary, image, compression, cancel);
    case Host::Depth::Float: return writeAs<float>(out, temporary, image, compression, cancel);
    }
    return false;
}

}  // namespace

void writeImage(const Host::HostImage& image, const std::string& path, const std::atomic<bool>* cancel,
    const std::optional<int>& compression)
{
    useCodecThreads();
    auto out = OIIO::ImageOutput::create(path);
    if (!out)
        throw usageError(path + ": no image format is known for this file name");
    try {
        writeImageFile(*out, path, cancel, [&](const std::string& temporary) {
            return writeAtDepth(*out, temporary, image, compression, cancel);
        });
    } catch (const std::bad_alloc&) {
        throw CliError(kExitRenderFailed,
            path + ": out of memory while writing the " + std::to_string(image.width()) + "x" +
                std::to_string(image.height()) + " " + depthName(image.depth()) + " image");
    }
}

}  // namespace Quarn::Cli
