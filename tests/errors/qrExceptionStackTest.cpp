// The process-wide exception stack: per-thread records, first-exception
// clones and concurrent recording; the error report written from it, byte for
// byte, with and without format codes; and the log file it is appended to.
#include "qrExceptionStack.h"

#include <gtest/gtest.h>

#include <tuple>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace Quarn::Exceptions;

// An exception whose code has no registered templates.
QUARN_EXCEPTION_CLASS(Unlisted, Exception, 77, "Exception")
QUARN_EXCEPTION_TEXT_CLASS(Worded, Exception, 4, "Exception")

class ExceptionStack : public ::testing::Test {
protected:
    void SetUp() override { Stack::clear(); }
    void TearDown() override
    {
        Stack::clear();
        Stack::setThreadIndex(0);
    }
};

// Records e on a thread of its own with the given worker index.
void recordOn(int32_t thread, const ExceptionI& e, int32_t line)
{
    std::thread([&] {
        Stack::setThreadIndex(thread);
        Stack::record(e, "Quarn::Test::worker", "src/qrWorker", line);
    }).join();
}

// Records keep the exception's family and arguments (code, class, catch site
// and message are pinned by the report tests); the first exception of a
// thread is kept as a clone, which outlives the original, until cleared.
TEST_F(ExceptionStack, RecordsAndTheFirstExceptionAreKeptUntilCleared)
{
    EXPECT_EQ(Stack::firstException(0), nullptr);
    {
        const BadValue first("Quarn::Test::thrower", "src/qrThrow", 7, "gamma", 2.5);
        Stack::record(first, "Quarn::Test::catcher", "C:\\work\\src\\qrCatch.cpp", 42);
    }
    Stack::record(Locked("Quarn::Test::b", "src/qrTest", 2), "Quarn::Test::catcher", "src/qrTest", 11);

    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records.count(0), 1u) << "outside a threaded pass the index is 0";
    const Stack::Record& r = records.at(0).at(0);
    EXPECT_EQ(r.familyName, "Exception");
    ASSERT_EQ(r.arguments.size(), 2u);
    EXPECT_EQ(r.arguments[1].write(), "2.5");
    const ExceptionI* kept = Stack::firstException(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_STREQ(kept->name(), "BadValue") << "a later record replaced the first";
    EXPECT_EQ(kept->className(), "BadValue");
    EXPECT_EQ(kept->familyName(), "Exception");
    EXPECT_EQ(kept->message(), "'gamma' has a bad value 2.5.");
    EXPECT_EQ(Stack::firstException(1), nullptr);
    EXPECT_EQ(Stack::recordCount(), 2u);

    Stack::clear();
    EXPECT_EQ(Stack::recordCount(), 0u);
    EXPECT_EQ(Stack::firstException(0), nullptr);
    EXPECT_TRUE(Stack::snapshot().empty());
}

TEST_F(ExceptionStack, ConcurrentWorkersEachKeepTheirOwnOrderedListUnderTheirIndex)
{
    int32_t seenOnNewThread = -1;
    std::thread([&] { seenOnNewThread = Stack::threadIndex(); }).join();
    EXPECT_EQ(seenOnNewThread, 0) << "a new thread starts at index 0";

    constexpr int kWorkers = 4;
    constexpr int kRecordsEach = 50;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([w] {
            Stack::setThreadIndex(w + 1);
            for (int i = 0; i < kRecordsEach; ++i)
                Stack::record(BadValue("Quarn::Test::band", "src/qrTest", i, i), "Quarn::Test::worker",
                    "src/qrTest", i + 1);
        });
    for (std::thread& t : workers)
        t.join();
    EXPECT_EQ(Stack::threadIndex(), 0) << "a worker's index leaked to the caller";

    EXPECT_EQ(Stack::recordCount(), size_t(kWorkers * kRecordsEach));
    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), size_t(kWorkers));
    int32_t expectedIndex = 1;
    for (const auto& [index, list] : records) {
        EXPECT_EQ(index, expectedIndex++);
        ASSERT_EQ(list.size(), size_t(kRecordsEach)) << "thread " << index;
        for (int i = 0; i < kRecordsEach; ++i)
            EXPECT_EQ(list[size_t(i)].line, i + 1) << "thread " << index << " out of order";
        ASSERT_NE(Stack::firstException(index), nullptr);
        EXPECT_EQ(Stack::firstException(index)->arguments()[0].write(), "0");
    }
}

