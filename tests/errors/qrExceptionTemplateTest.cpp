// The template registry: adding texts and sets, its failures, and the
// one-time registration of the fixed table.
#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace Quarn::Exceptions;
using Quarn::Errors::Template;

// Runs `action`, which must throw the framework exception `name`, made at
// function, file and line with the given code.
void expectThrown(const std::function<void()>& action, const char* name, int32_t code, const char* function,
    const char* file, int32_t line)
{
    try {
        action();
        ADD_FAILURE() << "did not throw " << name;
    } catch (const ExceptionI& e) {
        EXPECT_STREQ(e.name(), name);
        EXPECT_EQ(e.code(), code) << name;
        EXPECT_EQ(std::tuple(e.function(), e.file(), e.line()), std::tuple(function, file, line)) << name;
    }
}

// Each test starts from an empty registry and stack and leaves the table
// registered again for whoever runs next.
class TemplateRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        Quarn::Errors::resetTemplates();
        Stack::clear();
    }
    void TearDown() override
    {
        Quarn::Errors::resetTemplates();
        Stack::clear();
        Quarn::Errors::Initialise();
    }
};

TEST(TemplatePlaceholders, CountsAtSignsFollowedByADigit)
{
    EXPECT_EQ(Quarn::Errors::placeholderCount("OK"), 0);
    EXPECT_EQ(Quarn::Errors::placeholderCount("@1 == @2 not in range @3 to @4"), 4);
    EXPECT_EQ(Quarn::Errors::placeholderCount("@ @x @"), 0);
    EXPECT_EQ(Quarn::Errors::placeholderCount("@1@1@9"), 3);
    EXPECT_EQ(Quarn::Errors::placeholderCount("@@1"), 1);
}

// One text per placeholder count (whatever its digits), at most six.
TEST(TemplateSet, StoresOneTextPerPlaceholderCount)
{
    Template set;
    set.addFormatString("Plain");
    set.addFormatString("@1 and @2");
    set.addFormatString("@1 @2 @3 @4 @5 @6");
    expectThrown([&] { set.addFormatString("@3 @1 second"); }, "DuplicateTemplateFormat", 11,
        "Quarn::Errors::Template::addFormatString", "src/qrException", 45);
    expectThrown([&] { set.addFormatString("@1@2@3@4@5@6@7"); }, "TooManyTemplateVars", 10,
        "Quarn::Errors::Template::addFormatString", "src/qrException", 40);
    ASSERT_NE(set.defaultFormat(), nullptr);
    EXPECT_EQ(*set.defaultFormat(), "Plain");
    ASSERT_NE(set.format(2), nullptr);
    EXPECT_EQ(*set.format(2), "@1 and @2");
    EXPECT_NE(set.format(6), nullptr);
    EXPECT_EQ(set.format(1), nullptr);
    EXPECT_EQ(set.formats().size(), 3u);
}

TEST_F(TemplateRegistry, RegisteringACodeTwiceIsRejected)
{
    Template first, second;
    first.addFormatString("First");
    second.addFormatString("Second");
    Quarn::Errors::addTemplate(300, first);
    expectThrown([&] { Quarn::Errors::addTemplate(300, second); }, "DuplicateTemplate", 11,
        "Quarn::Errors::addTemplate", "src/qrExceptionTemplate", 34);
    EXPECT_EQ(*Quarn::Errors::findTemplate(300)->defaultFormat(), "First");
    EXPECT_EQ(Quarn::Errors::findTemplate(301), nullptr);
}

// The first message registers the table; Initialise then registers nothing
// twice. That every code of the table has its texts is pinned by the
// message tests.
TEST_F(TemplateRegistry, TheTableIsRegisteredOnceByTheFirstMessageOrInitialise)
{
    EXPECT_EQ(Quarn::Errors::findTemplate(17), nullptr);
    EXPECT_EQ(BadValue("f", "src/qrTest", 1).message(), "Bad value.");
    EXPECT_NE(Quarn::Errors::findTemplate(17), nullptr);
    Quarn::Errors::Initialise();
    EXPECT_EQ(Quarn::Errors::findTemplate(24), nullptr);
    EXPECT_EQ(Stack::recordCount(), 0u) << "a second registration was attempted";
}

TEST_F(TemplateRegistry, AFailedRegistrationIsRecordedAndTheRestStillRegister)
{
    Template early, late;
    early.addFormatString("Early default");
    late.addFormatString("Late default");
    Quarn::Errors::addTemplate(4, early);
    Quarn::Errors::addTemplate(20, late);
    Quarn::Errors::Initialise();

    const Stack::Records records = Stack::snapshot();
    ASSERT_EQ(records.size(), 1u);
    const std::vector<Stack::Record>& list = records.at(0);
    ASSERT_EQ(list.size(), 2u);
    for (const Stack::Record& r : list)
        EXPECT_EQ(std::tuple(r.className, r.familyName, r.function, r.file),
            std::tuple(
                "DuplicateTemplate", "ExException", "Quarn::Errors::Initialise", "src/qrExceptionTemplate"));
    EXPECT_LT(list[0].line, list[1].line) << "each registration records its own line";
    EXPECT_GT(list[0].line, 0);
    EXPECT_EQ(*Quarn::Errors::findTemplate(4)->defaultFormat(), "Early default");
    for (int32_t code : {5, 19, 21, 23})
        EXPECT_NE(Quarn::Errors::findTemplate(code), nullptr) << code;
}

TEST_F(TemplateRegistry, ACodeLeftWithoutDefaultFailsTheFinalCheck)
{
    Template noDefault;
    noDefault.addFormatString("@1 only");
    Quarn::Errors::addTemplate(13, noDefault);
    expectThrown([] { Quarn::Errors::Initialise(); }, "ErrorEnumNeedsDefault", 13,
        "Quarn::Errors::Initialise", "src/qrExceptionTemplate", 384);
    // Reported once: later calls and messages do not throw again.
    EXPECT_NO_THROW(Quarn::Errors::Initialise());
    EXPECT_EQ(OutOfMemory("f", "src/qrTest", 1).message(), "Failed to allocated memory");
}

TEST_F(TemplateRegistry, ConcurrentFirstMessagesRegisterTheTableExactlyOnce)
{
    std::vector<std::string> texts(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < texts.size(); ++i)
        threads.emplace_back(
            [&texts, i] { texts[i] = Locked("f", "src/qrTest", 1, "Set", "add").message(); });
    for (std::thread& t : threads)
        t.join();
    for (const std::string& text : texts)
        EXPECT_EQ(text, "'Set' is locked, cannot 'add'.");
    EXPECT_EQ(Stack::recordCount(), 0u);
}

}  // namespace
