// Attribute texts: name folding, consuming reads, and the bool, integer and
// number readings that every format shares.
#include "qrXMLAttributes.h"

#include <gtest/gtest.h>

using namespace Quarn::XML;

TEST(XMLAttributes, BoolTextsReadAsTheirTruth)
{
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {
        {"true", true},   {"TRUE", true},  {"TRUEX", true}, {"Yes", true},    {"yesterday", true},
        {"vrai", true},   {"Vero", true},  {"1", true},     {"0x10", true},   {"-4", true},
        {" \t\n\r\ftrue", true},           {"  7", true},   {"010", true},    {"false", false},
        {"no", false},    {"", false},     {"0", false},    {"0x0", false},   {"ye", false},
        {"\vtrue", false}, {"tru", false}, {"  ", false},   {"off", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseBoolText(c.text), c.value) << "'" << c.text << "'";
}

TEST(XMLAttributes, IntegerTextsFollowStrtolBaseZero)
{
    struct Case {
        const char* text;
        bool parsed;
        int value;
    };
    const Case cases[] = {
        {"12", true, 12},   {"-3", true, -3}, {"0x1f", true, 31}, {"017", true, 15},
        {" 5 ", true, 5},   {"8z", true, 8},  {"z8", false, 99},  {"", false, 99},
        {"99999999999", true, 2147483647},    {"-99999999999", true, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        int value = 99;
        EXPECT_EQ(parseIntegerText(c.text, value), c.parsed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(XMLAttributes, NumberTextsUseThePointAndKeepTheTargetOnFailure)
{
    double value = -1.0;
    EXPECT_TRUE(parseNumberText(" 0.25", value));
    EXPECT_DOUBLE_EQ(value, 0.25);
    EXPECT_TRUE(parseNumberText("1e3 rest", value));
    EXPECT_DOUBLE_EQ(value, 1000.0);
    EXPECT_FALSE(parseNumberText("half", value));
    EXPECT_DOUBLE_EQ(value, 1000.0);
}

TEST(XMLAttributes, TakingAnAttributeRemovesIt)
{
    AttributeMap map{{"name", "a"}, {"value", "3"}};
    std::string text;
    EXPECT_TRUE(takeAttribute(map, "name", text));
    EXPECT_EQ(text, "a");
    EXPECT_FALSE(takeAttribute(map, "name", text));
    EXPECT_EQ(text, "a");
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(foldName("MiXeD-9_\xC3\x89"), "mixed-9_\xC3\x89");
}
