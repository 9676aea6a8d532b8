// The error report text, byte for byte, with and without format codes.
#include "qrExceptionStack.h"
#include "qrReportTextSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>

namespace {

using namespace Quarn::Exceptions;
using Quarn::Test::maskTime;
using Quarn::Test::report;
using Quarn::Test::reportHead;
using Quarn::Test::reportTail;

// An exception whose code has no registered templates.
QUARN_EXCEPTION_CLASS(Unlisted, Exception, 77, "Exception")

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override { Stack::clear(); }
    void TearDown() override
    {
        Stack::clear();
        Stack::setThreadIndex(0);
    }
    static void recordOn(int32_t thread, const ExceptionI& e, int32_t line)
    {
        std::thread([&] {
            Stack::setThreadIndex(thread);
            Stack::record(e, "Quarn::Test::worker", "src/qrWorker", line);
        }).join();
    }
};

TEST_F(ErrorReport, OneRecordWithoutFormatCodes)
{
    Stack::record(BadValue("Quarn::Test::thrower", "src/qrThrow", 7, "gamma"), "Quarn::Test::catcher",
        "C:\\src\\qrCatch.cpp", 42);
    EXPECT_EQ(maskTime(report(false)),
        reportHead(false) +
            "1.  [ Err 0017]\n"
            "   Quarn::Test::catcher() \\qrCatch.cpp(0042)\n"
            "   'gamma' is a bad value. (BadValue)\n"
            "\r\n" +
            reportTail());
}

TEST_F(ErrorReport, OneRecordWithFormatCodes)
{
    Stack::record(BadValue("Quarn::Test::thrower", "src/qrThrow", 7, "gamma"), "Quarn::Test::catcher",
        "C:\\src\\qrCatch.cpp", 42);
    EXPECT_EQ(maskTime(report(true)),
        reportHead(true) +
            "1. #FC(4) [ Err 0017]\n"
            "   Quarn::Test::catcher() #FC(4)\\qrCatch.cpp#FC(4)(0042)\n"
            "   #FC(R)'gamma' is a bad value.#FC(4) (BadValue)\n"
            "\r\n" +
            reportTail());
}

TEST_F(ErrorReport, RecordsOfOneThreadCountDownToOne)
{
    Stack::record(OutOfMemory("Quarn::Test::alloc", "src/qrTest", 3), "Quarn::Test::first", "src/qrFirst", 5);
    Stack::record(NullPointer("Quarn::Test::use", "src/qrTest", 4, "set"), "Quarn::Test::second",
        "src/qrSecond", 12345);
    EXPECT_EQ(maskTime(report(false)),
        reportHead(false) +
            "2.  [ Err 0005]\n"
            "   Quarn::Test::first() src/qrFirst(0005)\n"
            "   \"Failed to allocated memory\" (OutOfMemory)\n"
            "1.  [ Err 0009]\n"
            "   Quarn::Test::second() src/qrSecond(12345)\n"
            "   'set' is null (NullPointer)\n"
            "\r\n" +
            reportTail());
}

TEST_F(ErrorReport, AWorkerAloneGetsNoThreadHeader)
{
    recordOn(2, Locked("Quarn::Test::lock", "src/qrTest", 1), 9);
    EXPECT_EQ(maskTime(report(false)),
        reportHead(false) +
            "1.  [ Err 0021]\n"
            "   Quarn::Test::worker() src/qrWorker(0009)\n"
            "   \"Locked object.\" (Locked)\n"
            "\r\n" +
            reportTail());
}