// The report with its time line (the second line) swapped for a marker, so
// it can be compared whole; a report without such a line is left alone and
// the comparison fails visibly.
std::string maskedReport(const std::string& text)
{
    static const std::regex timeLine(R"((QUARN INTERNAL ERROR REPORT\n-{28}\n))"
                                     R"([A-Z][a-z]{2} [A-Z][a-z]{2} [0-3]\d \d\d:\d\d:\d\d \d{4}\n)");
    return std::regex_replace(text, timeLine, "$1<time>\n");
}

std::string maskedReport(bool formatCodes)
{
    std::ostringstream out;
    Stack::writeReport(out, formatCodes);
    return maskedReport(out.str());
}

// The expected report around the given records.
std::string reportWith(bool formatCodes, const std::string& records)
{
    return std::string(formatCodes ? "#FC(R)" : "") + "QUARN INTERNAL ERROR REPORT\n" + std::string(28, '-') +
        "\n<time>\n\r\n" + (formatCodes ? "#FC(4)" : "") + records + "\nEmail to " + kSupportAddress;
}

struct ReportCase {
    const char* what;
    std::function<void()> record;
    bool formatCodes;
    std::string records;  // the text between the head and the address
};

const std::string kGammaRecords = "1.  [ Err 0017]\n"
                                  "   Quarn::Test::catcher() \\qrCatch.cpp(0042)\n"
                                  "   'gamma' is a bad value. (BadValue)\n"
                                  "\r\n";

void recordGamma()
{
    Stack::record(BadValue("Quarn::Test::thrower", "src/qrThrow", 7, "gamma"), "Quarn::Test::catcher",
        "C:\\src\\qrCatch.cpp", 42);
}

const std::string kRule = std::string(40, '-') + "\r\n";

const ReportCase kReports[] = {
    {"empty stack", [] {}, false, ""},
    {"one record", recordGamma, false, kGammaRecords},
    {"one record with format codes", recordGamma, true,
        "1. #FC(4) [ Err 0017]\n"
        "   Quarn::Test::catcher() #FC(4)\\qrCatch.cpp#FC(4)(0042)\n"
        "   #FC(R)'gamma' is a bad value.#FC(4) (BadValue)\n"
        "\r\n"},
    {"records of one thread count down to one",
        [] {
            Stack::record(
                OutOfMemory("Quarn::Test::alloc", "src/qrTest", 3), "Quarn::Test::first", "src/qrFirst", 5);
            Stack::record(NullPointer("Quarn::Test::use", "src/qrTest", 4, "set"), "Quarn::Test::second",
                "src/qrSecond", 12345);
        },
        false,
        "2.  [ Err 0005]\n"
        "   Quarn::Test::first() src/qrFirst(0005)\n"
        "   \"Failed to allocated memory\" (OutOfMemory)\n"
        "1.  [ Err 0009]\n"
        "   Quarn::Test::second() src/qrSecond(12345)\n"
        "   'set' is null (NullPointer)\n"
        "\r\n"},
    {"a worker alone gets no thread header",
        [] { recordOn(2, Locked("Quarn::Test::lock", "src/qrTest", 1), 9); }, false,
        "1.  [ Err 0021]\n"
        "   Quarn::Test::worker() src/qrWorker(0009)\n"
        "   \"Locked object.\" (Locked)\n"
        "\r\n"},
    {"two threads get a header each in index order",
        [] {
            recordOn(2, Locked("Quarn::Test::lock", "src/qrTest", 1), 9);
            Stack::record(
                BadValue("Quarn::Test::thrower", "src/qrThrow", 7), "Quarn::Test::catcher", "src/qrCatch", 8);
        },
        true,
        "Thread 0\r\n" + kRule +
            "1. #FC(4) [ Err 0017]\n"
            "   Quarn::Test::catcher() #FC(4)src/qrCatch#FC(4)(0008)\n"
            "   \"Bad value.\"#FC(4) (BadValue)\n"
            "\r\n"
            "Thread 2\r\n" +
            kRule +
            "1. #FC(4) [ Err 0021]\n"
            "   Quarn::Test::worker() #FC(4)src/qrWorker#FC(4)(0009)\n"
            "   \"Locked object.\"#FC(4) (Locked)\n"
            "\r\n"},
    {"an unregistered code is named in place of the default",
        [] {
            Stack::record(Unlisted("Quarn::Test::t", "src/qrTest", 1), "f", "", 0);
            Stack::record(Unlisted("Quarn::Test::t", "src/qrTest", 1, 5), "f", "", 0);
        },
        false,
        "2.  [ Err 0077]\n"
        "   f() \"Unregistered Error (77)\" (Unlisted)\n"
        "1.  [ Err 0077]\n"
        "   f() Unregistered Error (77) (Unlisted)\n"
        "\r\n"},
    {"an exception's own text is its message, quoted as a default is",
        [] { Stack::record(Worded("Quarn::Test::t", "src/qrTest", 1, "Couldn't load suite."), "f", "", 0); },
        true,
        "1. #FC(4) [ Err 0004]\n"
        "   f() \"Couldn't load suite.\"#FC(4) (Worded)\n"
        "\r\n"},
};

