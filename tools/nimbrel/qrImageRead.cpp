#include "qrImageFile.h"

#include "qrCliError.h"
#include "qrFilePixels.h"
#include "qrInputCheck.h"

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Quarn::Cli {

namespace {

using namespace FilePixels;

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
    checkRegularFile(path);
    useCodecThreads();
    auto in = OIIO::ImageInput::open(path);
    if (!in)
        throw usageError(path + ": not a readable image: " + OIIO::geterror());
    checkWholeImage(*in, path);
    if (exrCoreReads(*in)) {
        if (auto core = openWithExrCore(path))
            return core;
    }
    return in;
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

}  // namespace Quarn::Cli
