#include "qrMultiProcessor.h"

#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrThreads.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

namespace Platform = Quarn::Platform;
namespace Ex = Quarn::Exceptions;

constexpr const char* kSource = "src/qrMultiProcessor";
constexpr const char* kWorkerFunction = "QrMultiProcessor::sampleForkStatic";
constexpr const char* kPassFunction = "QrMultiProcessor::multiThreadSample";

// Cached processor count; 0 until the operating system has been asked.
std::atomic<int32_t> gProcessorCount {0};

// QUARN_MAX_PROCESSORS as parsed; kUnread until first needed.
constexpr int32_t kUnread = -1;
std::atomic<int32_t> gMaxProcessors {kUnread};

int32_t cachedProcessorCount()
{
    int32_t count = gProcessorCount.load();
    if (count == 0) {
        count = Platform::processorCount();
        gProcessorCount.store(count);
    }
    return count;
}

int32_t maxProcessors()
{
    int32_t limit = gMaxProcessors.load();
    if (limit == kUnread) {
        limit = QrMultiProcessor::parseMaxProcessors(std::getenv("QUARN_MAX_PROCESSORS"));
        gMaxProcessors.store(limit);
    }
    return limit;
}

// The process-wide thread fork: one thread per processor, the calling thread
// being thread 0, all released together through the semaphore. The mutex
// admits one fork at a time; `active` tells passes anywhere in the process
// that a fork is running so that they stay on their own thread.
class ThreadFork {
public:
    using Function = void (*)(void* argument);

    static ThreadFork& instance()
    {
        static ThreadFork fork;
        return fork;
    }

    bool isActive() const { return active_.load(); }

    // Index of the calling thread among the running fork's threads; 0 when it
    // is not one of them. Only meaningful on a thread taking part in a fork.
    int32_t indexOfCurrentThread() const
    {
        const Platform::ThreadId self = Platform::currentThreadId();
        for (size_t i = 0; i < ids_.size(); ++i)
            if (ids_[i] == self)
                return int32_t(i);
        return 0;
    }

    // Runs function(argument) once on every thread and returns when all have
    // returned. False when the worker threads could not be created; then the
    // function has not been called at all.
    bool run(Function function, void* argument)
    {
        const int32_t count = cachedProcessorCount();
        if (count < 2) {
            function(argument);
            return true;
        }
        std::lock_guard<Platform::Mutex> lock(mutex_);
        Job job {function, argument, false};
        std::vector<Platform::Thread> threads;
        Platform::Semaphore* semaphore = nullptr;
        try {
            semaphore = &semaphoreFor(count);
            threads = std::vector<Platform::Thread>(size_t(count - 1));
            ids_.assign(size_t(count), Platform::currentThreadId());
        } catch (const std::bad_alloc&) {
            return false;
        }
        active_.store(true);
        size_t started = 0;
        while (started < threads.size() && threads[started].start(&workerEntry, &job)) {
            ids_[started + 1] = threads[started].id();
            ++started;
        }
        const bool complete = started == threads.size();
        job.abandoned = !complete;
        // The semaphore hands out one unit per thread, the caller's included;
        // releasing it publishes the id array and the job to the workers.
        for (size_t i = 0; i < started; ++i)
            semaphore->release();
        if (complete) {
            semaphore->release();
            semaphore->acquire();
            function(argument);
        }
        for (Platform::Thread& thread : threads)
            thread.join();
        ids_.clear();
        active_.store(false);
        return complete;
    }

private:
    struct Job {
        Function function;
        void* argument;
        bool abandoned;
    };

    static void workerEntry(void* jobPointer)
    {
        Job& job = *static_cast<Job*>(jobPointer);
        instance().semaphore_->acquire();
        if (!job.abandoned)
            job.function(job.argument);
    }

    // The semaphore, made by the first fork with the processor count as its
    // maximum (a fork releases at most that many units before they are
    // taken). Only the test hook that changes the count can ask for more;
    // the semaphore is then made anew, between forks, when no unit is left.
    Platform::Semaphore& semaphoreFor(int32_t count)
    {
        if (!semaphore_ || semaphoreMaximum_ < count) {
            semaphore_ = std::make_unique<Platform::Semaphore>(count);
            semaphoreMaximum_ = count;
        }
        return *semaphore_;
    }

    Platform::Mutex mutex_;
    std::unique_ptr<Platform::Semaphore> semaphore_;
    int32_t semaphoreMaximum_ = 0;
    std::atomic<bool> active_ {false};
    std::vector<Platform::ThreadId> ids_;
};

// Sets the exception stack's thread index for the length of a band.
class StackThreadIndex {
public:
    explicit StackThreadIndex(int32_t index) : previous_(Ex::Stack::threadIndex())
    {
        Ex::Stack::setThreadIndex(index);
    }
    ~StackThreadIndex() { Ex::Stack::setThreadIndex(previous_); }
    StackThreadIndex(const StackThreadIndex&) = delete;
    StackThreadIndex& operator=(const StackThreadIndex&) = delete;

private:
    int32_t previous_;
};

// Records a worker's failure; recording is best effort, since nothing may
// leave a worker thread.
template <class MakeException> void recordFailure(int32_t line, MakeException make) noexcept
{
    try {
        Ex::Stack::record(make(), kWorkerFunction, kSource, line);
    } catch (...) {
    }
}

}  // namespace

