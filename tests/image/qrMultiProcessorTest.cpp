// Passes, bands and worker threads of the multi-processor: how rows are split,
// how QUARN_MAX_PROCESSORS limits the split, and how interruptions and worker
// failures come back to the calling thread.
#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"
#include "qrMultiProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <new>
#include <stdexcept>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

namespace Ex = Quarn::Exceptions;

// Simulates a four-processor machine and a clean QUARN_MAX_PROCESSORS.
class MultiProcessorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Quarn::Errors::Initialise();
        Ex::Stack::clear();
        setMaxProcessors(nullptr);
        QrMultiProcessor::overrideProcessorCount(4);
    }
    void TearDown() override
    {
        Ex::Stack::clear();
        setMaxProcessors(nullptr);
        QrMultiProcessor::overrideProcessorCount(0);
    }
    static void setMaxProcessors(const char* value)
    {
        value ? setenv("QUARN_MAX_PROCESSORS", value, 1) : unsetenv("QUARN_MAX_PROCESSORS");
        QrMultiProcessor::resetMaxProcessorsForTesting();
    }
};

// What one processBand call saw.
struct BandCall {
    std::thread::id thread;
    int32_t index, count;
    bool threaded;
    int32_t first, end;
};

// A processor whose band work is a callback; it logs every band it is given
// over the rows [top, end).
class LoggingProcessor : public QrMultiProcessor {
public:
    explicit LoggingProcessor(int32_t end, QrInterruptRecord* record = nullptr)
        : QrMultiProcessor(record), end_(end)
    {
    }
    std::function<void(const BandCall&)> work;
    std::vector<std::string> events;
    int32_t top = 0;

    std::vector<BandCall> calls() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

    void beginProcess() override { events.push_back("beginProcess"); }
    void endProcess() override { events.push_back("endProcess"); }
    void beginPass() override { events.push_back("beginPass " + std::to_string(currentPass())); }
    void endPass() override { events.push_back("endPass"); }

    void processBand() override
    {
        BandCall call {std::this_thread::get_id(), threadIndex(), threadCount(), isRunningThreaded(), 0, 0};
        bandRows(top, end_, call.first, call.end);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(call);
        }
        if (work)
            work(call);
    }

private:
    int32_t end_;
    mutable std::mutex mutex_;
    std::vector<BandCall> calls_;
};

struct SplitCase {
    int32_t first, end, count;
    std::vector<int32_t> sizes;  // rows of the band of each thread index
};

TEST(MultiProcessorBandSplit, BandsAreContiguousAndSizedAsTheTableSays)
{
    const SplitCase cases[] = {
        {0, 10, 4, {3, 3, 3, 1}}, {0, 2, 4, {1, 1, 0, 0}}, {5, 15, 4, {3, 3, 3, 1}}, {0, 8, 2, {4, 4}},
        {0, 7, 1, {7}}, {-3, 4, 3, {3, 3, 1}}, {0, 0, 4, {0, 0, 0, 0}},
        {0, 3, 2, {2, 1, 0, 0}},  // threads 2 and 3 lie past a limit of 2
    };
    for (const SplitCase& c : cases) {
        int32_t expectedFirst = c.first;
        for (int32_t i = 0; i < int32_t(c.sizes.size()); ++i) {
            SCOPED_TRACE("rows " + std::to_string(c.first) + ".." + std::to_string(c.end) + " thread " +
                std::to_string(i) + " of " + std::to_string(c.count));
            int32_t first = 0, end = 0;
            QrMultiProcessor::splitBand(c.first, c.end, i, c.count, true, first, end);
            EXPECT_EQ(std::max(end - first, 0), c.sizes[size_t(i)]);
            if (c.sizes[size_t(i)] > 0) {
                EXPECT_EQ(first, expectedFirst);
                expectedFirst = end;
            }
        }
        EXPECT_EQ(expectedFirst, c.end) << "bands do not cover the range";
    }
    // Unthreaded, or with an invalid index or count, the band is the whole range.
    struct {
        int32_t index, count;
        bool threaded;
    } whole[] = {{1, 4, false}, {-1, 4, true}, {0, 0, true}, {2, -1, true}};
    for (const auto& c : whole) {
        int32_t first = 0, end = 0;
        QrMultiProcessor::splitBand(3, 9, c.index, c.count, c.threaded, first, end);
        EXPECT_EQ(first, 3);
        EXPECT_EQ(end, 9);
    }
}

