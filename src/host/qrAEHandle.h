#pragma once
// Host memory handles of a command: made, locked for a scope, and disposed
// of through the command's memory callbacks.
#include <AE_Effect.h>

#include <cstddef>

namespace Quarn::AfterEffects {

// A new zeroed handle of `bytes`, or null when the host has no memory.
PF_Handle newHandle(PF_InData* in, std::size_t bytes);
void disposeHandle(PF_InData* in, PF_Handle handle);
std::size_t handleSize(PF_InData* in, PF_Handle handle);

// Keeps a handle locked for the lifetime of the object.
class LockedHandle {
public:
    LockedHandle(PF_InData* in, PF_Handle handle);
    ~LockedHandle();
    LockedHandle(const LockedHandle&) = delete;
    LockedHandle& operator=(const LockedHandle&) = delete;

    void* data() const { return data_; }
    template <class T> T* as() const { return static_cast<T*>(data_); }

private:
    PF_InData* in_;
    PF_Handle handle_;
    void* data_;
};

}  // namespace Quarn::AfterEffects
