// Image files of the Windows build: world files (qrWorldFile.h) under the
// names the user gives, since the build has no codec library. A render
// reads a picture at the depth it asks for and writes the host's pixels as
// they are; the compression settings have nothing to act on.
#include "qrImageFile.h"

#include "qrCliError.h"
#include "qrHostError.h"
#include "qrWorldFile.h"

#include <algorithm>
#include <filesystem>

namespace Quarn::Cli {

namespace {

namespace fs = std::filesystem;

Host::WorldFile open(const std::string& path)
{
    std::error_code ec;
    if (!fs::exists(path, ec))
        throw usageError(path + ": no such file");
    try {
        return Host::readWorldFile(path);
    } catch (const Host::HostError& e) {
        throw usageError(e.what());
    }
}

}  // namespace

Host::Depth naturalDepth(const std::string& path)
{
    return open(path).natural;
}

Host::HostImage readImage(const std::string& path, Host::Depth depth)
{
    const Host::WorldFile world = open(path);
    const Host::HostImage* image = world.at(depth);
    if (!image)
        throw usageError(path + ": the world file holds no picture at this depth");
    // Laid out as a world, so the host renders from these rows directly.
    Host::HostImage laid = Host::HostImage::worldLayout(image->width(), image->height(), depth);
    for (int y = 0; y < image->height(); ++y)
        std::copy_n(image->row(y), image->rowBytes(), laid.row(y));
    return laid;
}

void prepareOutput(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    std::error_code ec;
    if (!parent.empty() && !fs::is_directory(parent, ec) && !fs::create_directories(parent, ec))
        throw usageError(path + ": the folder " + parent.string() + " cannot be made: " + ec.message());
}

void writeImage(const Host::HostImage& image, const std::string& path, const std::atomic<bool>* cancel,
    const std::optional<int>&)
{
    const std::string temp = path + ".part";
    std::error_code ec;
    try {
        Host::writeWorldFile(temp, Host::WorldFile {image.depth(), {image}});
    } catch (const Host::HostError& e) {
        fs::remove(temp, ec);
        throw usageError(std::string(e.what()));
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
