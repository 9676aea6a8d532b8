// Without QUARN_ERROR_DIR the report goes below the registry's program files
// folder, in "\" separated folders made as needed, and the file holds the
// report's bytes exactly: its CR/LF pairs stay pairs.
#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using namespace Quarn::Exceptions;
namespace fs = std::filesystem;

TEST(Win32ErrorLog, ReportIsAppendedBelowProgramFilesWithItsOwnLineEnds)
{
    const std::string saved = std::getenv("QUARN_ERROR_DIR") ? std::getenv("QUARN_ERROR_DIR") : "";
    unsetenv("QUARN_ERROR_DIR");
    const std::string base = "NimbrelWin32LogTest";
    const std::string expectedPath =
        Quarn::Platform::programFilesFolder() + "\\Quarn\\log\\AfterEffects\\" + base + ".log";
    EXPECT_EQ(Stack::logPath("AfterEffects", base.c_str()), expectedPath);
    fs::remove(expectedPath);

    Stack::clear();
    Stack::record(BadValue("Quarn::Test::thrower", "src/qrTest", 7, "gamma", 2.5), "Quarn::Test::catcher",
        "C:\\src\\qrCatch.cpp", 42);
    std::ostringstream report;
    Stack::writeReport(report, false);
    Stack::stackDumpLog("AfterEffects", base.c_str());
    Stack::clear();

    std::ifstream in(expectedPath, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::remove(expectedPath);
    if (!saved.empty())
        setenv("QUARN_ERROR_DIR", saved.c_str(), 1);
    // The time line may tick between the two reports: compare around it.
    const std::string expected = report.str() + "\n";
    ASSERT_EQ(written.size(), expected.size()) << written;
    EXPECT_EQ(written.substr(0, 60), expected.substr(0, 60));
    EXPECT_EQ(written.substr(90), expected.substr(90));
    EXPECT_NE(written.find("\r\n"), std::string::npos);
    EXPECT_EQ(written.find("\r\r"), std::string::npos) << "line ends were translated";
}

}  // namespace
