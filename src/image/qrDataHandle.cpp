#include "qrDataHandle.h"

#include "qrException.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace Quarn::Image {

namespace {

[[noreturn]] void throwOutOfMemory()
{
    throw Exceptions::OutOfMemory(
        "Quarn::Image::DataHandle::DataHandle", "src/qrImage", 96, "Image allocation");
}

}  // namespace

DataHandle::DataHandle(std::size_t bytes) : size_(bytes), host_(Memory::currentHostMemory())
{
    if (bytes > kLargestBlock)
        throwOutOfMemory();
    if (host_)
        allocateFromHost(*host_);
    else
        allocatePlain();
}

DataHandle::~DataHandle()
{
    if (host_) {
        host_->unlock(hostHandle_);
        host_->dispose(hostHandle_);
    } else {
        ::operator delete(data_, std::align_val_t(kAlignment));
    }
}

void DataHandle::allocateFromHost(Memory::HostMemoryI& host)
{
    hostHandle_ = host.newHandle(size_ + kHostOverhead);
    if (!hostHandle_)
        throwOutOfMemory();
    auto* block = static_cast<unsigned char*>(host.lock(hostHandle_));
    if (!block) {
        host.dispose(hostHandle_);
        throwOutOfMemory();
    }
    std::memcpy(block, &hostHandle_, sizeof(void*));
    const auto first = reinterpret_cast<std::uintptr_t>(block + sizeof(void*));
    const auto aligned = (first + kAlignment - 1) & ~std::uintptr_t(kAlignment - 1);
    data_ = block + sizeof(void*) + (aligned - first);
}

void DataHandle::allocatePlain()
{
    data_ = ::operator new(size_ ? size_ : 1, std::align_val_t(kAlignment), std::nothrow);
    if (!data_)
        throwOutOfMemory();
}

}  // namespace Quarn::Image
