// Image memory that outlives a frame. Blocks given back are kept and handed
// out again for a later request they fit, as a compositing host's memory
// manager does: a sequence whose frames ask for the same sizes reuses the
// pages of the first frame instead of having fresh ones faulted in (and
// zero-filled by the system) every frame. Blocks come uninitialised. A block
// may outlive its pool (an output image handed to the caller); it is then
// freed instead of given back.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace Quarn::Host {

// The idle blocks of a pool, shared with the blocks it handed out so that a
// block can tell whether its pool still exists.
struct Shelf;

class MemoryPool {
public:
    // A block of memory from the pool; given back when it ends.
    class Block {
    public:
        Block() = default;
        Block(Block&& other) noexcept { *this = std::move(other); }
        Block& operator=(Block&& other) noexcept;
        ~Block() { release(); }

        std::byte* data() const { return data_.get(); }
        std::size_t size() const { return size_; }

    private:
        friend class MemoryPool;
        void release();

        std::weak_ptr<struct Shelf> shelf_;
        std::unique_ptr<std::byte[]> data_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    MemoryPool();
    MemoryPool(const MemoryPool&) = delete;
    MemoryPool& operator=(const MemoryPool&) = delete;

    // `bytes` of uninitialised memory: an idle block of at least that size
    // (and at most twice it, so a small request does not hold a large block),
    // else a fresh one. Throws std::bad_alloc.
    Block take(std::size_t bytes);

    // Blocks given back and not yet handed out again.
    std::size_t idleBlocks() const;

private:
    std::shared_ptr<Shelf> shelf_;
};

}  // namespace Quarn::Host
