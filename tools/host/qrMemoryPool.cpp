#include "qrMemoryPool.h"

#include <limits>

namespace Quarn::Host {

MemoryPool::Block& MemoryPool::Block::operator=(Block&& other) noexcept
{
    if (this != &other) {
        release();
        pool_ = other.pool_;
        data_ = std::move(other.data_);
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.pool_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    return *this;
}

void MemoryPool::Block::release()
{
    if (pool_ && data_)
        pool_->giveBack(std::move(data_), capacity_);
    pool_ = nullptr;
    size_ = capacity_ = 0;
}

MemoryPool::Block MemoryPool::take(std::size_t bytes)
{
    Block block;
    block.pool_ = this;
    block.size_ = bytes;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::size_t best = idle_.size();
        std::size_t bestCapacity = std::numeric_limits<std::size_t>::max();
        for (std::size_t i = 0; i < idle_.size(); ++i) {
            const std::size_t capacity = idle_[i].capacity;
            if (capacity >= bytes && capacity / 2 <= bytes && capacity < bestCapacity) {
                best = i;
                bestCapacity = capacity;
            }
        }
        if (best < idle_.size()) {
            block.data_ = std::move(idle_[best].data);
            block.capacity_ = bestCapacity;
            idle_.erase(idle_.begin() + std::ptrdiff_t(best));
            return block;
        }
    }
    // A zero-size block still gets a distinct address, as a real allocator's.
    block.capacity_ = bytes ? bytes : 1;
    block.data_.reset(new std::byte[block.capacity_]);
    return block;
}

void MemoryPool::giveBack(std::unique_ptr<std::byte[]> data, std::size_t capacity)
{
    std::lock_guard<std::mutex> lock(mutex_);
    idle_.push_back({std::move(data), capacity});
    if (idle_.size() > kMaxIdle)
        idle_.erase(idle_.begin());
}

std::size_t MemoryPool::idleBlocks() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return idle_.size();
}

}  // namespace Quarn::Host
