// Inputs nimbrel refuses before decoding them, because it could not read
// them whole: special files that would block or never end, images cut off
// before their last pixels (which decoders fill with black without an
// error) and deep images. Each throws a usage CliError naming the file and
// the reason.
#pragma once

#include <OpenImageIO/imageio.h>

#include <string>

namespace Quarn::Cli {

// Only regular files (also behind a link) are read.
void checkRegularFile(const std::string& path);

// The opened image is flat and its file holds all its pixel data.
void checkWholeImage(const OIIO::ImageInput& in, const std::string& path);

}  // namespace Quarn::Cli
