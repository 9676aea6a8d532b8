// Test helpers: run the nimbrel program in a scratch folder and capture its
// exit status and output; make and read images with OpenImageIO.
#pragma once

#include <OpenImageIO/imagebuf.h>

#include <filesystem>
#include <string>
#include <vector>

namespace CliTest {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Names of the files in the folder, sorted, hidden ones included.
    std::vector<std::string> files() const;

private:
    std::filesystem::path path_;
};

// Runs `nimbrel ARGS` (ARGS as shell words) inside `dir`.
Outcome nimbrel(const ScratchDir& dir, const std::string& args);
// Runs a shell command line inside `dir` with $NIMBREL set to the program.
Outcome shell(const ScratchDir& dir, const std::string& script);

// A deterministic test picture: smooth gradients with a few bright spots
// (for the highlight diffusion to find), RGB or RGBA, at `format`.
OIIO::ImageBuf picture(int width, int height, int channels, OIIO::TypeDesc format);
void save(const OIIO::ImageBuf& image, const std::string& path);
OIIO::ImageBuf load(const std::string& path);
// Largest channel difference, on the 0..1 scale; channels beyond the
// first image's count are ignored.
float maxDifference(const OIIO::ImageBuf& a, const OIIO::ImageBuf& b);

}  // namespace CliTest
