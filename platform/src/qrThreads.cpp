#include "qrThreads.h"

#include <system_error>

namespace Quarn::Platform {

int32_t processorCount()
{
    const unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : int32_t(count);
}

ThreadId currentThreadId()
{
    return std::this_thread::get_id();
}

Thread::~Thread()
{
    // Destroying a running std::thread terminates the process; a thread that
    // was never joined is joined here instead.
    join();
}

bool Thread::start(Entry entry, void* argument)
{
    if (thread_.joinable())
        return false;
    try {
        thread_ = std::thread(entry, argument);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Thread::join()
{
    if (thread_.joinable())
        thread_.join();
}

}  // namespace Quarn::Platform
