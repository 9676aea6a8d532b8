// A world (image buffer) that the host owns and lends to the plug-in. Rows
// are padded beyond width x pixel size, and the padding holds a known byte
// pattern, so a plug-in that steps rows by anything but rowbytes is caught.
#pragma once

#include "qrHostImage.h"
#include "qrMemoryPool.h"

#include <AE_EffectTypes.h>

#include <cstddef>
#include <vector>

namespace Quarn::Host {

class HostWorld {
public:
    static constexpr std::byte kPadByte {0xA5};

    // What the pixels hold when the world is made: transparent black, or
    // whatever the memory held, for a world that is written entirely next.
    enum class Start { Black, Undefined };

    // A world with memory of its own.
    HostWorld(int width, int height, Depth depth);
    // A world whose memory comes from `pool` (which must outlive it).
    HostWorld(int width, int height, Depth depth, MemoryPool& pool, Start start);
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
    // True when no byte beyond width x pixel size in any row was written.
    bool paddingIntact() const;

private:
    std::size_t usedBytes() const;
    void setUp(int width, int height, Start start);
    std::byte* storage() { return storage_.data(); }
    const std::byte* storage() const { return storage_.data(); }

    Depth depth_;
    std::unique_ptr<MemoryPool> ownPool_;  // for a world made without a pool
    MemoryPool::Block storage_;
    PF_EffectWorld world_ {};
};

}  // namespace Quarn::Host
