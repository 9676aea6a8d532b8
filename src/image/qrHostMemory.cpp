#include "qrHostMemory.h"

namespace Quarn::Memory {

namespace {
thread_local HostMemoryI* tCurrent = nullptr;
}

HostMemoryI* currentHostMemory()
{
    return tCurrent;
}

void setCurrentHostMemory(HostMemoryI* memory)
{
    tCurrent = memory;
}

}  // namespace Quarn::Memory
