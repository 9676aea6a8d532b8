#pragma once
// Test helpers: a scratch folder, shell commands, pictures read with
// OpenImageIO, and pictures laid out as an OpenFX host's images.
#include "qrOfxTestHost.h"

#include <filesystem>
#include <string>
#include <vector>

namespace Quarn::Ofx::Testing {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& tag);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs a shell command line; its exit status.
int run(const std::string& command);
std::vector<unsigned char> readBytes(const std::string& path);

// A picture as float RGBA, top row first, in the depth's own scale (0..255,
// 0..65535 or 0..1): what a file holds, four channels (opaque where the
// file has no alpha).
struct Picture {
    int width = 0, height = 0;
    std::vector<float> rgba;
};
Picture readPicture(const std::string& path, const std::string& depth);
// The same picture as a host image of that depth, bottom row first.
Image hostImage(const Picture& picture, const std::string& depth);
// A host image back as a picture.
Picture pictureOf(const Image& image);
// Largest difference of two pictures of one size (infinity for two sizes).
float maxDifference(const Picture& a, const Picture& b);

}  // namespace Quarn::Ofx::Testing