TEST_F(MultiProcessorTest, EnvironmentLimitsTheThreadCountOfTheProcessors)
{
    struct {
        const char* text;
        int32_t limit;  // as parsed
        int32_t threads;  // on four processors
    } cases[] = {
        {nullptr, 0, 4},
        {"2", 2, 2},
        {"999", 999, 4},
        {"1000", 0, 4},
        {"0", 0, 4},
        {"abc", 0, 4},
        {"-3", 1, 1},
        {"-99", 1, 1},
        {"", 0, 4},
        {"1", 1, 1},
    };
    LoggingProcessor processor(1);
    for (const auto& c : cases) {
        const char* name = c.text ? c.text : "(unset)";
        EXPECT_EQ(QrMultiProcessor::parseMaxProcessors(c.text), c.limit) << name;
        setMaxProcessors(c.text);
        EXPECT_EQ(processor.threadCount(), c.threads) << name;
        EXPECT_EQ(processor.processorCount(), 4);
    }
    setenv("QUARN_MAX_PROCESSORS", "3", 1);
    EXPECT_EQ(processor.threadCount(), 1) << "the environment is read once per process";
    processor.setMultiThreaded(false);
    setMaxProcessors(nullptr);
    EXPECT_EQ(processor.threadCount(), 1) << "switch off must mean one thread";
}

// Whatever the processors, the limit and the switch, a run makes one band
// call per processor when it forks (the caller is index 0; every call sees
// the limited thread count) and one call on the caller otherwise, and every
// row of the range is in exactly one band.
TEST_F(MultiProcessorTest, EveryRowIsInOneBandForEveryThreadSetup)
{
    struct {
        int32_t processors;
        const char* limit;
        bool multiThreaded;
        int32_t calls, count;
    } setups[] = {{4, "1", true, 4, 1}, {4, "2", true, 4, 2}, {4, nullptr, true, 4, 4},
        {2, nullptr, true, 2, 2}, {3, nullptr, true, 3, 3}, {1, nullptr, true, 1, 1}, {8, "3", true, 8, 3},
        {4, nullptr, false, 1, 1}};
    const int32_t top = 2, end = 35;
    for (const auto& s : setups) {
        SCOPED_TRACE(std::to_string(s.processors) + " processors, limit " + (s.limit ? s.limit : "unset") +
            (s.multiThreaded ? "" : ", switched off"));
        QrMultiProcessor::overrideProcessorCount(s.processors);
        setMaxProcessors(s.limit);
        LoggingProcessor processor(end);
        processor.top = top;
        processor.setMultiThreaded(s.multiThreaded);
        processor.run();
        EXPECT_FALSE(processor.isRunningThreaded());
        const std::vector<BandCall> calls = processor.calls();
        ASSERT_EQ(int32_t(calls.size()), s.calls);
        std::set<std::thread::id> threads;
        std::set<int32_t> indices;
        std::vector<int> writes(size_t(end + 2), 0);
        for (const BandCall& call : calls) {
            threads.insert(call.thread);
            indices.insert(call.index);
            EXPECT_EQ(call.count, s.count);
            EXPECT_TRUE(call.threaded || s.calls == 1);
            EXPECT_TRUE(call.index != 0 || call.thread == std::this_thread::get_id())
                << "caller must be thread 0";
            for (int32_t y = call.first; y < call.end; ++y)
                ++writes[size_t(y)];
        }
        EXPECT_EQ(int32_t(threads.size()), s.calls);
        EXPECT_EQ(int32_t(indices.size()), s.calls);
        EXPECT_EQ(*indices.rbegin(), s.calls - 1);
        for (int32_t y = 0; y < end + 2; ++y)
            EXPECT_EQ(writes[size_t(y)], (y >= top && y < end) ? 1 : 0) << "row " << y;
    }
}

TEST_F(MultiProcessorTest, RunCallsTheHooksInOrderForEveryPass)
{
    LoggingProcessor processor(4);
    processor.setPassCount(3);
    processor.run();
    const std::vector<std::string> expected = {"beginProcess", "beginPass 0", "endPass", "beginPass 1",
        "endPass", "beginPass 2", "endPass", "endProcess"};
    EXPECT_EQ(processor.events, expected);
    EXPECT_EQ(processor.calls().size(), 12u) << "three passes over four threads";
}

