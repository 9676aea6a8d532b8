// The error-report log file: its path, folder creation, appending, and the
// failures recorded when it cannot be written.
#include "qrExceptionStack.h"
#include "qrReportTextSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace Quarn::Exceptions;

// Keeps the environment variables a test changes and restores them after.
class SavedEnvironment {
public:
    explicit SavedEnvironment(const char* name) : name_(name)
    {
        if (const char* v = std::getenv(name))
            value_ = v;
    }
    ~SavedEnvironment()
    {
        if (value_)
            setenv(name_, value_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> value_;
};

class ErrorLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        Stack::clear();
        root_ = fs::temp_directory_path() /
            ("nimbrel-errorlog-" + std::to_string(std::random_device {}()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
    }
    void TearDown() override
    {
        Stack::clear();
        fs::remove_all(root_);
    }
    void useErrorDir(const fs::path& dir) { setenv("QUARN_ERROR_DIR", dir.c_str(), 1); }

    static std::string readFile(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static Stack::Record lastRecord() { return Stack::snapshot().at(0).back(); }

    SavedEnvironment errorDir_ {"QUARN_ERROR_DIR"};
    SavedEnvironment stateHome_ {"XDG_STATE_HOME"};
    fs::path root_;
};

TEST_F(ErrorLog, PathUsesTheErrorDirectoryWhenSet)
{
    setenv("QUARN_ERROR_DIR", "/var/quarn", 1);
    EXPECT_EQ(Stack::logPath("AfterEffects", "Nimbrel"), "/var/quarn/AfterEffects/Nimbrel.log");
}

TEST_F(ErrorLog, PathFallsBackToTheProgramFilesFolder)
{
    unsetenv("QUARN_ERROR_DIR");
    setenv("XDG_STATE_HOME", "/home/u/.state", 1);
    EXPECT_EQ(Stack::logPath("AfterEffects", "Nimbrel"), "/home/u/.state/Quarn/log/AfterEffects/Nimbrel.log");
}

TEST_F(ErrorLog, MissingFoldersAreCreatedAndReportsAppended)
{
    useErrorDir(root_ / "deep" / "logs");
    Stack::record(BadValue("Quarn::Test::thrower", "src/qrThrow", 7, "gamma"), "Quarn::Test::catcher",
        "src/qrCatch", 42);
    Stack::stackDumpLog("AfterEffects", "Nimbrel");
    Stack::stackDumpLog("AfterEffects", "Nimbrel");

    const fs::path log = root_ / "deep" / "logs" / "AfterEffects" / "Nimbrel.log";
    ASSERT_TRUE(fs::is_regular_file(log));
    const std::string one = Quarn::Test::reportHead(false) +
        "1.  [ Err 0017]\n"
        "   Quarn::Test::catcher() src/qrCatch(0042)\n"
        "   'gamma' is a bad value. (BadValue)\n"
        "\r\n" +
        Quarn::Test::reportTail() + "\n";
    EXPECT_EQ(Quarn::Test::maskTime(readFile(log)), one + one);
    EXPECT_EQ(Stack::recordCount(), 1u) << "writing the log recorded a failure";
}

TEST_F(ErrorLog, FolderThatCannotBeMadeThrowsAndRecordsDirectoryMake)
{
    fs::create_directories(root_);
    std::ofstream(root_ / "plain") << "not a folder";
    useErrorDir(root_ / "plain" / "sub");

    try {
        Stack::stackDumpLog("AfterEffects", "Nimbrel");
        FAIL() << "no exception";
    } catch (const File::DirectoryMake& e) {
        EXPECT_EQ(e.function(), "Quarn::Exceptions::Stack::stackDumpLog");
        EXPECT_EQ(e.file(), "src/qrExceptionStack");
        EXPECT_EQ(e.line(), 198);
        ASSERT_EQ(e.arguments().size(), 3u);
        EXPECT_EQ(e.arguments()[0].write(), "'open'");
        EXPECT_EQ(e.arguments()[1].write(), "'" + (root_ / "plain").string() + "'");
        EXPECT_NE(e.arguments()[2].write(), "''");
        EXPECT_NE(e.arguments()[2].write(), "'No errno'");
    }
    const Stack::Record r = lastRecord();
    EXPECT_EQ(r.className, "DirectoryMake");
    EXPECT_EQ(r.line, 199);
}

TEST_F(ErrorLog, FileThatCannotBeOpenedThrowsAndRecordsFileOpen)
{
    const fs::path log = root_ / "AfterEffects" / "Nimbrel.log";
    fs::create_directories(log);  // a folder where the file should be
    useErrorDir(root_);

    try {
        Stack::stackDumpLog("AfterEffects", "Nimbrel");
        FAIL() << "no exception";
    } catch (const File::FileOpen& e) {
        EXPECT_EQ(e.function(), "Quarn::Exceptions::Stack::stackDumpLog");
        EXPECT_EQ(e.line(), 212);
        ASSERT_EQ(e.arguments().size(), 3u);
        EXPECT_EQ(e.arguments()[1].write(), "'" + log.string() + "'");
        EXPECT_EQ(e.arguments()[2].write(), "'" + std::string(std::strerror(EISDIR)) + "'");
    }
    const Stack::Record r = lastRecord();
    EXPECT_EQ(r.className, "FileOpen");
    EXPECT_EQ(r.familyName, "FileException");
    EXPECT_EQ(r.line, 213);
}

}  // namespace
