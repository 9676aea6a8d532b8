// Worker failures: what the calling thread throws after the join, what the
// interrupt record and the exception stack hold, and that the processor is
// usable again afterwards.
#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"
#include "qrMultiProcessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <sstream>
#include <string>

namespace {

namespace Ex = Quarn::Exceptions;

class MultiProcessorFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Quarn::Errors::Initialise();
        Ex::Stack::clear();
        unsetenv("QUARN_MAX_PROCESSORS");
        QrMultiProcessor::resetMaxProcessorsForTesting();
        QrMultiProcessor::overrideProcessorCount(4);
    }
    void TearDown() override
    {
        Ex::Stack::clear();
        QrMultiProcessor::overrideProcessorCount(0);
    }
};

// Throws from the band of one thread index; the other bands count their rows.
class FailingProcessor : public QrMultiProcessor {
public:
    FailingProcessor(QrInterruptRecord* record, int32_t failingIndex, std::function<void()> fail)
        : QrMultiProcessor(record), failingIndex_(failingIndex), fail_(std::move(fail))
    {
    }
    void processBand() override
    {
        if (threadIndex() == failingIndex_)
            fail_();
    }
    void stopFailing() { failingIndex_ = -1; }

private:
    int32_t failingIndex_;
    std::function<void()> fail_;
};

std::string report()
{
    std::ostringstream out;
    Ex::Stack::writeReport(out, false);
    return out.str();
}

struct FailureCase {
    const char* name;
    std::function<void()> fail;
    const char* thrownClass;  // class of what the caller catches
    int32_t thrownLine;
    int32_t status;  // reason left in the interrupt record
    const char* recordedClass;  // class of what the worker recorded
    int32_t recordedLine;  // catch site line in the report
};

const FailureCase kFailures[] = {
    {"OutOfMemory", [] { throw Ex::OutOfMemory("Band::work", "src/band", 12); }, "OutOfMemory", 105, 1000,
        "OutOfMemory", 57},
    {"other framework exception", [] { throw Ex::BadValue("Band::work", "src/band", 12, "x"); },
        "ThreadFailed", 100, 1002, "BadValue", 63},
    {"std::bad_alloc", [] { throw std::bad_alloc(); }, "OutOfMemory", 105, 1000, "OutOfMemory", 70},
    {"foreign exception", [] { throw 42; }, "ThreadFailed", 100, 1002, nullptr, 0},
};

TEST_F(MultiProcessorFailureTest, WorkerFailureIsRethrownOnTheCallerAfterTheJoin)
{
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        Ex::Stack::clear();
        QrInterruptRecord record;
        FailingProcessor processor(&record, 2, c.fail);
        bool caught = false;
        try {
            processor.run();
        } catch (const Ex::ExceptionI& e) {
            caught = true;
            EXPECT_STREQ(e.name(), c.thrownClass);
            EXPECT_EQ(e.function(), "QrMultiProcessor::multiThreadSample");
            EXPECT_EQ(e.file(), "src/qrMultiProcessor");
            EXPECT_EQ(e.line(), c.thrownLine);
        }
        EXPECT_TRUE(caught) << "the failure did not reach the calling thread";
        EXPECT_EQ(record.interrupted.load(), 1);
        EXPECT_EQ(record.reason.load(), c.status);
        EXPECT_FALSE(processor.isRunningThreaded());
        if (!c.recordedClass)
            continue;
        const Ex::ExceptionI* recorded = Ex::Stack::firstException(2);
        ASSERT_NE(recorded, nullptr) << "not recorded under the worker's index";
        EXPECT_STREQ(recorded->name(), c.recordedClass);
        EXPECT_EQ(Ex::Stack::firstException(0), nullptr);
        const std::string text = report();
        const std::string site = "QrMultiProcessor::sampleForkStatic() src/qrMultiProcessor(00" +
            std::to_string(c.recordedLine) + ")";
        EXPECT_NE(text.find(site), std::string::npos) << text;
    }
}

TEST_F(MultiProcessorFailureTest, BadAllocIsRecordedAsAnExceptionMadeAtItsOwnLine)
{
    QrInterruptRecord record;
    FailingProcessor processor(&record, 1, [] { throw std::bad_alloc(); });
    EXPECT_THROW(processor.run(), Ex::OutOfMemory);
    const Ex::ExceptionI* recorded = Ex::Stack::firstException(1);
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->line(), 69);
    EXPECT_EQ(recorded->function(), "QrMultiProcessor::sampleForkStatic");
    EXPECT_NE(report().find("caught std::bad_alloc"), std::string::npos);
}

TEST_F(MultiProcessorFailureTest, StatusIsResetSoTheNextRunSucceeds)
{
    FailingProcessor processor(nullptr, 3, [] { throw Ex::BadValue("f", "src/f", 1); });
    EXPECT_THROW(processor.run(), Ex::Thread::ThreadFailed);
    processor.stopFailing();
    EXPECT_NO_THROW(processor.run()) << "a failure stayed in the status";
}

TEST_F(MultiProcessorFailureTest, FailingBandStopsLaterPassesOfTheSameRecord)
{
    QrInterruptRecord record;
    FailingProcessor failing(&record, 0, [] { throw Ex::OutOfMemory("f", "src/f", 1); });
    EXPECT_THROW(failing.run(), Ex::OutOfMemory);

    int bands = 0;
    FailingProcessor later(&record, 0, [&bands] { ++bands; });
    later.setMultiThreaded(false);
    EXPECT_NO_THROW(later.run());
    EXPECT_EQ(bands, 0) << "the interruption must outlive the failed pass";
}

TEST_F(MultiProcessorFailureTest, FailureOnTheCallerThreadIsRecordedUnderIndexZero)
{
    QrInterruptRecord record;
    FailingProcessor processor(&record, 0, [] { throw Ex::NullPointer("f", "src/f", 1); });
    EXPECT_THROW(processor.run(), Ex::Thread::ThreadFailed);
    const Ex::ExceptionI* recorded = Ex::Stack::firstException(0);
    ASSERT_NE(recorded, nullptr);
    EXPECT_STREQ(recorded->name(), "NullPointer");
    EXPECT_EQ(Ex::Stack::threadIndex(), 0) << "the worker index leaked onto the caller";
}

TEST_F(MultiProcessorFailureTest, UnthreadedBandFailurePropagatesUnchanged)
{
    FailingProcessor processor(nullptr, 0, [] { throw Ex::WrongType("f", "src/f", 9); });
    processor.setMultiThreaded(false);
    EXPECT_THROW(processor.run(), Ex::WrongType);
}

}  // namespace