TEST_F(MultiProcessorTest, NestedPassRunsOnTheCallingWorkerThread)
{
    LoggingProcessor outer(8);
    std::mutex mutex;
    std::vector<std::pair<BandCall, BandCall>> pairs;  // (outer band, inner band)
    outer.work = [&](const BandCall& outerCall) {
        LoggingProcessor inner(6);
        inner.run();
        const std::vector<BandCall> innerCalls = inner.calls();
        std::lock_guard<std::mutex> lock(mutex);
        for (const BandCall& innerCall : innerCalls)
            pairs.emplace_back(outerCall, innerCall);
    };
    outer.run();
    ASSERT_EQ(pairs.size(), 4u) << "each outer band runs exactly one inner band";
    for (const auto& [outerCall, innerCall] : pairs) {
        EXPECT_EQ(
            std::tuple(innerCall.thread, innerCall.threaded, innerCall.index, innerCall.first, innerCall.end),
            std::tuple(outerCall.thread, false, 0, 0, 6));
    }
}

TEST_F(MultiProcessorTest, HostCheckIsAskedAndItsAnswerStops)
{
    struct Host {
        int calls = 0;
        std::atomic<int32_t>* reason = nullptr;
    } host;
    QrInterruptRecord record;
    record.context = &host;
    record.check = [](void* context, std::atomic<int32_t>* reason) -> int32_t {
        auto* h = static_cast<Host*>(context);
        h->reason = reason;
        return ++h->calls >= 2 ? 7 : 0;  // the user aborts at the second question
    };
    LoggingProcessor processor(4, &record);
    processor.run();
    EXPECT_EQ(host.reason, &record.reason);
    EXPECT_EQ(record.interrupted.load(), 7);
    EXPECT_EQ(processor.events, (std::vector<std::string> {"beginProcess", "beginPass 0", "endProcess"}));
    EXPECT_TRUE(processor.calls().empty());
    // Once interrupted, a pass starts nothing and asks the host no more.
    LoggingProcessor later(4, &record);
    EXPECT_NO_THROW(later.run());
    EXPECT_TRUE(later.calls().empty());
    EXPECT_EQ(later.events, (std::vector<std::string> {"beginProcess", "endProcess"}));
    EXPECT_EQ(host.calls, 2);
}

TEST(MultiProcessorInterrupt, SetInterruptedNeedsARecord)
{
    QrMultiProcessor without;
    EXPECT_FALSE(without.setInterrupted(1002));
    EXPECT_FALSE(without.isInterrupted());

    QrInterruptRecord record;
    QrMultiProcessor with(&record);
    EXPECT_FALSE(with.isInterrupted());
    EXPECT_TRUE(with.setInterrupted(1000));
    EXPECT_TRUE(with.isInterrupted());
    EXPECT_EQ(record.reason.load(), 1000);
}

// Band work that runs `fail` in the band of thread index `failing`.
std::function<void(const BandCall&)> failAt(int32_t failing, std::function<void()> fail)
{
    return [failing, fail](const BandCall& call) {
        if (call.index == failing)
            fail();
    };
}

struct FailureCase {
    const char* name;
    int32_t failing;  // thread index of the failing band
    std::function<void()> fail;
    const char* thrownClass;  // class of what the caller catches
    int32_t thrownLine;
    int32_t status;  // reason left in the interrupt record
    const char* recordedClass;  // class of what the worker recorded
    const char* recordedFunction;  // where the recorded exception was made
    int32_t recordedLine;
    int32_t siteLine;  // catch site line in the report
    const char* note;  // further text the report must hold
};

const char* const kWorker = "QrMultiProcessor::sampleForkStatic";

