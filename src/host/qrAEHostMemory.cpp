#include "qrAEHostMemory.h"

namespace Quarn::AfterEffects {

void* HostMemory::newHandle(std::size_t bytes)
{
    return usable() ? PF_NEW_HANDLE(in_, bytes) : nullptr;
}

void* HostMemory::lock(void* handle)
{
    return usable() && handle ? PF_LOCK_HANDLE(in_, static_cast<PF_Handle>(handle)) : nullptr;
}

void HostMemory::unlock(void* handle)
{
    if (usable() && handle)
        PF_UNLOCK_HANDLE(in_, static_cast<PF_Handle>(handle));
}

void HostMemory::dispose(void* handle)
{
    if (usable() && handle)
        PF_DISPOSE_HANDLE(in_, static_cast<PF_Handle>(handle));
}

}  // namespace Quarn::AfterEffects
