// The Win32 layer: the registry's program files folder, the separator of
// its paths and the loader's answers for files and names that are missing.
#include "qrLibrary.h"
#include "qrRegistry.h"
#include "qrThreads.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

using namespace Quarn::Platform;

TEST(Win32Registry, ProgramFilesFolderIsAnExistingFolderOnADrive)
{
    const std::string folder = programFilesFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    EXPECT_EQ(pathSeparator(), '\\');
}

TEST(Win32Threads, ProcessorCountIsTheSystemsAndThreadIdsAreTheKernels)
{
    SYSTEM_INFO info {};
    GetSystemInfo(&info);
    EXPECT_EQ(processorCount(), int32_t(info.dwNumberOfProcessors));
    EXPECT_EQ(currentThreadId(), ThreadId(GetCurrentThreadId()));
    static ThreadId seen = 0;
    Thread thread;
    ASSERT_TRUE(thread.start([](void*) { seen = currentThreadId(); }, nullptr));
    const ThreadId started = thread.id();
    thread.join();
    EXPECT_EQ(seen, started);
    EXPECT_NE(seen, currentThreadId());
}

TEST(Win32Library, MissingFilesAndNamesGiveTheLoadersReason)
{
    Library library;
    std::string reason;
    EXPECT_FALSE(library.open("C:\\no\\such\\plugin.aex", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(library.isOpen());
    ASSERT_TRUE(library.open("kernel32.dll", reason)) << reason;
    EXPECT_NE(library.symbol("GetTickCount", reason), nullptr);
    reason.clear();
    EXPECT_EQ(library.symbol("NoSuchFunctionAnywhere", reason), nullptr);
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(library.resource("PiPL", 16000).has_value());
}

}  // namespace
