#pragma once
// Reference-counted blocks of memory. Images hold their pixels through a
// handle so that copies of a texture share one block, which goes back to its
// allocator when the last holder releases it.
#include "qrRefCounter.h"

#include <cstddef>

namespace Quarn::Memory {

class Handle : public QrRefCounter {
public:
    ~Handle() override = default;
    // Start of the memory.
    virtual void* data() = 0;
};

// A handle over plain process memory, aligned for SIMD-friendly loops.
class SimpleHandle : public Handle {
public:
    static constexpr std::size_t kAlignment = 64;

    // Throws OutOfMemory when the block cannot be allocated.
    explicit SimpleHandle(std::size_t bytes);
    ~SimpleHandle() override;
    SimpleHandle(const SimpleHandle&) = delete;
    SimpleHandle& operator=(const SimpleHandle&) = delete;

    void* data() override { return data_; }

private:
    void* data_;
};

}  // namespace Quarn::Memory
