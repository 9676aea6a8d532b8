#include "qrImageFile.h"

#include "qrCliError.h"
#include "qrFilePixels.h"
#include "qrOutputFile.h"

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

namespace FilePixels {

void useCodecThreads()
{
    static std::once_flag once;
    std::call_once(once, [] { OIIO::attribute("threads", std::max(3, int(std::thread::hardware_concurrency()))); });
}

}  // namespace FilePixels

namespace {

namespace fs = std::filesystem;
using namespace FilePixels;

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

// PNG is deflated row by row on the calling thread, at level 9 as slowly as
// 150 kB of pixels a second: smaller bands keep a cancel between two of
// them well under a second. The file is the same for any band size.
constexpr std::size_t kPngBandBytes = std::size_t(96) << 10;

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

std::string folderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

}  // namespace

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
