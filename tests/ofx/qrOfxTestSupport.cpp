#include "qrOfxTestSupport.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imagebufalgo.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace Quarn::Ofx::Testing {

namespace {

double scaleOf(const std::string& depth)
{
    return depth == Value::depthByte ? 255.0 : depth == Value::depthShort ? 65535.0 : 1.0;
}

template <class C> void store(unsigned char* at, float v)
{
    const C c = std::is_floating_point_v<C> ? C(v) : C(std::lround(v));
    std::memcpy(at, &c, sizeof c);
}

template <class C> float load(const unsigned char* at)
{
    C c;
    std::memcpy(&c, at, sizeof c);
    return float(c);
}

}  // namespace

ScratchDir::ScratchDir(const std::string& tag)
    : path_(std::filesystem::temp_directory_path() / ("nimbrel-ofx-" + tag + "-" + std::to_string(getpid())))
{
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

int run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<unsigned char> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture readPicture(const std::string& path, const std::string& depth)
{
    OIIO::ImageBuf file(path);
    if (!file.read(0, 0, true, OIIO::TypeDesc::FLOAT))
        throw std::runtime_error("cannot read " + path);
    const OIIO::ROI roi = file.roi();
    Picture p;
    p.width = roi.width();
    p.height = roi.height();
    p.rgba.assign(size_t(p.width) * size_t(p.height) * 4, 1.0f);
    std::vector<float> all(size_t(p.width) * size_t(p.height) * size_t(roi.nchannels()));
    file.get_pixels(roi, OIIO::TypeDesc::FLOAT, all.data());
    const int n = std::min(roi.nchannels(), 4);
    for (size_t i = 0; i < size_t(p.width) * size_t(p.height); ++i)
        for (int c = 0; c < n; ++c)
            p.rgba[i * 4 + size_t(c)] = all[i * size_t(roi.nchannels()) + size_t(c)];
    // OpenImageIO reads integer files as value / (2^bits - 1).
    const double scale = scaleOf(depth);
    for (float& v : p.rgba)
        v = float(double(v) * scale);
    if (depth != Value::depthFloat)
        for (float& v : p.rgba)
            v = std::round(v);
    return p;
}

Image hostImage(const Picture& picture, const std::string& depth)
{
    Image image = Image::blank({0, 0, picture.width, picture.height}, depth);
    const int size = image.bytesPerComponent();
    for (int y = 0; y < picture.height; ++y) {
        const float* in = &picture.rgba[size_t(picture.height - 1 - y) * size_t(picture.width) * 4];
        unsigned char* out = image.bytes.data() + size_t(y) * size_t(image.rowBytes());
        for (int k = 0; k < picture.width * 4; ++k, out += size) {
            if (size == 1)
                store<uint8_t>(out, in[k]);
            else if (size == 2)
                store<uint16_t>(out, in[k]);
            else
                store<float>(out, in[k]);
        }
    }
    return image;
}

Picture pictureOf(const Image& image)
{
    Picture p;
    p.width = image.bounds.x2 - image.bounds.x1;
    p.height = image.bounds.y2 - image.bounds.y1;
    p.rgba.assign(size_t(p.width) * size_t(p.height) * 4, 1.0f);
    const int size = image.bytesPerComponent(), channels = image.channels();
    for (int y = 0; y < p.height; ++y) {
        const unsigned char* in = image.bytes.data() + size_t(y) * size_t(image.rowBytes());
        float* out = &p.rgba[size_t(p.height - 1 - y) * size_t(p.width) * 4];
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < channels; ++c, in += size)
                out[x * 4 + c] = size == 1 ? load<uint8_t>(in) : size == 2 ? load<uint16_t>(in) : load<float>(in);
    }
    return p;
}

float maxDifference(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height)
        return std::numeric_limits<float>::infinity();
    float worst = 0.0f;
    for (size_t i = 0; i < a.rgba.size(); ++i)
        worst = std::max(worst, std::abs(a.rgba[i] - b.rgba[i]));
    return worst;
}

}  // namespace Quarn::Ofx::Testing
