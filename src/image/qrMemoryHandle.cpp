#include "qrMemoryHandle.h"

#include "qrException.h"

#include <new>

namespace Quarn::Memory {

SimpleHandle::SimpleHandle(std::size_t bytes)
    : data_(::operator new(bytes ? bytes : 1, std::align_val_t(kAlignment), std::nothrow))
{
    if (!data_)
        throw Exceptions::OutOfMemory(
            "Quarn::Memory::SimpleHandle::SimpleHandle", "src/qrImage", 40, "Memory allocation");
}

SimpleHandle::~SimpleHandle()
{
    ::operator delete(data_, std::align_val_t(kAlignment));
}

}  // namespace Quarn::Memory
