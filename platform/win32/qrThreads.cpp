// Threads over the Win32 kernel objects: CreateThread, a semaphore, a mutex
// and WaitForSingleObject without time-out.
#include "qrThreads.h"

#include <windows.h>

#include <new>

namespace Quarn::Platform {

namespace {

struct Start {
    Thread::Entry entry;
    void* argument;
};

DWORD WINAPI threadMain(LPVOID startPointer)
{
    const Start start = *static_cast<Start*>(startPointer);
    delete static_cast<Start*>(startPointer);
    start.entry(start.argument);
    return 0;
}

void waitFor(void* handle)
{
    WaitForSingleObject(static_cast<HANDLE>(handle), INFINITE);
}

}  // namespace

int32_t processorCount()
{
    SYSTEM_INFO info {};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors == 0 ? 1 : int32_t(info.dwNumberOfProcessors);
}

ThreadId currentThreadId()
{
    return ThreadId(GetCurrentThreadId());
}

// A kernel object that cannot be made leaves nothing to run on: the process
// is out of resources, as when the C++ runtime fails to allocate.
Mutex::Mutex() : handle_(CreateMutexW(nullptr, FALSE, nullptr))
{
    if (!handle_)
        throw std::bad_alloc();
}

Mutex::~Mutex()
{
    CloseHandle(static_cast<HANDLE>(handle_));
}

void Mutex::lock()
{
    waitFor(handle_);
}

void Mutex::unlock()
{
    ReleaseMutex(static_cast<HANDLE>(handle_));
}

Semaphore::Semaphore(int32_t maximum)
    : handle_(CreateSemaphoreW(nullptr, 0, maximum < 1 ? 1 : LONG(maximum), nullptr))
{
    if (!handle_)
        throw std::bad_alloc();
}

Semaphore::~Semaphore()
{
    CloseHandle(static_cast<HANDLE>(handle_));
}

void Semaphore::release()
{
    ReleaseSemaphore(static_cast<HANDLE>(handle_), 1, nullptr);
}

void Semaphore::acquire()
{
    waitFor(handle_);
}

Thread::~Thread()
{
    join();
}

bool Thread::start(Entry entry, void* argument)
{
    if (handle_)
        return false;
    auto* startRecord = new (std::nothrow) Start {entry, argument};
    if (!startRecord)
        return false;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, &threadMain, startRecord, 0, &id);
    if (!thread) {
        delete startRecord;
        return false;
    }
    handle_ = thread;
    id_ = ThreadId(id);
    return true;
}

void Thread::join()
{
    if (!handle_)
        return;
    waitFor(handle_);
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    id_ = 0;
}

}  // namespace Quarn::Platform