TEST_F(ErrorReport, TwoThreadsGetAHeaderEachInIndexOrder)
{
    recordOn(2, Locked("Quarn::Test::lock", "src/qrTest", 1), 9);
    Stack::record(
        BadValue("Quarn::Test::thrower", "src/qrThrow", 7), "Quarn::Test::catcher", "src/qrCatch", 8);
    const std::string rule = std::string(40, '-') + "\r\n";
    EXPECT_EQ(maskTime(report(true)),
        reportHead(true) + "Thread 0\r\n" + rule +
            "1. #FC(4) [ Err 0017]\n"
            "   Quarn::Test::catcher() #FC(4)src/qrCatch#FC(4)(0008)\n"
            "   \"Bad value.\"#FC(4) (BadValue)\n"
            "\r\n"
            "Thread 2\r\n" +
            rule +
            "1. #FC(4) [ Err 0021]\n"
            "   Quarn::Test::worker() #FC(4)src/qrWorker#FC(4)(0009)\n"
            "   \"Locked object.\"#FC(4) (Locked)\n"
            "\r\n" +
            reportTail());
}

struct SiteCase {
    const char* what;
    std::string function;
    const char* file;
    int32_t line;
    std::string site;  // the text between "]\n   " and the message
};

TEST_F(ErrorReport, CatchSitePartsAppearOnlyWhenPresent)
{
    const std::string longName = "Quarn::" + std::string(93, 'x');  // 100 characters
    const std::string name80 = std::string(78, 'y') + "::";
    const SiteCase cases[] = {
        {"full site", "Quarn::A::b", "src/qrA", 17, "Quarn::A::b() src/qrA(0017)\n   "},
        {"unknown function", "unknown()", "src/qrA", 17, "src/qrA(0017)\n   "},
        {"no function", "", "src/qrA", 17, "src/qrA(0017)\n   "},
        {"no file", "Quarn::A::b", "", 17, "Quarn::A::b() "},
        {"line 0", "Quarn::A::b", "src/qrA", 0, "Quarn::A::b() src/qrA"},
        {"long function", longName, "src/qrA", 1, "..." + longName.substr(23) + "() src/qrA(0001)\n   "},
        {"80 characters kept whole", name80, "src/qrA", 1, name80 + "() src/qrA(0001)\n   "},
    };
    for (const SiteCase& c : cases) {
        Stack::clear();
        Stack::record(
            WrongType("Quarn::Test::t", "src/qrTest", 1, "int"), c.function.c_str(), c.file, c.line);
        EXPECT_EQ(maskTime(report(false)),
            reportHead(false) + "1.  [ Err 0003]\n   " + c.site + "'int' required (WrongType)\n\r\n" +
                reportTail())
            << c.what;
    }
}

TEST_F(ErrorReport, UnregisteredCodeIsNamedInPlaceOfTheDefault)
{
    Stack::record(Unlisted("Quarn::Test::t", "src/qrTest", 1), "f", "", 0);
    Stack::record(Unlisted("Quarn::Test::t", "src/qrTest", 1, 5), "f", "", 0);
    EXPECT_EQ(maskTime(report(false)),
        reportHead(false) +
            "2.  [ Err 0077]\n"
            "   f() \"Unregistered Error (77)\" (Unlisted)\n"
            "1.  [ Err 0077]\n"
            "   f() Unregistered Error (77) (Unlisted)\n"
            "\r\n" +
            reportTail());
}

TEST_F(ErrorReport, EmptyStackStillWritesHeadAndAddress)
{
    EXPECT_EQ(maskTime(report(false)), reportHead(false) + reportTail());
    EXPECT_NE(std::string(kSupportAddress).find('@'), std::string::npos);
}

// The time line is the local time in the C library's asctime layout.
TEST_F(ErrorReport, TimeLineIsTheCurrentLocalTime)
{
    auto asctimeAt = [](std::time_t t) {
        char buffer[64];
        std::strftime(buffer, sizeof buffer, "%a %b %e %H:%M:%S %Y\n", std::localtime(&t));
        return std::string(buffer);
    };
    const std::time_t before = std::time(nullptr);
    const std::string text = report(false);
    const std::time_t after = std::time(nullptr);
    const size_t start = text.find("-\n") + 2;
    const std::string line = text.substr(start, text.find('\n', start) + 1 - start);
    bool matches = false;
    for (std::time_t t = before; t <= after; ++t)
        matches = matches || line == asctimeAt(t);
    EXPECT_TRUE(matches) << "time line was: " << line;
}

}  // namespace
