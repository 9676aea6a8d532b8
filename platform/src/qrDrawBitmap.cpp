#include "qrDrawBitmap.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace Quarn::Platform {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 16384;  // refuses absurd sizes from damaged files

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint32_t readU32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t readU16(const unsigned char* p)
{
    return uint16_t(p[0] | p[1] << 8);
}
void putU32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
void putU16(unsigned char* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

}  // namespace

DrawBitmap::DrawBitmap(int width, int height, DrawColour colour)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(std::size_t(width_) * height_, colour)
{
}

namespace {

// The bitmap of `dib` (an info header at its start) whose pixels begin
// `offset` bytes in.
std::optional<DrawBitmap> decodeDib(const unsigned char* dib, std::size_t size, std::size_t offset)
{
    if (size < kInfoHeaderSize)
        return std::nullopt;
    const uint32_t infoSize = readU32(dib);
    const int32_t width = int32_t(readU32(dib + 4));
    const int32_t rawHeight = int32_t(readU32(dib + 8));
    const uint16_t bits = readU16(dib + 14);
    const uint32_t compression = readU32(dib + 16);
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    // 32-bit files may say 3 (bit fields) with the usual masks; both read as BGRA.
    if (infoSize < kInfoHeaderSize || (bits != 24 && bits != 32) || (compression != 0 && compression != 3) ||
        width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    const std::size_t bytesPerPixel = bits / 8;
    const std::size_t stride = (std::size_t(width) * bytesPerPixel + 3) & ~std::size_t(3);
    if (offset > size || (size - offset) / stride < std::size_t(height))
        return std::nullopt;
    DrawBitmap bitmap(width, height);
    for (int32_t r = 0; r < height; ++r) {
        const unsigned char* row = dib + offset + stride * std::size_t(r);
        const int y = topDown ? r : height - 1 - r;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + x * bytesPerPixel;
            bitmap.at(x, y) = {bits == 32 ? p[3] : uint8_t(255), p[2], p[1], p[0]};
        }
    }
    return bitmap;
}

}  // namespace

std::optional<DrawBitmap> readDib(const unsigned char* dib, std::size_t size)
{
    if (size < kInfoHeaderSize)
        return std::nullopt;
    // The three masks of a bit-field bitmap follow the short info header.
    const uint32_t infoSize = readU32(dib), compression = readU32(dib + 16);
    return decodeDib(dib, size, infoSize + (compression == 3 && infoSize == kInfoHeaderSize ? 12 : 0));
}

std::optional<DrawBitmap> readBmpFile(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    unsigned char header[kFileHeaderSize];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header || header[0] != 'B' ||
        header[1] != 'M')
        return std::nullopt;
    // The pixels start at the file header's offset, counted from the file's start.
    const uint32_t offset = readU32(header + 10);
    std::vector<unsigned char> dib;
    unsigned char block[1 << 16];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file.get())) > 0;) {
        dib.insert(dib.end(), block, block + got);
        if (dib.size() > std::size_t(kMaxSide) * kMaxSide * 4 + (1 << 16))
            return std::nullopt;
    }
    if (offset < kFileHeaderSize)
        return std::nullopt;
    return decodeDib(dib.data(), dib.size(), offset - kFileHeaderSize);
}

bool writeBmpFile(const std::string& path, const DrawBitmap& bitmap)
{
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const uint32_t pixelBytes = uint32_t(bitmap.width()) * bitmap.height() * 4;
    unsigned char header[kFileHeaderSize + kInfoHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    putU32(header + 2, uint32_t(sizeof header) + pixelBytes);
    putU32(header + 10, uint32_t(sizeof header));
    unsigned char* info = header + kFileHeaderSize;
    putU32(info, kInfoHeaderSize);
    putU32(info + 4, uint32_t(bitmap.width()));
    putU32(info + 8, uint32_t(bitmap.height()));
    putU16(info + 12, 1);
    putU16(info + 14, 32);
    putU32(info + 20, pixelBytes);
    bool ok = std::fwrite(header, 1, sizeof header, file.get()) == sizeof header;
    for (int y = bitmap.height() - 1; ok && y >= 0; --y)
        for (int x = 0; ok && x < bitmap.width(); ++x) {
            const DrawColour& c = bitmap.at(x, y);
            const unsigned char bgra[4] = {c.blue, c.green, c.red, c.alpha};
            ok = std::fwrite(bgra, 1, 4, file.get()) == 4;
        }
    return ok;
}

}  // namespace Quarn::Platform
