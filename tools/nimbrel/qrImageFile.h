// Image files in and out of host images. Files keep their own ranges (8-bit
// 0..255, 16-bit 0..65535, float 0..1); host images use the effect API's
// (16-bit white is 32768). Pixels reach the host with associated alpha, as
// the host's layers carry them; files without alpha read as opaque.
#pragma once

#include "qrHostImage.h"

#include <atomic>
#include <optional>
#include <string>

namespace Quarn::Cli {

// The depth a host renders a file at by default: 8-bit files at 8, other
// integer files at 16, half and float files at 32. Throws a usage CliError
// naming the file when it cannot be opened as an image.
Host::Depth naturalDepth(const std::string& path);

// Reads the first image of `path` at `depth`. Only regular files are
// read; a damaged file (the decoder's error), a deep image or a special
// file is a usage CliError naming the file. Non-finite float values are
// kept, with a warning that counts them.
Host::HostImage readImage(const std::string& path, Host::Depth depth);

// Makes `path`'s folder when it is missing. Throws a usage CliError naming
// `path` when no image could be written there: an unknown format, a folder
// that cannot be made or is read-only.
void prepareOutput(const std::string& path);

// The deflate level (0 fastest .. 9 smallest) of PNG files unless asked
// otherwise: at 4K, level 6 takes several times as long as the render.
constexpr int kDefaultPngCompression = 1;

// The compression of TIFF and EXR files unless a level is asked for, in
// OpenImageIO's names. Deflate level 1 writes a 16-bit 4K TIFF in a third
// of the time of zlib's usual 6 for a sixth more bytes. EXR's deflating
// codecs (zip, zips, piz) at any level take longer than the render of a
// float frame, and run-length coding saves an eighth of its bytes for two
// and a half times the time of writing it uncompressed.
constexpr const char* kDefaultTiffCompression = "zip:1";
constexpr const char* kDefaultExrCompression = "none";

// Writes `image` in the format the extension of `path` names, through an
// OutputFile: every byte checked, renamed into place only when complete.
// Throws CliError naming `path` and the reason (status 1) when writing
// fails, or an interrupted one when `cancel` is raised meanwhile (checked
// between bands of rows and before every block of bytes); no partial
// output is left either way.
// `compression` is a deflate level 0..9 for PNG, TIFF and EXR files (other
// formats ignore it; 0 writes TIFF and EXR uncompressed); without one,
// each of them gets its default above.
void writeImage(const Host::HostImage& image, const std::string& path,
    const std::atomic<bool>* cancel = nullptr, const std::optional<int>& compression = std::nullopt);

}  // namespace Quarn::Cli