TEST_F(ExceptionStack, ReportTextIsExact)
{
    EXPECT_NE(std::string(kSupportAddress).find('@'), std::string::npos);
    for (const ReportCase& c : kReports) {
        Stack::clear();
        c.record();
        EXPECT_EQ(maskedReport(c.formatCodes), reportWith(c.formatCodes, c.records)) << c.what;
    }
    // The catch site shows only the parts that are present.
    const std::string longName = "Quarn::" + std::string(93, 'x');  // 100 characters
    const std::string name80 = std::string(78, 'y') + "::";
    struct {
        const char* what;
        std::string function;
        const char* file;
        int32_t line;
        std::string site;  // the text between "]\n   " and the message
    } sites[] = {
        {"full site", "Quarn::A::b", "src/qrA", 17, "Quarn::A::b() src/qrA(0017)\n   "},
        {"unknown function", "unknown()", "src/qrA", 17, "src/qrA(0017)\n   "},
        {"no function", "", "src/qrA", 17, "src/qrA(0017)\n   "},
        {"no file", "Quarn::A::b", "", 17, "Quarn::A::b() "},
        {"line 0", "Quarn::A::b", "src/qrA", 0, "Quarn::A::b() src/qrA"},
        {"long function", longName, "src/qrA", 1, "..." + longName.substr(23) + "() src/qrA(0001)\n   "},
        {"80 characters kept whole", name80, "src/qrA", 1, name80 + "() src/qrA(0001)\n   "},
    };
    for (const auto& c : sites) {
        Stack::clear();
        Stack::record(
            WrongType("Quarn::Test::t", "src/qrTest", 1, "int"), c.function.c_str(), c.file, c.line);
        EXPECT_EQ(maskedReport(false),
            reportWith(false, "1.  [ Err 0003]\n   " + c.site + "'int' required (WrongType)\n\r\n"))
            << c.what;
    }
}

// The time line is the local time in the asctime layout, the day of the
// month written in two digits ("Fri Dec 04 12:00:57 2026").
TEST_F(ExceptionStack, ReportTimeLineIsTheCurrentLocalTime)
{
    auto asctimeAt = [](std::time_t t) {
        char buffer[64];
        std::strftime(buffer, sizeof buffer, "%a %b %d %H:%M:%S %Y\n", std::localtime(&t));
        return std::string(buffer);
    };
    const std::time_t before = std::time(nullptr);
    std::ostringstream out;
    Stack::writeReport(out, false);
    const std::time_t after = std::time(nullptr);
    const std::string text = out.str();
    const size_t start = text.find("-\n") + 2;
    const std::string line = text.substr(start, text.find('\n', start) + 1 - start);
    bool matches = false;
    for (std::time_t t = before; t <= after; ++t)
        matches = matches || line == asctimeAt(t);
    EXPECT_TRUE(matches) << "time line was: " << line;
}

// The time line's fields, the day of the month in two digits at both ends of
// the month and of the clock.
TEST(ReportTimeLine, WritesEveryFieldInAsctimeOrderWithTheDayPadded)
{
    struct Case {
        int wday, mday, mon, year, hour, min, sec;
        const char* line;
    };
    const Case cases[] = {
        {5, 4, 11, 2026, 12, 0, 57, "Fri Dec 04 12:00:57 2026\n"},
        {4, 1, 0, 2026, 0, 0, 0, "Thu Jan 01 00:00:00 2026\n"},
        {0, 31, 4, 1998, 23, 59, 9, "Sun May 31 23:59:09 1998\n"},
    };
    for (const Case& c : cases) {
        std::tm t {};
        t.tm_wday = c.wday;
        t.tm_mday = c.mday;
        t.tm_mon = c.mon;
        t.tm_year = c.year - 1900;
        t.tm_hour = c.hour;
        t.tm_min = c.min;
        t.tm_sec = c.sec;
        EXPECT_EQ(Quarn::Exceptions::reportTimeLine(t), c.line);
    }
}

// Keeps an environment variable a test changes and puts it back after.
struct SavedEnvironment {
    explicit SavedEnvironment(const char* n) : name(n), value(std::getenv(n) ? std::getenv(n) : "") { }
    ~SavedEnvironment() { value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1); }
    const char* name;
    std::string value;  // empty: unset
};

