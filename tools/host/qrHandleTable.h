// The host's memory handles. Every handle the plug-in makes is recorded until
// it is disposed, so tests can see leaks, double disposals and foreign
// handles, and can make a chosen allocation fail.
#pragma once

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
  PF_Handle allocate(std::size_t size);
  // The same as allocate, filled with `bytes`.
  PF_Handle allocateCopy(const std::vector<std::byte>& bytes);
  void* lock(PF_Handle handle);
  void unlock(PF_Handle handle);
  // Returns false (and counts it) for a handle the table does not hold.
  bool dispose(PF_Handle handle);

  bool holds(PF_Handle handle) const { return blocks_.count(handle) != 0; }
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
    std::vector<std::byte> data;
    int locks = 0;
  };

  std::map<PF_Handle, Block> blocks_;
  int allocations_ = 0;
  int failed_ = 0;
  int badDisposals_ = 0;
  int failCountdown_ = 0;
};

}  // namespace Quarn::Host
