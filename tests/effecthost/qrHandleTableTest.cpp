#include "qrHandleTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Quarn::Host::HandleTable;

TEST(HandleTable, BlocksAreCountedStartZeroedAndKeepWhatIsWritten)
{
    HandleTable table;
    PF_Handle a = table.allocate(20);
    PF_Handle h = table.allocate(8);
    ASSERT_TRUE(a && h);
    EXPECT_NE(*a, *h);
    EXPECT_EQ(table.liveCount(), 2u);
    EXPECT_EQ(table.size(a), 20u);
    EXPECT_TRUE(table.dispose(a));
    EXPECT_EQ(table.liveCount(), 1u);
    EXPECT_FALSE(table.holds(a));
    EXPECT_EQ(table.allocations(), 2);
    EXPECT_EQ(table.bytes(h), std::vector<std::byte>(8, std::byte {0}));
    std::memset(table.lock(h), 0x5A, 8);
    table.unlock(h);
    EXPECT_EQ(table.bytes(h), std::vector<std::byte>(8, std::byte {0x5A}));
    PF_Handle copy = table.allocateCopy(table.bytes(h));
    EXPECT_EQ(table.bytes(copy), table.bytes(h));
    EXPECT_NE(*copy, *h);
    // A disposed block serves the next handle of its size, cleared again to
    // the last byte, also as large as a frame's working memory.
    for (const std::size_t size : {std::size_t(8), (std::size_t(9) << 20) + 3}) {
        PF_Handle dirty = size == 8 ? h : table.allocate(size);
        std::memset(table.lock(dirty), 0x5A, size);
        table.unlock(dirty);
        void* const memory = *dirty;
        ASSERT_TRUE(table.dispose(dirty));
        PF_Handle again = table.allocate(size);
        EXPECT_EQ(*again, memory);
        EXPECT_EQ(table.bytes(again), std::vector<std::byte>(size, std::byte {0}));
    }
}

// Which idle block a request gets: the smallest that fits, and never one
// more than twice the request, so a small handle cannot pin a large block.
TEST(MemoryPool, ReusesTheSmallestIdleBlockThatFitsWithoutWastingLargeOnes)
{
    Quarn::Host::MemoryPool pool;
    std::byte* large;
    std::byte* medium;
    {
        auto a = pool.take(1000);
        auto b = pool.take(300);
        large = a.data();
        medium = b.data();
    }
    EXPECT_EQ(pool.idleBlocks(), 2u);
    struct Case {
        std::size_t request;
        std::byte* expected;  // nullptr: a fresh block
    };
    for (const Case& c : {Case {280, medium}, Case {600, large}, Case {1000, large}, Case {1001, nullptr},
             Case {100, nullptr}}) {
        const auto block = pool.take(c.request);
        EXPECT_EQ(block.size(), c.request);
        if (c.expected)
            EXPECT_EQ(block.data(), c.expected) << c.request;
        else
            EXPECT_TRUE(block.data() != large && block.data() != medium) << c.request;
    }
}

// Misuse is counted, not fatal: disposing twice or a foreign handle, an
// extra unlock; locks are counted per handle.
TEST(HandleTable, MisuseIsCountedNotFatal)
{
    HandleTable table;
    PF_Handle h = table.allocate(1), kept = table.allocate(4);
    void* foreign = nullptr;
    EXPECT_TRUE(table.dispose(h));
    EXPECT_FALSE(table.dispose(h));
    EXPECT_FALSE(table.dispose(&foreign));
    EXPECT_EQ(table.badDisposals(), 2);
    EXPECT_EQ(table.lock(&foreign), nullptr);
    table.lock(kept);
    table.lock(kept);
    table.unlock(kept);
    EXPECT_EQ(table.lockCount(kept), 1);
    table.unlock(kept);
    table.unlock(kept);
    EXPECT_EQ(table.lockCount(kept), 0);
}

TEST(HandleTable, FailureHookFailsExactlyTheNthAllocation)
{
    for (int n : {1, 2, 3}) {
        HandleTable table;
        table.failAllocation(n);
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(table.allocate(4) == nullptr, i == n) << "n=" << n << " i=" << i;
        EXPECT_EQ(table.failedAllocations(), 1);
        EXPECT_EQ(table.liveCount(), 3u);
    }
}

}  // namespace
