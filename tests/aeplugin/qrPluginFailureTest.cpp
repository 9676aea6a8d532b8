// How the real plug-in fails. Failures here mean an error code the host
// does not expect, a user left without a message, a report that never
// reaches the log, or a failure that escapes into the host.
#include "qrPluginFixture.h"

#include <AE_EffectSuites.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using namespace PluginTest;

using Failing = Started;

TEST_F(Failing, CancelDuringTheRainReturnsTheCancelCode)
{
    for (Depth depth : {Depth::Bits8, Depth::Bits16}) {
        host.cancelAfterProgressPolls(1);
        const auto r = host.render(depth, RenderMode::Classic);
        EXPECT_EQ(r.command.error, PF_Interrupt_CANCEL);
        EXPECT_FALSE(r.command.displayMessage);
        EXPECT_TRUE(r.paddingIntact);
    }
    host.cancelAfterProgressPolls(0);
    EXPECT_EQ(host.render(Depth::Float, RenderMode::Smart).command.error, PF_Interrupt_CANCEL);
    EXPECT_EQ(host.counters().leakedCheckouts, 0);
    // The next frame renders again.
    EXPECT_TRUE(host.render(Depth::Bits8, RenderMode::Classic).command.ok());
}

TEST_F(Failing, AllocationFailureIsOutOfMemoryWithItsMessage)
{
    const std::size_t live = host.handles().liveCount();
    for (RenderMode mode : {RenderMode::Classic, RenderMode::Smart}) {
        host.failHandleAllocation(1);
        const auto r = host.render(Depth::Bits8, mode);
        EXPECT_EQ(r.command.error, PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(r.command.message, "Nimbrel out of memory.");
        EXPECT_TRUE(r.command.displayMessage);
        EXPECT_EQ(host.handles().liveCount(), live);
    }
}

TEST_F(Failing, UnknownSmartPixelFormatIsABadCallbackParameter)
{
    host.overrideOutputFormat(PF_FOURCC('y', 'u', 'v', '4'));
    const auto r = host.render(Depth::Bits8, RenderMode::Smart);
    EXPECT_EQ(r.command.error, PF_Err_BAD_CALLBACK_PARAM);
    for (int y = 0; y < r.image.height(); ++y)
        for (int x = 0; x < r.image.width(); ++x)
            ASSERT_EQ(r.image.pixel(x, y), (Argb {0, 0, 0, 0})) << "rendered anyway";
    EXPECT_EQ(host.counters().suitesHeld, 0);
    host.overrideOutputFormat(std::nullopt);
    EXPECT_TRUE(host.render(Depth::Bits8, RenderMode::Smart).command.ok());
}

// A host that sends a render with no parameter list gets an error back,
// whoever it is: outside After Effects the greying step must not read the
// missing list first.
TEST_F(Failing, RenderWithoutParametersIsABadCallbackParameterInEveryHost)
{
    for (A_u_long appl : {PF_APPL_ID_AFTER_EFFECTS, PF_APPL_ID_COMBUSTION, PF_FOURCC('X', 'X', 'X', 'X')}) {
        host.properties().applId = A_long(appl);
        const auto r = host.commandWithoutParams(PF_Cmd_RENDER);
        EXPECT_EQ(r.error, PF_Err_BAD_CALLBACK_PARAM) << appl;
        EXPECT_EQ(host.counters().suitesHeld, 0);
    }
    // The plug-in is still fine for a proper frame.
    EXPECT_TRUE(host.render(Depth::Bits8, RenderMode::Classic).command.ok());
}

class ReportedFailure : public Started {
protected:
    std::filesystem::path dir;
    std::string previous;

    void SetUp() override
    {
        Started::SetUp();
        // One folder per process: test runners may run tests side by side.
        dir = std::filesystem::temp_directory_path() / ("nimbrel_plugin_errors_" + std::to_string(getpid()));
        if (const char* v = std::getenv("QUARN_ERROR_DIR"))
            previous = v;
        std::filesystem::remove_all(dir);
        setenv("QUARN_ERROR_DIR", dir.c_str(), 1);
    }
    void TearDown() override
    {
        if (previous.empty())
            unsetenv("QUARN_ERROR_DIR");
        else
            setenv("QUARN_ERROR_DIR", previous.c_str(), 1);
        std::filesystem::remove_all(dir);
    }

    std::string log() const
    {
        std::ifstream file(dir / "AfterEffects" / "Nimbrel.log");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

// A missing suite is reported to the user and the log, not returned; each
// frame adds a report of its own failure only (record 1 and no 2). A
// classic render needs no world suite.
TEST_F(ReportedFailure, MissingWorldSuiteIsReportedNotReturned)
{
    host.refuseSuite(kPFWorldSuite);
    EXPECT_TRUE(host.render(Depth::Bits8, RenderMode::Classic).command.ok());
    EXPECT_TRUE(log().empty());
    for (int frame = 0; frame < 2; ++frame) {
        const auto r = host.render(Depth::Bits8, RenderMode::Smart);
        EXPECT_EQ(r.command.error, PF_Err_NONE);
        EXPECT_TRUE(r.command.displayMessage);
        EXPECT_EQ(r.command.message.rfind("Quarn Internal Error", 0), 0u) << r.command.message;
        // The suite's message is the text itself, not a text about it.
        const std::string tail = ": Couldn't load suite.";
        ASSERT_GE(r.command.message.size(), tail.size());
        EXPECT_EQ(r.command.message.substr(r.command.message.size() - tail.size()), tail) << r.command.message;
    }
    const std::string text = log();
    const auto first = text.find("QUARN INTERNAL ERROR REPORT");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find("QUARN INTERNAL ERROR REPORT", first + 1), std::string::npos);
    EXPECT_NE(text.find("\"Couldn't load suite.\" (SuiteFailed)"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n2. "), std::string::npos);
}

}  // namespace
