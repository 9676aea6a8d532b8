#include "qrFileExtent.h"

#include <algorithm>
#include <fstream>
#include <vector>

namespace Quarn::Cli {

namespace {

// Little- or big-endian unsigned values at given offsets of a file.
class Bytes {
public:
    Bytes(const std::string& path, bool bigEndian = false) : in_(path, std::ios::binary), big_(bigEndian) { }
    void setBigEndian(bool big) { big_ = big; }
    bool good() const { return bool(in_); }

    std::uint64_t at(std::uint64_t offset, int size)
    {
        in_.seekg(std::streamoff(offset));
        return next(size);
    }
    std::uint64_t next(int size)
    {
        unsigned char b[8] = {};
        in_.read(reinterpret_cast<char*>(b), size);
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= std::uint64_t(b[big_ ? size - 1 - i : i]) << (8 * i);
        return v;
    }
    std::string name()
    {
        std::string text;
        std::getline(in_, text, '\0');
        return text;
    }
    std::uint64_t position() { return std::uint64_t(in_.tellg()); }

private:
    std::ifstream in_;
    bool big_;
};

// TIFF: the offsets and byte counts of the first directory's strips or
// tiles; classic and BigTIFF files, either byte order.
std::optional<std::uint64_t> tiffDataEnd(const std::string& path)
{
    Bytes file(path);
    const std::uint64_t order = file.at(0, 2);
    if (order != 0x4949 && order != 0x4D4D)
        return std::nullopt;
    file.setBigEndian(order == 0x4D4D);
    const bool big = file.next(2) == 43;
    const int word = big ? 8 : 4;
    const std::uint64_t directory = big ? (file.next(2), file.next(2), file.next(8)) : file.next(4);
    const std::uint64_t entries = file.at(directory, big ? 8 : 2);
    std::vector<std::uint64_t> offsets, counts;
    for (std::uint64_t e = 0; e < entries && file.good() && e < 4096; ++e) {
        const std::uint64_t entry = directory + (big ? 8 : 2) + e * (big ? 20 : 12);
        const std::uint64_t tag = file.at(entry, 2);
        const std::uint64_t type = file.next(2);
        const std::uint64_t count = file.next(word);
        const int size = type == 3 ? 2 : type == 4 ? 4 : type == 16 ? 8 : 0;
        if (size == 0 || (tag != 273 && tag != 279 && tag != 324 && tag != 325) || count > (1u << 24))
            continue;
        const std::uint64_t values = count * std::uint64_t(size) <= std::uint64_t(word) ? entry + 4 + word : file.next(word);
        std::vector<std::uint64_t>& list = tag == 273 || tag == 324 ? offsets : counts;
        list.clear();
        for (std::uint64_t i = 0; i < count; ++i)
            list.push_back(file.at(values + i * std::uint64_t(size), size));
    }
    if (!file.good() || offsets.empty() || offsets.size() != counts.size())
        return std::nullopt;
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < offsets.size(); ++i)
        if (counts[i] > 0)
            end = std::max(end, offsets[i] + counts[i]);
    return end;
}

// Rows in one chunk of a scanline OpenEXR file, by compression.
int exrLinesPerChunk(std::uint64_t compression)
{
    static const int lines[] = {1, 1, 1, 16, 32, 16, 32, 32, 32, 256};
    return compression < std::size(lines) ? lines[compression] : 0;
}

// OpenEXR: the header's data window, compression and tiling give the
// number of chunks; the offset table after the header says where each
// starts, and the last chunk's own header its size.
std::optional<std::uint64_t> exrDataEnd(const std::string& path)
{
    Bytes file(path);
    if (file.at(0, 4) != 0x01312F76)
        return std::nullopt;
    const std::uint64_t flags = file.next(4);
    const bool tiled = flags & 0x200;
    if (flags & (0x800 | 0x1000))  // deep or multi-part
        return std::nullopt;
    std::int64_t width = 0, height = 0, tileWidth = 0, tileHeight = 0;
    std::uint64_t compression = 0, tileMode = 0;
    for (std::string name = file.name(); !name.empty() && file.good(); name = file.name()) {
        file.name();  // the attribute's type
        const std::uint64_t size = file.next(4);
        const std::uint64_t value = file.position();
        if (name == "dataWindow") {
            const auto x0 = std::int32_t(file.next(4)), y0 = std::int32_t(file.next(4));
            width = std::int64_t(std::int32_t(file.next(4))) - x0 + 1;
            height = std::int64_t(std::int32_t(file.next(4))) - y0 + 1;
        } else if (name == "compression") {
            compression = file.next(1);
        } else if (name == "tiles") {
            tileWidth = std::int64_t(file.next(4));
            tileHeight = std::int64_t(file.next(4));
            tileMode = file.next(1) & 0x0F;
        }
        file.at(value + size, 0);
    }
    const std::uint64_t table = file.position();
    const int lines = exrLinesPerChunk(compression);
    if (!file.good() || width <= 0 || height <= 0 || (tiled && (tileMode != 0 || tileWidth <= 0 || tileHeight <= 0)) ||
        (!tiled && lines == 0))
        return std::nullopt;
    const std::uint64_t chunks = tiled
        ? std::uint64_t((width + tileWidth - 1) / tileWidth) * std::uint64_t((height + tileHeight - 1) / tileHeight)
        : std::uint64_t((height + lines - 1) / lines);
    std::uint64_t last = 0;
    for (std::uint64_t i = 0; i < chunks && file.good(); ++i)
        last = std::max(last, file.at(table + i * 8, 8));
    // A chunk starts with its coordinates (one row number, or four tile
    // numbers) and its size in bytes.
    const std::uint64_t head = tiled ? 16 : 4;
    if (!file.good())
        return std::nullopt;
    const std::uint64_t size = file.at(last + head, 4);
    // A chunk whose own header lies past the end of the file ends there
    // at least.
    return last + head + 4 + (file.good() ? size : 0);
}

}  // namespace

std::optional<std::uint64_t> imageDataEnd(const std::string& path, const std::string& format)
{
    if (format == "tiff")
        return tiffDataEnd(path);
    if (format == "openexr")
        return exrDataEnd(path);
    return std::nullopt;
}

}  // namespace Quarn::Cli
