#pragma once
// The memory of one image. With a current host memory (qrHostMemory.h) the
// block comes from the host's handle callbacks: it is allocated, locked for
// the handle's lifetime, and unlocked and disposed of when the last reference
// goes. The host's handle is kept in the first slot of the block and the
// pixels follow it. Without a host the block is plain aligned memory.
#include "qrHostMemory.h"
#include "qrMemoryHandle.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace Quarn::Image {

class DataHandle : public Memory::Handle {
public:
    // Pixel data starts on this boundary, host or not.
    static constexpr std::size_t kAlignment = 16;
    // Bytes asked of the host beyond the image. The slot holding the host's
    // handle is pointer-sized (a 32-bit build would need only 4 bytes), and
    // the data after it is rounded up to kAlignment whatever the host's own
    // alignment, hence the extra kAlignment - 1.
    static constexpr std::size_t kHostOverhead = sizeof(void*) + kAlignment - 1;
    // No image is this large; bigger requests (overflowed sizes) are refused
    // before any allocator sees them. A 32-bit process has half its address
    // space at most.
    static constexpr std::size_t kLargestBlock =
        std::size_t(std::min<std::uint64_t>(std::uint64_t(1) << 40, SIZE_MAX / 2));

    // Starts with count 1. Throws OutOfMemory ("Image allocation") when the
    // host or the process has no memory for `bytes`.
    explicit DataHandle(std::size_t bytes);
    ~DataHandle() override;
    DataHandle(const DataHandle&) = delete;
    DataHandle& operator=(const DataHandle&) = delete;

    void* data() override { return data_; }
    std::size_t size() const { return size_; }

private:
    void allocateFromHost(Memory::HostMemoryI& host);
    void allocatePlain();

    std::size_t size_;
    Memory::HostMemoryI* host_;  // the allocator to give the block back to
    void* hostHandle_ = nullptr;
    void* data_ = nullptr;
};

}  // namespace Quarn::Image
