#include "qrAEHandle.h"

#include <cstring>

namespace Quarn::AfterEffects {

PF_Handle newHandle(PF_InData* in, std::size_t bytes)
{
    if (!in || !in->utils || !in->utils->host_new_handle)
        return nullptr;
    PF_Handle handle = PF_NEW_HANDLE(in, bytes);
    if (handle) {
        LockedHandle locked(in, handle);
        if (locked.data())
            std::memset(locked.data(), 0, bytes);
    }
    return handle;
}

void disposeHandle(PF_InData* in, PF_Handle handle)
{
    if (in && in->utils && handle)
        PF_DISPOSE_HANDLE(in, handle);
}

std::size_t handleSize(PF_InData* in, PF_Handle handle)
{
    return in && in->utils && handle ? std::size_t(PF_GET_HANDLE_SIZE(in, handle)) : 0;
}

LockedHandle::LockedHandle(PF_InData* in, PF_Handle handle)
    : in_(in), handle_(handle), data_(in && in->utils && handle ? PF_LOCK_HANDLE(in, handle) : nullptr)
{
}

LockedHandle::~LockedHandle()
{
    if (data_)
        PF_UNLOCK_HANDLE(in_, handle_);
}

}  // namespace Quarn::AfterEffects