bool QrInterruptible::isInterrupted() const
{
    if (!interrupt_)
        return false;
    if (interrupt_->interrupted.load() != 0)
        return true;
    if (!interrupt_->check)
        return false;
    const int32_t result = interrupt_->check(interrupt_->context, &interrupt_->reason);
    // Only a positive answer is stored: storing 0 could wipe out an
    // interruption that a failing worker set in the meantime.
    if (result != 0)
        interrupt_->interrupted.store(result);
    return result != 0;
}

bool QrInterruptible::setInterrupted(int32_t reason) const
{
    if (!interrupt_)
        return false;
    interrupt_->reason.store(reason);
    interrupt_->interrupted.store(1);
    return true;
}

void QrProgressible::reportProgress(float fraction) const
{
    if (progressSink_)
        progressSink_->progress(progressStart_ + (progressEnd_ - progressStart_) * fraction);
}

void QrMultiProcessor::runPasses()
{
    for (currentPass_ = 0; currentPass_ < passCount_; ++currentPass_)
        runPass();
}

void QrMultiProcessor::run()
{
    beginProcess();
    runPasses();
    endProcess();
}

int32_t QrMultiProcessor::threadCount() const
{
    if (!multiThreaded_)
        return 1;
    const int32_t processors = processorCount();
    const int32_t limit = maxProcessors();
    return limit == 0 ? processors : std::min(limit, processors);
}

int32_t QrMultiProcessor::processorCount() const
{
    return cachedProcessorCount();
}

int32_t QrMultiProcessor::threadIndex() const
{
    if (!multiThreaded_ || !runningThreaded_.load())
        return 0;
    return ThreadFork::instance().indexOfCurrentThread();
}

void QrMultiProcessor::bandRows(int32_t first, int32_t end, int32_t& bandFirst, int32_t& bandEnd) const
{
    splitBand(first, end, threadIndex(), threadCount(), isRunningThreaded(), bandFirst, bandEnd);
}

void QrMultiProcessor::splitBand(int32_t first, int32_t end, int32_t index, int32_t count, bool threaded,
    int32_t& bandFirst, int32_t& bandEnd)
{
    bandFirst = first;
    bandEnd = end;
    if (!threaded || index < 0 || count <= 0)
        return;
    // 64-bit so that per * index cannot overflow for threads past the limit.
    const int64_t total = std::max<int64_t>(int64_t(end) - first, 0);
    const int64_t per = (total + count - 1) / count;
    const int64_t start = std::min(per * index, total);
    bandEnd = index == count - 1 ? end : int32_t(first + std::min(start + per, total));
    // Threads past the last band get an empty band at the end of the range.
    bandFirst = int32_t(std::min<int64_t>(first + start, bandEnd));
}

int32_t QrMultiProcessor::parseMaxProcessors(const char* value)
{
    if (!value || std::strlen(value) > 3)
        return 0;
    const long parsed = std::strtol(value, nullptr, 10);
    return parsed < 0 ? 1 : int32_t(parsed);
}

void QrMultiProcessor::overrideProcessorCount(int32_t count)
{
    gProcessorCount.store(std::max(count, 0));
}

void QrMultiProcessor::resetMaxProcessorsForTesting()
{
    gMaxProcessors.store(kUnread);
}

void QrMultiProcessor::runPass()
{
    if (isInterrupted())
        return;
    beginPass();
    if (isInterrupted())
        return;
    status_.store(kOk);
    ThreadFork& fork = ThreadFork::instance();
    if (!multiThreaded_ || fork.isActive()) {
        processBand();
    } else {
        runningThreaded_.store(true);
        const bool forked =
            fork.run([](void* self) { sampleForkStatic(static_cast<QrMultiProcessor*>(self)); }, this);
        runningThreaded_.store(false);
        // Without worker threads the whole range is one band on this thread.
        if (!forked)
            processBand();
    }
    endPass();
    const int32_t status = status_.exchange(kOk);
    if (status == kThreadFailed)
        throw Ex::Thread::ThreadFailed(kPassFunction, kSource, 100, "thread failed");
    if (status == kOutOfMemory)
        throw Ex::OutOfMemory(kPassFunction, kSource, 105);
}

// Worker entry: one band on one thread. A failure is recorded under the
// worker's index, stops the other bands through the interrupt record and is
// rethrown by the calling thread once every thread has joined.
void QrMultiProcessor::sampleForkStatic(QrMultiProcessor* self)
{
    const StackThreadIndex stackIndex(self->threadIndex());
    auto fail = [self](int32_t status) {
        self->setInterrupted(status);
        self->status_.store(status);
    };
    try {
        self->processBand();
    } catch (const Ex::OutOfMemory& e) {
        fail(kOutOfMemory);
        recordFailure(57, [&e]() -> const Ex::ExceptionI& { return e; });
    } catch (const Ex::ExceptionI& e) {
        fail(kThreadFailed);
        recordFailure(63, [&e]() -> const Ex::ExceptionI& { return e; });
    } catch (const std::bad_alloc&) {
        fail(kOutOfMemory);
        recordFailure(
            70, [] { return Ex::OutOfMemory(kWorkerFunction, kSource, 69, "caught std::bad_alloc"); });
    } catch (const std::exception& e) {
        fail(kThreadFailed);
        recordFailure(77, [&e] { return Ex::Thread::ThreadFailed(kWorkerFunction, kSource, 76, e.what()); });
    } catch (...) {
        fail(kThreadFailed);
        recordFailure(
            81, [] { return Ex::Thread::ThreadFailed(kWorkerFunction, kSource, 80, "unknown exception"); });
    }
}
