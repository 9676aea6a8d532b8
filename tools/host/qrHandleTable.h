// The host's memory handles. Every handle the plug-in makes is recorded until
// it is disposed, so tests can see leaks, double disposals and foreign
// handles, and can make a chosen allocation fail. Disposed blocks go back
// to the table's memory pool for the next allocation of their size.
#pragma once

#include "qrMemoryPool.h"

#include <AE_EffectTypes.h>

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

namespace Quarn::Host {

class HandleTable {
public:
    HandleTable() = default;
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;
    ~HandleTable();

    // A zeroed block of `size` bytes, or nullptr when the failure hook fires.
    // Plug-ins rely on new handles reading as zeros; clearing a reused block
    // is still far cheaper than faulting in fresh pages.
    PF_Handle allocate(std::size_t size);
    // The same as allocate, filled with `bytes`.
    PF_Handle allocateCopy(const std::vector<std::byte>& bytes);
    void* lock(PF_Handle handle);
    void unlock(PF_Handle handle);
    // Returns false (and counts it) for a handle the table does not hold.
    bool dispose(PF_Handle handle);

    bool holds(PF_Handle handle) const { return blocks_.count(handle) != 0; }
    const MemoryPool& pool() const { return pool_; }
    std::size_t size(PF_Handle handle) const;
    std::vector<std::byte> bytes(PF_Handle handle) const;

    // The n-th allocation from now (1 = the next) fails, once.
    void failAllocation(int n) { failCountdown_ = n; }

    std::size_t liveCount() const { return blocks_.size(); }
    int allocations() const { return allocations_; }
    int failedAllocations() const { return failed_; }
    int badDisposals() const { return badDisposals_; }
    int lockCount(PF_Handle handle) const;

private:
    struct Block {
        std::unique_ptr<void*> slot;  // the handle points here; *slot is the data
        MemoryPool::Block data;
        int locks = 0;
    };

    MemoryPool pool_;  // outlives the blocks
    std::map<PF_Handle, Block> blocks_;
    int allocations_ = 0;
    int failed_ = 0;
    int badDisposals_ = 0;
    int failCountdown_ = 0;
};

}  // namespace Quarn::Host
