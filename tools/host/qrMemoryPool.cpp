#include "qrMemoryPool.h"

#include <limits>

namespace Quarn::Host {

struct Shelf {
    struct Idle {
        std::unique_ptr<std::byte[]> data;
        std::size_t capacity;
    };
    // More idle blocks than a frame of this plug-in ever holds at once; the
    // oldest beyond it are freed, so sizes that stop recurring do not pile up.
    static constexpr std::size_t kMaxIdle = 64;

    void giveBack(std::unique_ptr<std::byte[]> data, std::size_t capacity)
    {
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back({std::move(data), capacity});
        if (idle.size() > kMaxIdle)
            idle.erase(idle.begin());
    }

    std::mutex mutex;
    std::vector<Idle> idle;  // oldest first
};

MemoryPool::MemoryPool() : shelf_(std::make_shared<Shelf>())
{
}

MemoryPool::Block& MemoryPool::Block::operator=(Block&& other) noexcept
{
    if (this != &other) {
        release();
        shelf_ = std::move(other.shelf_);
        data_ = std::move(other.data_);
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.size_ = other.capacity_ = 0;
    }
    return *this;
}

void MemoryPool::Block::release()
{
    if (auto shelf = shelf_.lock(); shelf && data_)
        shelf->giveBack(std::move(data_), capacity_);
    data_.reset();
    shelf_.reset();
    size_ = capacity_ = 0;
}

MemoryPool::Block MemoryPool::take(std::size_t bytes)
{
    Block block;
    block.shelf_ = shelf_;
    block.size_ = bytes;
    {
        std::lock_guard<std::mutex> lock(shelf_->mutex);
        std::vector<Shelf::Idle>& idle = shelf_->idle;
        std::size_t best = idle.size();
        std::size_t bestCapacity = std::numeric_limits<std::size_t>::max();
        for (std::size_t i = 0; i < idle.size(); ++i) {
            const std::size_t capacity = idle[i].capacity;
            if (capacity >= bytes && capacity / 2 <= bytes && capacity < bestCapacity) {
                best = i;
                bestCapacity = capacity;
            }
        }
        if (best < idle.size()) {
            block.data_ = std::move(idle[best].data);
            block.capacity_ = bestCapacity;
            idle.erase(idle.begin() + std::ptrdiff_t(best));
            return block;
        }
    }
    // A zero-size block still gets a distinct address, as a real allocator's.
    block.capacity_ = bytes ? bytes : 1;
    block.data_.reset(new std::byte[block.capacity_]);
    return block;
}

std::size_t MemoryPool::idleBlocks() const
{
    std::lock_guard<std::mutex> lock(shelf_->mutex);
    return shelf_->idle.size();
}

}  // namespace Quarn::Host
