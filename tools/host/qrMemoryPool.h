// Image memory that outlives a frame. Blocks given back are kept and handed
// out again for a later request they fit, as a compositing host's memory
// manager does: a sequence whose frames ask for the same sizes reuses the
// pages of the first frame instead of having fresh ones faulted in (and
// zero-filled by the system) every frame. Blocks come uninitialised.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace Quarn::Host {

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

        MemoryPool* pool_ = nullptr;
        std::unique_ptr<std::byte[]> data_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    MemoryPool() = default;
    MemoryPool(const MemoryPool&) = delete;
    MemoryPool& operator=(const MemoryPool&) = delete;

    // `bytes` of uninitialised memory: an idle block of at least that size
    // (and at most twice it, so a small request does not hold a large block),
    // else a fresh one. Throws std::bad_alloc.
    Block take(std::size_t bytes);

    // Blocks given back and not yet handed out again.
    std::size_t idleBlocks() const;

private:
    struct Idle {
        std::unique_ptr<std::byte[]> data;
        std::size_t capacity;
    };
    // More idle blocks than a frame of this plug-in ever holds at once; the
    // oldest beyond it are freed, so sizes that stop recurring do not pile up.
    static constexpr std::size_t kMaxIdle = 64;

    void giveBack(std::unique_ptr<std::byte[]> data, std::size_t capacity);

    mutable std::mutex mutex_;
    std::vector<Idle> idle_;  // oldest first
};

}  // namespace Quarn::Host
