#pragma once
// Threads and synchronisation for the layers above: the processor count, a
// mutex, a counting semaphore and joinable threads. Everything that talks to
// the operating system about threads goes through here.
#include <cstdint>
#include <mutex>
#include <semaphore>
#include <thread>

namespace Quarn::Platform {

// The number of processors the operating system reports; at least 1.
int32_t processorCount();

using ThreadId = std::thread::id;
ThreadId currentThreadId();

// Unnamed, not owned on creation; lock waits without time-out.
class Mutex {
public:
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::mutex mutex_;
};

// Starts at 0 units. acquire waits without time-out for one unit.
class Semaphore {
public:
    void release() { units_.release(); }
    void acquire() { units_.acquire(); }

private:
    std::counting_semaphore<> units_ {0};
};

// One worker thread running entry(argument). A started thread must be joined
// before it is destroyed.
class Thread {
public:
    using Entry = void (*)(void* argument);

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread();

    // False when the system cannot create another thread.
    bool start(Entry entry, void* argument);
    void join();
    bool isStarted() const { return thread_.joinable(); }
    ThreadId id() const { return thread_.get_id(); }

private:
    std::thread thread_;
};

}  // namespace Quarn::Platform
