#pragma once
// Image memory from the host: the image library's host-memory interface over
// the memory-handle callbacks of one command. The entry point makes it
// current on the command's thread for the length of the command, so every
// image a command makes is a handle the host counts.
#include "qrHostMemory.h"

#include <AE_Effect.h>

namespace Quarn::AfterEffects {

class HostMemory : public Memory::HostMemoryI {
public:
    explicit HostMemory(PF_InData* in) : in_(in) { }

    void* newHandle(std::size_t bytes) override;
    void* lock(void* handle) override;
    void unlock(void* handle) override;
    void dispose(void* handle) override;

    // False when the command carries no memory callbacks.
    bool usable() const { return in_ && in_->utils && in_->utils->host_new_handle; }

private:
    PF_InData* in_;
};

}  // namespace Quarn::AfterEffects
