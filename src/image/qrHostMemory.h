#pragma once
// The host's memory-handle callbacks, seen through a small interface of our
// own. The plug-in makes its host's allocator current for the length of one
// host command on the thread that received it; image memory allocated on that
// thread then comes from the host. Everywhere else (worker threads, tools,
// tests) there is no current host memory and images use process memory.
#include <cstddef>

namespace Quarn::Memory {

class HostMemoryI {
public:
    virtual ~HostMemoryI() = default;
    // A new movable block of `bytes`, or null when the host has none.
    virtual void* newHandle(std::size_t bytes) = 0;
    // Pins the block and returns its address (null on failure).
    virtual void* lock(void* handle) = 0;
    virtual void unlock(void* handle) = 0;
    virtual void dispose(void* handle) = 0;
};

// The calling thread's current host memory, or null.
HostMemoryI* currentHostMemory();
void setCurrentHostMemory(HostMemoryI* memory);

// Makes `memory` current on this thread for the scope's lifetime and then
// restores whatever was current before.
class ScopedHostMemory {
public:
    explicit ScopedHostMemory(HostMemoryI* memory) : previous_(currentHostMemory())
    {
        setCurrentHostMemory(memory);
    }
    ~ScopedHostMemory() { setCurrentHostMemory(previous_); }
    ScopedHostMemory(const ScopedHostMemory&) = delete;
    ScopedHostMemory& operator=(const ScopedHostMemory&) = delete;

private:
    HostMemoryI* previous_;
};

}  // namespace Quarn::Memory
