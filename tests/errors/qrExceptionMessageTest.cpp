// Exception texts: argument writing, template choice and placeholder
// substitution for every registered code.
#include "qrException.h"
#include "qrExceptionMessage.h"
#include "qrExceptionTemplate.h"

#include <gtest/gtest.h>

#include <array>

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

struct MessageCase {
    int32_t code;
    Arguments arguments;
    const char* text;
};

// One row per template of the table, plus the defaults reached without
// arguments. Integers stand in where the text reads best with numbers.
TEST(ExceptionMessage, EveryCodeFormatsItsTemplateForTheArgumentCount)
{
    const MessageCase cases[] = {
        {0, {}, "OK"},
        {1, {}, "Unknown error"},
        {2, {}, "Out of range"},
        {2, {7}, "7 out of range"},
        {2, {0, 10}, "Range is 0 to 10"},
        {2, {11, 0, 10}, "11 not in range 0 to 10"},
        {2, {"x", 11, 0, 10}, "'x' == 11 not in range 0 to 10"},
        {3, {}, "Wrong type supplied/requested"},
        {3, {"int"}, "'int' required"},
        {3, {"a", "int"}, "'a' should be 'int'"},
        {3, {"a", "int", "double"}, "'a' should be 'int' or 'double'"},
        {4, {}, "Failed"},
        {4, {"load"}, "'load' failed"},
        {4, {"open", "f.txt"}, "Failed to 'open' 'f.txt'"},
        {4, {"open", "f.txt", "No errno"}, "Failed to 'open' 'f.txt' - 'No errno'"},
        {5, {}, "Failed to allocated memory"},
        {5, {1024}, "Failed to allocated 1024 bytes"},
        {5, {1024, "Image"}, "'Image' failed to allocated 1024 bytes"},
        {6, {}, "Arithmetic Overflow"},
        {6, {"sum"}, "'sum' overflowed."},
        {6, {"sum", 1e300}, "'sum' overflowed with result 1e+300."},
        {7, {}, "Arithmetic Underflow"},
        {7, {"sum"}, "'sum' arithmetic Underflow"},
        {8, {}, "Item was Undefined"},
        {8, {"seed"}, "'seed' is undefined"},
        {8, {"seed", "Rain"}, "'seed' is undefined for 'Rain'"},
        {9, {}, "Null pointer"},
        {9, {"set"}, "'set' is null"},
        {10, {}, "Too many items"},
        {10, {12}, "12 exceeds maximum allowable 'items'"},
        {10, {12, "threads"}, "12 exceeds maximum allowable ''threads''"},
        {11, {}, "Duplicate not allowed"},
        {11, {"Source"}, "Duplicate 'Source' not allowed"},
        {11, {"Source", "clip"}, "'Source' is a duplicate 'clip' and is not allowed"},
        {12, {}, "Not registered"},
        {12, {5}, "5 is not registered"},
        {12, {"Error", 5}, "'Error' 5 is not registered"},
        {13, {}, "A default is needed."},
        {13, {5}, "5 requires a default."},
        {14, {}, "Not supported"},
        {14, {"Fields"}, "'Fields' are/is not supported"},
        {14, {"Host", "3D"}, "'Host' does/do not support '3D'"},
        {15, {}, "Missing item."},
        {15, {"name"}, "'name' is missing."},
        {15, {"page", "name"}, "'page' is missing 'name'"},
        {16, {}, "Missing item."},
        {16, {"foo"}, "'foo' is an unknown."},
        {16, {"foo", "element"}, "'foo' is an unknown 'element'."},
        {17, {}, "Bad value."},
        {17, {"gamma"}, "'gamma' is a bad value."},
        {17, {"gamma", -1}, "'gamma' has a bad value -1."},
        {18, {}, "Too big."},
        {18, {"width"}, "'width' is too big."},
        {18, {9, 8}, "9 is greater than 8."},
        {19, {}, "Too small."},
        {19, {"width"}, "'width' is too small."},
        {19, {1, 2}, "1 is less than 2."},
        {20, {}, "Busy doing something else."},
        {20, {"Pool"}, "'Pool' is busy doing something else."},
        {20, {"Pool", "render"}, "'Pool' is busy doing 'render'."},
        {21, {}, "Locked object."},
        {21, {"Set"}, "'Set' is locked."},
        {21, {"Set", "add"}, "'Set' is locked, cannot 'add'."},
        {22, {}, "Assertion failed."},
        {22, {"x > 0"}, "Assertion failed: 'x > 0'"},
        {23, {}, "Unspecified runtime error"},
        {23, {3}, "Runtime error [3]"},
        {23, {3, "oops"}, "[3] ''oops''"},
    };
    for (const MessageCase& c : cases)
        EXPECT_EQ(formatMessage(c.code, c.arguments), c.text)
            << "code " << c.code << " with " << c.arguments.size() << " arguments";
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
