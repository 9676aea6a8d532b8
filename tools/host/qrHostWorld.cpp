#include "qrHostWorld.h"

#include <algorithm>
#include <stdexcept>

namespace Quarn::Host {

HostWorld::HostWorld(int width, int height, Depth depth)
    : depth_(depth), ownPool_(std::make_unique<MemoryPool>())
{
    setUp(width, height, Start::Black);
}

HostWorld::HostWorld(int width, int height, Depth depth, MemoryPool& pool, Start start) : depth_(depth)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative world size");
    storage_ = pool.take(worldRowBytes(width, depth) * height);
    setUp(width, height, start);
}

HostWorld::HostWorld(const HostImage& image) : depth_(image.depth()), shown_(image.owner())
{
    if (!canShow(image, depth_))
        throw std::invalid_argument("the image's rows are not laid out as a world's");
    // A plug-in only reads a layer's world, so the image stays as it is.
    describe(const_cast<std::byte*>(image.data()), image.stride(), image.width(), image.height());
}

bool HostWorld::canShow(const HostImage& image, Depth depth)
{
    return image.depth() == depth && image.owner() && image.stride() == worldRowBytes(image.width(), depth);
}

void HostWorld::setUp(int width, int height, Start start)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative world size");
    const std::size_t rowBytes = worldRowBytes(width, depth_);
    const std::size_t used = width * pixelSize(depth_);
    if (ownPool_)
        storage_ = ownPool_->take(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        std::byte* row = storage_.data() + y * rowBytes;
        if (start == Start::Black)
            std::fill_n(row, used, std::byte {0});
        std::fill(row + used, row + rowBytes, kWorldPadByte);
    }
    describe(storage_.data(), rowBytes, width, height);
}

void HostWorld::describe(std::byte* data, std::size_t rowBytes, int width, int height)
{
    world_.world_flags = PF_WorldFlag_WRITEABLE | (depth_ == Depth::Bits16 ? PF_WorldFlag_DEEP : 0);
    world_.data = reinterpret_cast<PF_PixelPtr>(data);
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

HostImage HostWorld::release()
{
    std::shared_ptr<void> owner = std::move(shown_);
    if (!owner)
        owner = std::make_shared<MemoryPool::Block>(std::move(storage_));
    HostImage image(world_.width, world_.height, depth_, world_.rowbytes, storage(), std::move(owner));
    world_ = PF_EffectWorld {};
    return image;
}

bool HostWorld::paddingIntact() const
{
    for (int y = 0; y < world_.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * world_.rowbytes;
        for (std::size_t i = usedBytes(); i < static_cast<std::size_t>(world_.rowbytes); ++i)
            if (storage()[row + i] != kWorldPadByte)
                return false;
    }
    return true;
}

}  // namespace Quarn::Host
