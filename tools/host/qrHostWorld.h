// A world (image buffer) that the host owns and lends to the plug-in. Rows
// are padded beyond width x pixel size, and the padding holds a known byte
// pattern, so a plug-in that steps rows by anything but rowbytes is caught.
#pragma once

#include "qrHostImage.h"
#include "qrMemoryPool.h"

#include <AE_EffectTypes.h>

#include <cstddef>
#include <memory>

namespace Quarn::Host {

class HostWorld {
public:
    // What the pixels hold when the world is made: transparent black, or
    // whatever the memory held, for a world that is written entirely next.
    enum class Start { Black, Undefined };

    // A world with memory of its own.
    HostWorld(int width, int height, Depth depth);
    // A world whose memory comes from `pool`.
    HostWorld(int width, int height, Depth depth, MemoryPool& pool, Start start);
    // A world showing the rows of `image` without copying them, which it
    // keeps alive; only for an image that canShow() accepts.
    explicit HostWorld(const HostImage& image);
    // Whether `image` has a world's rows (HostImage::worldLayout) at `depth`.
    static bool canShow(const HostImage& image, Depth depth);
    HostWorld(const HostWorld&) = delete;
    // The pixels stay where they are: world().data remains valid.
    HostWorld(HostWorld&&) = default;
    HostWorld& operator=(const HostWorld&) = delete;

    PF_EffectWorld& world() { return world_; }
    const PF_EffectWorld& world() const { return world_; }
    Depth depth() const { return depth_; }
    PF_PixelFormat format() const { return pixelFormat(depth_); }

    // Copies an image of the world's size in (converting its depth) or out.
    void load(const HostImage& image);
    HostImage read() const;
    // The world's pixels as an image, without copying them; the world is
    // left without pixels.
    HostImage release();
    // True when no byte beyond width x pixel size in any row was written.
    bool paddingIntact() const;

private:
    std::size_t usedBytes() const;
    void setUp(int width, int height, Start start);
    void describe(std::byte* data, std::size_t rowBytes, int width, int height);
    std::byte* storage() const { return reinterpret_cast<std::byte*>(world_.data); }

    Depth depth_;
    std::unique_ptr<MemoryPool> ownPool_;  // for a world made without a pool
    MemoryPool::Block storage_;
    std::shared_ptr<void> shown_;  // the pixels of the image shown, if any
    PF_EffectWorld world_ {};
};

}  // namespace Quarn::Host
