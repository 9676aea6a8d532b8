#include "qrWorldFile.h"

#include "qrHostError.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace Quarn::Host {

namespace {

// "NWLD", version, natural depth bits, image count; per image its depth
// bits, width and height, then its rows packed. Words little-endian.
constexpr char kMagic[4] = {'N', 'W', 'L', 'D'};
constexpr uint32_t kVersion = 1;
constexpr uint32_t kLargestSide = 1u << 16;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::optional<Depth> depthOfBits(uint32_t bits)
{
    switch (bits) {
    case 8: return Depth::Bits8;
    case 16: return Depth::Bits16;
    case 32: return Depth::Float;
    default: return std::nullopt;
    }
}

class Reader {
public:
    Reader(std::FILE* file, const std::string& path) : file_(file), path_(path) { }

    uint32_t word()
    {
        unsigned char b[4];
        bytes(b, 4);
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    Depth depth()
    {
        const auto d = depthOfBits(word());
        if (!d)
            fail("unknown depth");
        return *d;
    }
    void bytes(void* to, std::size_t count)
    {
        if (std::fread(to, 1, count, file_) != count)
            fail("the file ends early");
    }
    [[noreturn]] void fail(const std::string& why) const
    {
        throw HostError(path_ + ": not a readable world file: " + why);
    }

private:
    std::FILE* file_;
    const std::string& path_;
};

void putWord(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char(v >> (8 * i));
}

}  // namespace

const HostImage* WorldFile::at(Depth depth) const
{
    for (const HostImage& image : images)
        if (image.depth() == depth)
            return &image;
    return nullptr;
}

WorldFile readWorldFile(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw HostError(path + ": cannot open the world file");
    Reader in(file.get(), path);
    char magic[4];
    in.bytes(magic, 4);
    if (std::string(magic, 4) != std::string(kMagic, 4) || in.word() != kVersion)
        in.fail("wrong signature or version");
    WorldFile world;
    world.natural = in.depth();
    const uint32_t count = in.word();
    if (count > 3)
        in.fail("too many images");
    for (uint32_t i = 0; i < count; ++i) {
        const Depth depth = in.depth();
        const uint32_t width = in.word(), height = in.word();
        if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide)
            in.fail("impossible size");
        HostImage image = HostImage::worldLayout(int(width), int(height), depth);
        for (int y = 0; y < image.height(); ++y)
            in.bytes(image.row(y), image.rowBytes());
        world.images.push_back(std::move(image));
    }
    return world;
}

void writeWorldFile(const std::string& path, const WorldFile& world)
{
    std::string header(kMagic, 4);
    putWord(header, kVersion);
    putWord(header, uint32_t(bitDepth(world.natural)));
    putWord(header, uint32_t(world.images.size()));
    File file(std::fopen(path.c_str(), "wb"));
    bool ok = file && std::fwrite(header.data(), 1, header.size(), file.get()) == header.size();
    for (const HostImage& image : world.images) {
        std::string head;
        putWord(head, uint32_t(bitDepth(image.depth())));
        putWord(head, uint32_t(image.width()));
        putWord(head, uint32_t(image.height()));
        ok = ok && std::fwrite(head.data(), 1, head.size(), file.get()) == head.size();
        for (int y = 0; ok && y < image.height(); ++y)
            ok = std::fwrite(image.row(y), 1, image.rowBytes(), file.get()) == image.rowBytes();
    }
    if (!ok || std::fclose(file.release()) != 0)
        throw HostError(path + ": cannot write the world file");
}

}  // namespace Quarn::Host
