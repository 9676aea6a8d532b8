// Attribute texts: name folding and integer values in C notation.
#include "qrXMLAttributes.h"

#include <gtest/gtest.h>

using namespace Quarn::XML;

TEST(XMLAttributes, IntegerTextsFollowStrtolBaseZero)
{
    struct Case {
        const char* text;
        bool parsed;
        int value;
    };
    const Case cases[] = {
        {"12", true, 12},
        {"-3", true, -3},
        {"0x1f", true, 31},
        {"017", true, 15},
        {" 5 ", true, 5},
        {"8z", true, 8},
        {"z8", false, 99},
        {"", false, 99},
        {"99999999999", true, 2147483647},
        {"-99999999999", true, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        int value = 99;
        EXPECT_EQ(parseIntegerText(c.text, value), c.parsed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(XMLAttributes, NameFoldingLowersAsciiLettersOnly)
{
    EXPECT_EQ(foldName("MiXeD-9_\xC3\x89"), "mixed-9_\xC3\x89");
}