const FailureCase kFailures[] = {
    {"OutOfMemory", 2, [] { throw Ex::OutOfMemory("Band::work", "src/band", 12); }, "OutOfMemory", 105, 1000,
        "OutOfMemory", "Band::work", 12, 57, ""},
    {"other framework exception", 2, [] { throw Ex::BadValue("Band::work", "src/band", 12, "x"); },
        "ThreadFailed", 100, 1002, "BadValue", "Band::work", 12, 63, "'x' is a bad value."},
    {"framework exception on the caller", 0, [] { throw Ex::NullPointer("f", "src/f", 1, "p"); },
        "ThreadFailed", 100, 1002, "NullPointer", "f", 1, 63, "'p' is null"},
    {"std::bad_alloc", 2, [] { throw std::bad_alloc(); }, "OutOfMemory", 105, 1000, "OutOfMemory", kWorker,
        69, 70, "caught std::bad_alloc"},
    {"std::exception", 3, [] { throw std::runtime_error("disk full"); }, "ThreadFailed", 100, 1002,
        "ThreadFailed", kWorker, 76, 77, "disk full"},
    {"foreign exception", 1, [] { throw 42; }, "ThreadFailed", 100, 1002, "ThreadFailed", kWorker, 80, 81,
        "unknown exception"},
};

// The failure is recorded under the failing thread's index and comes back to
// the caller after the join, as OutOfMemory or ThreadFailed.
TEST_F(MultiProcessorTest, WorkerFailureIsRethrownOnTheCallerAfterTheJoin)
{
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        Ex::Stack::clear();
        QrInterruptRecord record;
        LoggingProcessor processor(4, &record);
        processor.work = failAt(c.failing, c.fail);
        bool caught = false;
        try {
            processor.run();
        } catch (const Ex::ExceptionI& e) {
            caught = true;
            EXPECT_STREQ(e.name(), c.thrownClass);
            EXPECT_EQ(std::tuple(e.function(), e.file(), e.line()),
                std::tuple("QrMultiProcessor::multiThreadSample", "src/qrMultiProcessor", c.thrownLine));
        }
        EXPECT_TRUE(caught) << "the failure did not reach the calling thread";
        EXPECT_EQ(record.interrupted.load(), 1);
        EXPECT_EQ(record.reason.load(), c.status);
        EXPECT_FALSE(processor.isRunningThreaded());
        EXPECT_EQ(Ex::Stack::threadIndex(), 0) << "the worker index leaked onto the caller";
        const Ex::ExceptionI* recorded = Ex::Stack::firstException(c.failing);
        ASSERT_NE(recorded, nullptr) << "not recorded under the worker's index";
        EXPECT_EQ(std::tuple(std::string(recorded->name()), recorded->function(), recorded->line()),
            std::tuple(c.recordedClass, c.recordedFunction, c.recordedLine));
        EXPECT_EQ(Ex::Stack::recordCount(), 1u);
        std::ostringstream report;
        Ex::Stack::writeReport(report, false);
        const std::string site =
            std::string(kWorker) + "() src/qrMultiProcessor(00" + std::to_string(c.siteLine) + ")";
        EXPECT_NE(report.str().find(site), std::string::npos) << report.str();
        EXPECT_NE(report.str().find(c.note), std::string::npos) << report.str();
    }
}

// An unthreaded failure passes through unchanged; a threaded one leaves no
// status behind for the next run, but its interruption stops later passes of
// the same record.
TEST_F(MultiProcessorTest, FailuresLeaveOnlyTheInterruptionBehind)
{
    LoggingProcessor processor(4);
    processor.setMultiThreaded(false);
    processor.work = failAt(0, [] { throw Ex::WrongType("f", "src/f", 9); });
    EXPECT_THROW(processor.run(), Ex::WrongType);
    processor.setMultiThreaded(true);
    processor.work = failAt(3, [] { throw Ex::BadValue("f", "src/f", 1); });
    EXPECT_THROW(processor.run(), Ex::Thread::ThreadFailed);
    processor.work = nullptr;
    EXPECT_NO_THROW(processor.run()) << "a failure stayed in the status";

    QrInterruptRecord record;
    LoggingProcessor failing(4, &record);
    failing.work = failAt(0, [] { throw Ex::OutOfMemory("f", "src/f", 1); });
    EXPECT_THROW(failing.run(), Ex::OutOfMemory);
    LoggingProcessor later(4, &record);
    later.setMultiThreaded(false);
    EXPECT_NO_THROW(later.run());
    EXPECT_TRUE(later.calls().empty()) << "the interruption must outlive the failed pass";
}

}  // namespace
