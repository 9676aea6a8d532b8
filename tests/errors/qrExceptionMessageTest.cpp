// Exception texts: argument writing, template choice and placeholder
// substitution for every registered code.
#include "qrException.h"
#include "qrExceptionMessage.h"
#include "qrExceptionTemplate.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

namespace {

using Quarn::Errors::formatMessage;
using Quarn::Exceptions::Argument;
using Quarn::Exceptions::Arguments;

struct ArgumentCase {
    const char* what;
    Argument argument;
    const char* written;
};

TEST(ExceptionArgument, WritesEachTypeAsMessagesShowIt)
{
    const std::array<double, 3> rgb = {1.0, 2.5, 3.0};
    const std::array<float, 2> xy = {0.1f, -2.0f};
    const std::array<double, 4> quad = {0.0, 1e-6, 100.0, -0.25};
    const ArgumentCase cases[] = {
        {"int", Argument(42), "42"},
        {"negative int", Argument(-7), "-7"},
        {"unsigned long long", Argument(1234567890123ULL), "1234567890123"},
        {"fraction", Argument(0.5), "0.5"},
        {"whole double", Argument(100.0), "100"},
        {"tiny double", Argument(1e-6), "1e-06"},
        {"float keeps its short form", Argument(0.1f), "0.1"},
        {"text in single quotes", Argument("gamma"), "'gamma'"},
        {"std::string", Argument(std::string("Source")), "'Source'"},
        {"empty text", Argument(""), "''"},
        {"null text", Argument(static_cast<const char*>(nullptr)), "''"},
        {"three-vector", Argument(rgb), "[1, 2.5, 3]"},
        {"float two-vector", Argument(xy), "[0.1, -2]"},
        {"four-vector", Argument(quad), "[0, 1e-06, 100, -0.25]"},
        {"type without writer", Argument::unknown(), "unknown"},
    };
    for (const ArgumentCase& c : cases)
        EXPECT_EQ(c.argument.write(), c.written) << c.what;
}

// Each registered code's texts for none, one, two... of the arguments
// 'a', 2, 3, 4: one per template of the fixed table.
TEST(ExceptionMessage, EveryCodeFormatsItsTemplateForTheArgumentCount)
{
    const Arguments all = {"a", 2, 3, 4};
    const std::vector<std::pair<int32_t, std::vector<const char*>>> codes = {
        {0, {"OK"}},
        {1, {"Unknown error"}},
        {2,
            {"Out of range", "'a' out of range", "Range is 'a' to 2", "'a' not in range 2 to 3",
                "'a' == 2 not in range 3 to 4"}},
        {3, {"Wrong type supplied/requested", "'a' required", "'a' should be 2", "'a' should be 2 or 3"}},
        {4, {"Failed", "'a' failed", "Failed to 'a' 2", "Failed to 'a' 2 - 3"}},
        {5,
            {"Failed to allocated memory", "Failed to allocated 'a' bytes",
                "2 failed to allocated 'a' bytes"}},
        {6, {"Arithmetic Overflow", "'a' overflowed.", "'a' overflowed with result 2."}},
        {7, {"Arithmetic Underflow", "'a' arithmetic Underflow"}},
        {8, {"Item was Undefined", "'a' is undefined", "'a' is undefined for 2"}},
        {9, {"Null pointer", "'a' is null"}},
        {10,
            {"Too many items", "'a' exceeds maximum allowable 'items'", "'a' exceeds maximum allowable '2'"}},
        {11,
            {"Duplicate not allowed", "Duplicate 'a' not allowed",
                "'a' is a duplicate 2 and is not allowed"}},
        {12, {"Not registered", "'a' is not registered", "'a' 2 is not registered"}},
        {13, {"A default is needed.", "'a' requires a default."}},
        {14, {"Not supported", "'a' are/is not supported", "'a' does/do not support 2"}},
        {15, {"Missing item.", "'a' is missing.", "'a' is missing 2"}},
        {16, {"Missing item.", "'a' is an unknown.", "'a' is an unknown 2."}},
        {17, {"Bad value.", "'a' is a bad value.", "'a' has a bad value 2."}},
        {18, {"Too big.", "'a' is too big.", "'a' is greater than 2."}},
        {19, {"Too small.", "'a' is too small.", "'a' is less than 2."}},
        {20, {"Busy doing something else.", "'a' is busy doing something else.", "'a' is busy doing 2."}},
        {21, {"Locked object.", "'a' is locked.", "'a' is locked, cannot 2."}},
        {22, {"Assertion failed.", "Assertion failed: 'a'"}},
        {23, {"Unspecified runtime error", "Runtime error ['a']", "['a'] '2'"}},
    };
    for (const auto& [code, texts] : codes)
        for (size_t n = 0; n < texts.size(); ++n)
            EXPECT_EQ(formatMessage(code, Arguments(all.begin(), all.begin() + long(n))), texts[n])
                << "code " << code << " with " << n << " arguments";
}

TEST(ExceptionMessage, SurplusArgumentsFallBackToTheNearestSmallerTemplate)
{
    EXPECT_EQ(formatMessage(9, {"p", 2, 3}), "'p' is null");
    EXPECT_EQ(formatMessage(22, {"a", "b"}), "Assertion failed: 'a'");
    EXPECT_EQ(formatMessage(0, {1}), "OK");
    EXPECT_EQ(formatMessage(2, {1, 2, 3, 4, 5, 6, 7, 8}), "1 == 2 not in range 3 to 4");
}

TEST(ExceptionMessage, CodesWithoutTemplatesNameTheCode)
{
    EXPECT_EQ(formatMessage(99, {}), "Unregistered Error (99)");
    EXPECT_EQ(formatMessage(99, {"x"}), "Unregistered Error (99)");
    EXPECT_EQ(formatMessage(-3, {}), "Unregistered Error (-3)");
    EXPECT_EQ(Quarn::Errors::defaultMessage(24), "Unregistered Error (24)");
    EXPECT_EQ(Quarn::Errors::defaultMessage(15), "Missing item.");
}

// Substitution rules on texts outside the fixed table.
struct SubstituteCase {
    const char* text;
    Arguments arguments;
    const char* result;
};

TEST(ExceptionMessage, PlaceholdersAreReplacedAndLoneAtSignsDropped)
{
    const SubstituteCase cases[] = {
        {"Cost @", {}, "Cost "},
        {"@", {}, ""},
        {"@@1", {5}, "5"},
        {"@x marks", {}, "x marks"},
        {"@2 before @1", {"a", "b"}, "'b' before 'a'"},
        {"@1@1", {7}, "77"},
        {"@10", {7}, "70"},
        {"only @3", {1}, "only "},
        {"none @0", {1}, "none "},
        {"no placeholder", {1, 2}, "no placeholder"},
        {"keeps @1 as typed", {"@2"}, "keeps '@2' as typed"},
    };
    for (const SubstituteCase& c : cases)
        EXPECT_EQ(Quarn::Errors::substitute(c.text, c.arguments), c.result) << c.text;
}

TEST(ExceptionMessage, RegisteredTextEndingInLoneAtLosesIt)
{
    Quarn::Errors::Template set;
    set.addFormatString("Total @");
    set.addFormatString("Total @1 @");
    Quarn::Errors::addTemplate(5001, set);
    EXPECT_EQ(formatMessage(5001, {}), "Total ");
    EXPECT_EQ(formatMessage(5001, {3}), "Total 3 ");
}

}  // namespace
