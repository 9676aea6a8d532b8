// Host images as files of their own ("world files"): the pixels exactly as
// a host holds them, with no image format in between. A file holds one
// picture at one or more depths and names the depth the picture was made
// at. The Windows build of the nimbrel command line reads and writes them
// in place of image files (it has no codec library); the test that checks
// its renders makes them from real image files on the other side.
#pragma once

#include "qrHostImage.h"

#include <string>
#include <vector>

namespace Quarn::Host {

struct WorldFile {
    Depth natural = Depth::Bits8;  // the depth of the picture's own pixels
    std::vector<HostImage> images;  // at most one a depth

    // The image at `depth`, or null.
    const HostImage* at(Depth depth) const;
};

// Throws HostError naming the file when it cannot be read or is no world
// file; writeWorldFile throws when it cannot be written.
WorldFile readWorldFile(const std::string& path);
void writeWorldFile(const std::string& path, const WorldFile& file);

}  // namespace Quarn::Host
