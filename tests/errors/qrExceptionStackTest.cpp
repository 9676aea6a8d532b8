// The process-wide exception stack: per-thread records, first-exception
// clones and concurrent recording.
#include "qrExceptionStack.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using namespace Quarn::Exceptions;

class ExceptionStack : public ::testing::Test {
protected:
    void SetUp() override { Stack::clear(); }
    void TearDown() override { Stack::clear(); }
};

TEST_F(ExceptionStack, RecordKeepsTheExceptionAndTheCatchSite)
{
    const BadValue e("Quarn::Test::thrower", "src/qrThrow", 7, "gamma", 2.5);
    Stack::record(e, "Quarn::Test::catcher", "C:\\work\\src\\qrCatch.cpp", 42);

    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records.count(0), 1u) << "outside a threaded pass the index is 0";
    const Stack::Record& r = records.at(0).at(0);
    EXPECT_EQ(r.code, 17);
    EXPECT_EQ(r.className, "BadValue");
    EXPECT_EQ(r.familyName, "Exception");
    EXPECT_EQ(r.function, "Quarn::Test::catcher");
    EXPECT_EQ(r.file, "\\qrCatch.cpp");
    EXPECT_EQ(r.line, 42);
    ASSERT_EQ(r.arguments.size(), 2u);
    EXPECT_EQ(r.arguments[1].write(), "2.5");
}

TEST_F(ExceptionStack, FirstExceptionOfAThreadIsKeptAsACloneUntilCleared)
{
    EXPECT_EQ(Stack::firstException(0), nullptr);
    {
        const NullPointer first("Quarn::Test::a", "src/qrTest", 1, "set");
        Stack::record(first, "Quarn::Test::catcher", "src/qrTest", 10);
    }  // the original is gone; the stack's copy must stay valid
    Stack::record(Locked("Quarn::Test::b", "src/qrTest", 2), "Quarn::Test::catcher", "src/qrTest", 11);

    const ExceptionI* kept = Stack::firstException(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_STREQ(kept->name(), "NullPointer") << "a later record replaced the first";
    EXPECT_EQ(kept->className(), "NullPointer");
    EXPECT_EQ(kept->familyName(), "Exception");
    EXPECT_EQ(kept->message(), "'set' is null");
    EXPECT_EQ(Stack::firstException(1), nullptr);
    EXPECT_EQ(Stack::recordCount(), 2u);

    Stack::clear();
    EXPECT_EQ(Stack::recordCount(), 0u);
    EXPECT_EQ(Stack::firstException(0), nullptr);
    EXPECT_TRUE(Stack::snapshot().empty());
}

TEST_F(ExceptionStack, ThreadIndexIsPerThreadAndZeroByDefault)
{
    int32_t seenOnNewThread = -1;
    std::thread([&] { seenOnNewThread = Stack::threadIndex(); }).join();
    EXPECT_EQ(seenOnNewThread, 0);

    std::thread([] {
        Stack::setThreadIndex(3);
        Stack::record(
            OutOfMemory("Quarn::Test::band", "src/qrTest", 5), "Quarn::Test::worker", "src/qrTest", 6);
    }).join();
    EXPECT_EQ(Stack::threadIndex(), 0) << "a worker's index leaked to the caller";
    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records.begin()->first, 3);
    ASSERT_NE(Stack::firstException(3), nullptr);
    EXPECT_STREQ(Stack::firstException(3)->name(), "OutOfMemory");
}

TEST_F(ExceptionStack, ConcurrentWorkersEachKeepTheirOwnOrderedList)
{
    constexpr int kWorkers = 4;
    constexpr int kRecordsEach = 50;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([w] {
            Stack::setThreadIndex(w);
            for (int i = 0; i < kRecordsEach; ++i)
                Stack::record(BadValue("Quarn::Test::band", "src/qrTest", i, i), "Quarn::Test::worker",
                    "src/qrTest", i + 1);
        });
    for (std::thread& t : workers)
        t.join();

    EXPECT_EQ(Stack::recordCount(), size_t(kWorkers * kRecordsEach));
    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), size_t(kWorkers));
    for (const auto& [index, list] : records) {
        ASSERT_EQ(list.size(), size_t(kRecordsEach)) << "thread " << index;
        for (int i = 0; i < kRecordsEach; ++i)
            EXPECT_EQ(list[size_t(i)].line, i + 1) << "thread " << index << " out of order";
        EXPECT_EQ(Stack::firstException(index)->arguments()[0].write(), "0");
    }
}

}  // namespace
