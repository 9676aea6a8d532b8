// Threads over the C++ standard library (POSIX threads underneath).
#include "qrThreads.h"

#include <pthread.h>

#include <mutex>
#include <semaphore>
#include <system_error>
#include <thread>

namespace Quarn::Platform {

namespace {

using CountingSemaphore = std::counting_semaphore<Semaphore::kNoMaximum>;

std::mutex& mutexOf(void* handle)
{
    return *static_cast<std::mutex*>(handle);
}

CountingSemaphore& semaphoreOf(void* handle)
{
    return *static_cast<CountingSemaphore*>(handle);
}

}  // namespace

int32_t processorCount()
{
    const unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : int32_t(count);
}

ThreadId currentThreadId()
{
    return ThreadId(pthread_self());
}

Mutex::Mutex() : handle_(new std::mutex) { }
Mutex::~Mutex() { delete &mutexOf(handle_); }
void Mutex::lock() { mutexOf(handle_).lock(); }
void Mutex::unlock() { mutexOf(handle_).unlock(); }

// The standard semaphore's maximum is fixed when compiled; releasing past
// `maximum` is a caller's error either way.
Semaphore::Semaphore(int32_t) : handle_(new CountingSemaphore(0)) { }
Semaphore::~Semaphore() { delete &semaphoreOf(handle_); }
void Semaphore::release() { semaphoreOf(handle_).release(); }
void Semaphore::acquire() { semaphoreOf(handle_).acquire(); }

Thread::~Thread()
{
    join();
}

bool Thread::start(Entry entry, void* argument)
{
    if (handle_)
        return false;
    try {
        auto* thread = new std::thread(entry, argument);
        id_ = ThreadId(thread->native_handle());
        handle_ = thread;
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Thread::join()
{
    if (!handle_)
        return;
    auto* thread = static_cast<std::thread*>(handle_);
    thread->join();
    delete thread;
    handle_ = nullptr;
    id_ = 0;
}

}  // namespace Quarn::Platform
