#include "qrHandleTable.h"

#include <cstring>

namespace Quarn::Host {

HandleTable::~HandleTable() = default;

PF_Handle HandleTable::allocate(std::size_t size)
{
    if (failCountdown_ > 0 && --failCountdown_ == 0) {
        ++failed_;
        return nullptr;
    }
    Block block;
    block.data = pool_.take(size);
    std::memset(block.data.data(), 0, size);
    block.slot = std::make_unique<void*>(block.data.data());
    PF_Handle handle = block.slot.get();
    blocks_.emplace(handle, std::move(block));
    ++allocations_;
    return handle;
}

PF_Handle HandleTable::allocateCopy(const std::vector<std::byte>& bytes)
{
    PF_Handle handle = allocate(bytes.size());
    if (handle && !bytes.empty())
        std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
}

void* HandleTable::lock(PF_Handle handle)
{
    auto it = blocks_.find(handle);
    if (it == blocks_.end())
        return nullptr;
    ++it->second.locks;
    return *handle;
}

void HandleTable::unlock(PF_Handle handle)
{
    auto it = blocks_.find(handle);
    if (it != blocks_.end() && it->second.locks > 0)
        --it->second.locks;
}

bool HandleTable::dispose(PF_Handle handle)
{
    if (blocks_.erase(handle) == 1)
        return true;
    if (handle)
        ++badDisposals_;
    return false;
}

std::size_t HandleTable::size(PF_Handle handle) const
{
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? 0 : it->second.data.size();
}

std::vector<std::byte> HandleTable::bytes(PF_Handle handle) const
{
    auto it = blocks_.find(handle);
    if (it == blocks_.end())
        return {};
    const MemoryPool::Block& data = it->second.data;
    return std::vector<std::byte>(data.data(), data.data() + data.size());
}

int HandleTable::lockCount(PF_Handle handle) const
{
    auto it = blocks_.find(handle);
    return it == blocks_.end() ? 0 : it->second.locks;
}

}  // namespace Quarn::Host
