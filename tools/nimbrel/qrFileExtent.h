// Where a file's image data ends, by its own index: the strip or tile
// table of a TIFF file, the chunk offset table of an OpenEXR file. Their
// decoders fill whatever lies past the end of a cut-off file with black
// and report no error, so the renderer measures the file against its index
// before reading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Quarn::Cli {

// The byte just past the last block of pixel data of the first image in
// `path`, for a TIFF ("tiff") or single-part OpenEXR ("openexr") file;
// nothing for other formats and layouts it does not index (mip-mapped
// EXR tiles), or when the index itself cannot be read (then the decoder
// reports the damage).
std::optional<std::uint64_t> imageDataEnd(const std::string& path, const std::string& format);

}  // namespace Quarn::Cli
