#include "qrHostWorld.h"

#include <algorithm>
#include <stdexcept>

namespace Quarn::Host {

namespace {

// Padding: at least 48 bytes a row, rows kept 16-byte aligned.
std::size_t paddedRowBytes(int width, Depth depth)
{
    const std::size_t used = width * pixelSize(depth);
    return (used + 48 + 15) / 16 * 16;
}

}  // namespace

HostWorld::HostWorld(int width, int height, Depth depth)
    : depth_(depth), ownPool_(std::make_unique<MemoryPool>())
{
    setUp(width, height, Start::Black);
}

HostWorld::HostWorld(int width, int height, Depth depth, MemoryPool& pool, Start start) : depth_(depth)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative world size");
    storage_ = pool.take(paddedRowBytes(width, depth) * height);
    setUp(width, height, start);
}

void HostWorld::setUp(int width, int height, Start start)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative world size");
    const std::size_t rowBytes = paddedRowBytes(width, depth_);
    const std::size_t used = width * pixelSize(depth_);
    if (ownPool_)
        storage_ = ownPool_->take(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        std::byte* row = storage() + y * rowBytes;
        if (start == Start::Black)
            std::fill_n(row, used, std::byte {0});
        std::fill(row + used, row + rowBytes, kPadByte);
    }
    world_.world_flags = PF_WorldFlag_WRITEABLE | (depth_ == Depth::Bits16 ? PF_WorldFlag_DEEP : 0);
    world_.data = reinterpret_cast<PF_PixelPtr>(storage());
    world_.rowbytes = static_cast<A_long>(rowBytes);
    world_.width = width;
    world_.height = height;
    world_.extent_hint = {0, 0, width, height};
    world_.pix_aspect_ratio = {1, 1};
}

std::size_t HostWorld::usedBytes() const
{
    return world_.width * pixelSize(depth_);
}

void HostWorld::load(const HostImage& image)
{
    if (image.width() != world_.width || image.height() != world_.height)
        throw std::invalid_argument("image and world differ in size");
    if (image.depth() == depth_)
        image.writeRows(storage(), world_.rowbytes);
    else
        image.converted(depth_).writeRows(storage(), world_.rowbytes);
}

HostImage HostWorld::read() const
{
    HostImage image = HostImage::uninitialised(world_.width, world_.height, depth_);
    image.readRows(storage(), world_.rowbytes);
    return image;
}

bool HostWorld::paddingIntact() const
{
    for (int y = 0; y < world_.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * world_.rowbytes;
        for (std::size_t i = usedBytes(); i < static_cast<std::size_t>(world_.rowbytes); ++i)
            if (storage()[row + i] != kPadByte)
                return false;
    }
    return true;
}

}  // namespace Quarn::Host
