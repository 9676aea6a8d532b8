#pragma once
// Threads and synchronisation for the layers above: the processor count, a
// mutex, a counting semaphore and joinable threads. Everything that talks to
// the operating system about threads goes through here; each platform layer
// implements these over its own system objects, held by an opaque handle.
#include <cstdint>

namespace Quarn::Platform {

// The number of processors the operating system reports; at least 1.
int32_t processorCount();

// A number naming a running thread, unique among the threads alive.
using ThreadId = std::uintptr_t;
ThreadId currentThreadId();

// Unnamed, not owned on creation; lock waits without time-out.
class Mutex {
public:
    Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    ~Mutex();

    void lock();
    void unlock();

private:
    void* handle_;
};

// Starts at 0 units and holds at most `maximum`. acquire waits without
// time-out for one unit.
class Semaphore {
public:
    static constexpr int32_t kNoMaximum = INT32_MAX;

    explicit Semaphore(int32_t maximum = kNoMaximum);
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;
    ~Semaphore();

    void release();
    void acquire();

private:
    void* handle_;
};

// One worker thread running entry(argument). A thread still running when it
// is destroyed is joined first.
class Thread {
public:
    using Entry = void (*)(void* argument);

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread();

    // False when the system cannot create another thread (or this one is
    // already started).
    bool start(Entry entry, void* argument);
    void join();
    bool isStarted() const { return handle_ != nullptr; }
    ThreadId id() const { return id_; }

private:
    void* handle_ = nullptr;
    ThreadId id_ = 0;
};

}  // namespace Quarn::Platform
