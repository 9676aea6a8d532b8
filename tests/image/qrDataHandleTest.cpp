// Image memory from the host's handle callbacks, and its failures.
#include "qrDataHandle.h"
#include "qrException.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

namespace {

// Host memory that counts every call and can refuse either step. Its blocks
// start 3 bytes past an aligned address, as a host's may.
class FakeHostMemory : public Quarn::Memory::HostMemoryI {
public:
    struct Block {
        unsigned char* memory;
    };
    bool refuseHandles = false, refuseLocks = false;
    int created = 0, locked = 0, unlocked = 0, disposed = 0;
    std::size_t lastRequest = 0;
    Block* lastBlock = nullptr;
    void* unlockedHandle = nullptr;

    void* newHandle(std::size_t bytes) override
    {
        lastRequest = bytes;
        if (refuseHandles)
            return nullptr;
        ++created;
        return lastBlock = new Block {static_cast<unsigned char*>(std::malloc(bytes + 3))};
    }
    void* lock(void* handle) override
    {
        locked += refuseLocks ? 0 : 1;
        return refuseLocks ? nullptr : static_cast<Block*>(handle)->memory + 3;
    }
    void unlock(void* handle) override
    {
        ++unlocked;
        unlockedHandle = handle;
    }
    void dispose(void* handle) override
    {
        ++disposed;
        std::free(static_cast<Block*>(handle)->memory);
        delete static_cast<Block*>(handle);
    }
};

TEST(DataHandleHost, BlockComesFromTheHostAndGoesBackWithTheLastReference)
{
    FakeHostMemory host;
    Quarn::Memory::ScopedHostMemory scope(&host);
    {
        auto t = QrTexture<Quarn::Pixel::ARGB8>::allocate(10, 10);
        EXPECT_EQ(std::tuple(host.created, host.locked), std::tuple(1, 1));
        EXPECT_GE(host.lastRequest, 400u + sizeof(void*));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(t.data()) % 16, 0u);
        // The host handle is kept at the start of the block, before the image.
        unsigned char* start = host.lastBlock->memory + 3;
        void* stored = nullptr;
        std::memcpy(&stored, start, sizeof(void*));
        EXPECT_EQ(stored, host.lastBlock);
        EXPECT_GE(reinterpret_cast<unsigned char*>(t.data()), start + sizeof(void*));
        std::memset(t.data(), 0xAB, 400);  // the whole image is usable
        auto copy = t;
        EXPECT_EQ(host.disposed, 0);
    }
    EXPECT_EQ(std::tuple(host.unlocked, host.disposed), std::tuple(1, 1));
    EXPECT_EQ(host.unlockedHandle, static_cast<void*>(host.lastBlock));
}

TEST(DataHandleHost, RefusedHandleOrLockRaisesOutOfMemoryAndLeaksNothing)
{
    for (const bool refuseLock : {false, true}) {
        FakeHostMemory host;
        host.refuseHandles = !refuseLock;
        host.refuseLocks = refuseLock;
        Quarn::Memory::ScopedHostMemory scope(&host);
        try {
            (void)QrTexture<Quarn::Pixel::ARGBF>::allocate(4, 4);
            FAIL() << "allocation succeeded, refused lock " << refuseLock;
        } catch (const Quarn::Exceptions::OutOfMemory& e) {
            EXPECT_EQ(std::tuple(e.function(), e.file(), e.line()),
                std::tuple("Quarn::Image::DataHandle::DataHandle", "src/qrImage", 96));
            ASSERT_EQ(e.arguments().size(), 1u);
            EXPECT_EQ(std::get<std::string>(e.arguments()[0].value()), "Image allocation");
        }
        EXPECT_EQ(host.created, refuseLock ? 1 : 0);
        EXPECT_EQ(host.disposed, host.created) << "refused lock " << refuseLock;
    }
}

TEST(DataHandlePlain, WithoutAHostImagesUseProcessMemory)
{
    EXPECT_EQ(Quarn::Memory::currentHostMemory(), nullptr);
    FakeHostMemory host;
    {
        Quarn::Memory::ScopedHostMemory scope(&host);
        EXPECT_EQ(Quarn::Memory::currentHostMemory(), &host);
    }
    EXPECT_EQ(Quarn::Memory::currentHostMemory(), nullptr) << "the scope restores the previous host";
    auto t = QrTexture<Quarn::Pixel::ARGB16>::allocate(3, 3);
    EXPECT_TRUE(t.hasData());
    EXPECT_EQ(host.created, 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(t.data()) % 16, 0u);
}

TEST(DataHandleSizes, ImpossibleSizesRaiseOutOfMemoryWithoutReachingTheHost)
{
    EXPECT_THROW(Quarn::Image::DataHandle(SIZE_MAX / 2 + 1), Quarn::Exceptions::OutOfMemory);
    FakeHostMemory host;
    Quarn::Memory::ScopedHostMemory scope(&host);
    // The request plus the host overhead would wrap around to a tiny block.
    EXPECT_THROW(Quarn::Image::DataHandle(SIZE_MAX - 4), Quarn::Exceptions::OutOfMemory);
    // Width x height x pixel size overflows the size type.
    EXPECT_THROW(QrTexture<Quarn::Pixel::ARGBF>::allocate(1 << 30, 1 << 30), Quarn::Exceptions::OutOfMemory);
    EXPECT_EQ(host.created, 0);
}

}  // namespace
