#include "qrHandleTable.h"

#include <cstring>
#include <system_error>
#include <thread>

namespace Quarn::Host {

namespace {

// Blocks at least this large are cleared by two threads at once: a plug-in
// asks for its frame's working memory (tens of megabytes) on the render's
// thread, and clearing it there alone holds up the whole render.
constexpr std::size_t kSplitClear = std::size_t(8) << 20;

void clear(std::byte* data, std::size_t size)
{
    if (size >= kSplitClear) {
        const std::size_t half = size / 2;
        try {
            std::thread helper([data, half, size] { std::memset(data + half, 0, size - half); });
            std::memset(data, 0, half);
            helper.join();
            return;
        } catch (const std::system_error&) {
            // No second thread: clear it all here.
        }
    }
    std::memset(data, 0, size);
}

}  // namespace

HandleTable::~HandleTable() = default;

PF_Handle HandleTable::allocate(std::size_t size)
{
    if (failCountdown_ > 0 && --failCountdown_ == 0) {
        ++failed_;
        return nullptr;
    }
    Block block;
    block.data = pool_.take(size);
    clear(block.data.data(), size);
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
