// The thread primitives the multi-processor is built on.
#include "qrThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <vector>

namespace {

namespace Platform = Quarn::Platform;

struct Shared {
    Platform::Mutex mutex;
    Platform::Semaphore go;
    long counter = 0;  // guarded by mutex only: a broken lock loses increments
    std::atomic<int> started {0};
    std::vector<Platform::ThreadId> ids;
};

void addUnderLock(void* argument)
{
    auto& shared = *static_cast<Shared*>(argument);
    ++shared.started;
    shared.go.acquire();
    for (int i = 0; i < 10000; ++i) {
        shared.mutex.lock();
        ++shared.counter;
        shared.mutex.unlock();
    }
    shared.mutex.lock();
    shared.ids.push_back(Platform::currentThreadId());
    shared.mutex.unlock();
}

TEST(PlatformThreads, ThreadsWaitForTheSemaphoreAndShareTheMutex)
{
    EXPECT_GE(Platform::processorCount(), 1);
    Shared shared;
    Platform::Thread threads[3];
    for (Platform::Thread& thread : threads) {
        ASSERT_TRUE(thread.start(&addUnderLock, &shared));
        EXPECT_TRUE(thread.isStarted());
        EXPECT_NE(thread.id(), Platform::currentThreadId());
    }
    EXPECT_EQ(shared.counter, 0) << "a thread ran before the semaphore was released";
    for (int i = 0; i < 3; ++i)
        shared.go.release();
    for (Platform::Thread& thread : threads)
        thread.join();
    EXPECT_EQ(shared.started.load(), 3);
    EXPECT_EQ(shared.counter, 30000);
    EXPECT_EQ(std::set<Platform::ThreadId>(shared.ids.begin(), shared.ids.end()).size(), 3u)
        << "threads share an id";
    for (const Platform::Thread& thread : threads)
        EXPECT_FALSE(thread.isStarted()) << "join left the thread running";
}

TEST(PlatformThreads, StartedThreadCannotBeStartedTwiceAndIsJoinedWhenDestroyed)
{
    Shared shared;
    {
        Platform::Thread thread;
        ASSERT_TRUE(thread.start(&addUnderLock, &shared));
        EXPECT_FALSE(thread.start(&addUnderLock, &shared));
        shared.go.release();
    }
    EXPECT_EQ(shared.started.load(), 1);
    EXPECT_EQ(shared.counter, 10000);
}

}  // namespace