// The log tests write below a fresh temporary folder.
class ErrorLog : public ExceptionStack {
protected:
    void SetUp() override
    {
        ExceptionStack::SetUp();
        root_ = fs::temp_directory_path() /
            ("nimbrel-errorlog-" + std::to_string(std::random_device {}()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
    }
    void TearDown() override
    {
        ExceptionStack::TearDown();
        fs::remove_all(root_);
    }
    void useErrorDir(const fs::path& dir) { setenv("QUARN_ERROR_DIR", dir.c_str(), 1); }

    SavedEnvironment errorDir_ {"QUARN_ERROR_DIR"};
    SavedEnvironment stateHome_ {"XDG_STATE_HOME"};
    fs::path root_;
};

TEST_F(ErrorLog, PathIsTheErrorDirectoryOrElseBelowTheProgramFilesFolder)
{
    setenv("XDG_STATE_HOME", "/home/u/.state", 1);
    setenv("QUARN_ERROR_DIR", "/var/quarn", 1);
    EXPECT_EQ(Stack::logPath("AfterEffects", "Nimbrel"), "/var/quarn/AfterEffects/Nimbrel.log");
    unsetenv("QUARN_ERROR_DIR");
    EXPECT_EQ(Stack::logPath("AfterEffects", "Nimbrel"), "/home/u/.state/Quarn/log/AfterEffects/Nimbrel.log");
}

TEST_F(ErrorLog, MissingFoldersAreCreatedAndReportsAppended)
{
    useErrorDir(root_ / "deep" / "logs");
    recordGamma();
    Stack::stackDumpLog("AfterEffects", "Nimbrel");
    Stack::stackDumpLog("AfterEffects", "Nimbrel");

    const fs::path log = root_ / "deep" / "logs" / "AfterEffects" / "Nimbrel.log";
    ASSERT_TRUE(fs::is_regular_file(log));
    std::stringstream text;
    text << std::ifstream(log, std::ios::binary).rdbuf();
    const std::string one = reportWith(false, kGammaRecords) + "\n";
    EXPECT_EQ(maskedReport(text.str()), one + one);
    EXPECT_EQ(Stack::recordCount(), 1u) << "writing the log recorded a failure";
}

struct LogFailureCase {
    const char* what;
    // Puts an obstacle below root and returns the path the error must name.
    std::function<fs::path(const fs::path& root)> obstruct;
    const char* className;
    int32_t line, recordedLine;
    int errorNumber;  // 0: any text the system gives
};

const LogFailureCase kLogFailures[] = {
    {"a file where a folder must be made",
        [](const fs::path& root) {
            fs::create_directories(root);
            std::ofstream(root / "plain") << "not a folder";
            setenv("QUARN_ERROR_DIR", (root / "plain" / "sub").c_str(), 1);
            return root / "plain";
        },
        "DirectoryMake", 198, 199, 0},
    {"a folder where the file must be opened",
        [](const fs::path& root) {
            fs::create_directories(root / "AfterEffects" / "Nimbrel.log");
            setenv("QUARN_ERROR_DIR", root.c_str(), 1);
            return root / "AfterEffects" / "Nimbrel.log";
        },
        "FileOpen", 212, 213, EISDIR},
};

TEST_F(ErrorLog, UnwritableLogThrowsAndRecordsAFileException)
{
    for (const LogFailureCase& c : kLogFailures) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root_);
        Stack::clear();
        const fs::path named = c.obstruct(root_);
        try {
            Stack::stackDumpLog("AfterEffects", "Nimbrel");
            ADD_FAILURE() << "no exception";
        } catch (const File::FileException& e) {
            EXPECT_STREQ(e.name(), c.className);
            EXPECT_EQ(std::tuple(e.function(), e.file(), e.line()),
                std::tuple("Quarn::Exceptions::Stack::stackDumpLog", "src/qrExceptionStack", c.line));
            ASSERT_EQ(e.arguments().size(), 3u);
            EXPECT_EQ(e.arguments()[0].write(), "'open'");
            EXPECT_EQ(e.arguments()[1].write(), "'" + named.string() + "'");
            if (c.errorNumber) {
                EXPECT_EQ(e.arguments()[2].write(), "'" + std::string(std::strerror(c.errorNumber)) + "'");
            }
            EXPECT_NE(e.arguments()[2].write(), "''");
            EXPECT_NE(e.arguments()[2].write(), "'No errno'");
        }
        const Stack::Record r = Stack::snapshot().at(0).back();
        EXPECT_EQ(std::tuple(r.className, r.familyName, r.line),
            std::tuple(c.className, "FileException", c.recordedLine));
    }
}

}  // namespace
