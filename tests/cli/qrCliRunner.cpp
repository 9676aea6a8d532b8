#include "qrCliRunner.h"

#include <OpenImageIO/imagebufalgo.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace CliTest {

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ScratchDir::ScratchDir()
{
    // Scratch folders may be made from several threads at once.
    static std::atomic<int> counter = 0;
    path_ = fs::temp_directory_path() /
        ("nimbrel-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::files() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

Outcome shell(const ScratchDir& dir, const std::string& script)
{
    const fs::path out = dir.path().parent_path() / (dir.path().filename().string() + ".out");
    const fs::path err = dir.path().parent_path() / (dir.path().filename().string() + ".err");
    // Leaks inside image libraries are theirs; sanitized builds ignore them.
    const std::string command = "cd '" + dir.path().string() + "' && NIMBREL='" NIMBREL_CLI "' && " +
        "export LSAN_OPTIONS=suppressions='" NIMBREL_SOURCE_DIR "/tests/cli/lsan.supp' && (" + script +
        ") >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    run.out = readAll(out);
    run.err = readAll(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}

Outcome nimbrel(const ScratchDir& dir, const std::string& args)
{
    return shell(dir, "\"$NIMBREL\" " + args);
}

OIIO::ImageBuf picture(int width, int height, int channels, OIIO::TypeDesc format)
{
    OIIO::ImageSpec spec(width, height, channels, format);
    OIIO::ImageBuf image(spec);
    std::vector<float> pixel(channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const float fx = float(x) / width, fy = float(y) / height;
            // Bright spots on a grid so that every picture has highlights.
            const bool spot = (x % 23 < 3) && (y % 19 < 3);
            pixel[0] = spot ? 1.0f : 0.1f + 0.5f * fx;
            pixel[1] = spot ? 1.0f : 0.2f + 0.4f * fy;
            pixel[2] = spot ? 0.95f : 0.3f + 0.3f * fx * fy;
            if (channels == 4)
                pixel[3] = 1.0f;
            image.setpixel(x, y, pixel.data(), channels);
        }
    return image;
}

void save(const OIIO::ImageBuf& image, const std::string& path)
{
    if (!image.write(path))
        throw std::runtime_error("cannot write " + path + ": " + image.geterror());
}

OIIO::ImageBuf load(const std::string& path)
{
    OIIO::ImageBuf image(path);
    if (!image.read(0, 0, true, OIIO::TypeDesc::FLOAT))
        throw std::runtime_error("cannot read " + path + ": " + image.geterror());
    return image;
}

float maxDifference(const OIIO::ImageBuf& a, const OIIO::ImageBuf& b)
{
    const OIIO::ImageSpec& sa = a.spec();
    const OIIO::ImageSpec& sb = b.spec();
    if (sa.width != sb.width || sa.height != sb.height || sb.nchannels < sa.nchannels)
        return INFINITY;
    OIIO::ROI colour = a.roi();
    colour.chend = sa.nchannels;
    return float(OIIO::ImageBufAlgo::compare(a, b, 0.0f, 0.0f, colour).maxerror);
}

}  // namespace CliTest
