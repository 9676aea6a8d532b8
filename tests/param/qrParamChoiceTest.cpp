// Choice parameters: options, aliases and selection from text.
#include "qrMockParamHost.h"
#include "qrParams.h"

#include <gtest/gtest.h>

using namespace Quarn::Param;
using ::testing::_;
using ::testing::NiceMock;

namespace {

Quarn::auto_ref<Choice> makeChoice()
{
    Quarn::auto_ref<Choice> c(new Choice("mode"));
    c->addOption("Soft", "", 5);
    c->addOption("Hard", "", 2);
    c->addOption("Auto", "", 7);
    return c;
}

}  // namespace

TEST(ChoiceParse, SelectsByLabelByAliasAndByOptionValue)
{
    auto c = makeChoice();
    c->aliasOption("Smooth", "Soft");
    // "2" selects the option whose value is 2, not the third option.
    const struct {
        const char* text;
        int index;
    } rows[] = {{"Auto", 2}, {"Smooth", 0}, {"Hard", 1}, {"2", 1}, {" 7 ", 2}};
    for (const auto& row : rows) {
        c->parseValue(row.text);
        EXPECT_EQ(c->current(), row.index) << row.text;
    }
}

TEST(ChoiceParse, UnknownTextThrowsBadValueAndKeepsTheCurrentOption)
{
    auto c = makeChoice();
    c->setCurrent(2);
    for (const char* text : {"Medium", "3", "", "2x"}) {
        try {
            c->parseValue(text);
            FAIL() << "'" << text << "' was accepted";
        } catch (const Quarn::Exceptions::BadValue& e) {
            EXPECT_EQ(e.function(), "Quarn::Param::Choice::parseValue");
            ASSERT_EQ(e.arguments().size(), 1u);
            EXPECT_EQ(e.arguments()[0].write(),
                "'" + std::string(text) + " is not an option to the choice parameter mode'");
        }
        EXPECT_EQ(c->current(), 2);
    }
}

TEST(ChoiceParse, HostedChoiceSendsTheNewIndexToTheHost)
{
    NiceMock<MockParamHost> host;
    host.defines({"mode"});
    ParamSet set;
    auto c = makeChoice();
    set.addParam(c);
    set.setHost(&host);
    EXPECT_CALL(host, setIntParam("mode", 1));
    c->parseValue("Hard");
}

TEST(ChoiceOptions, RefusalsNameWhatCollidedInCheckOrder)
{
    const struct {
        const char* label;
        int value;
        int line;
        const char* message;
    } rows[] = {
        {"Smooth", 99, 115, "Tried to add a choice option for an existing alias"},
        {"Soft", 99, 119, "Tried to add a choice option for an existing option"},
        {"Soft", 2, 119, "Tried to add a choice option for an existing option"},
        {"New", 2, 123, "Tried to add a choice option for an existing value"},
    };
    for (const auto& row : rows) {
        auto c = makeChoice();
        c->aliasOption("Smooth", "Soft");
        try {
            c->addOption(row.label, "", row.value);
            FAIL() << row.label << " accepted";
        } catch (const Quarn::Exceptions::DuplicateObject& e) {
            EXPECT_EQ(e.function(), "Quarn::Param::Choice::addOption");
            EXPECT_EQ(e.line(), row.line) << row.label;
            EXPECT_EQ(e.arguments()[0].write(), "'" + std::string(row.message) + "'");
        }
        EXPECT_EQ(c->options().size(), 3u);
    }
}

TEST(ChoiceOptions, AliasMayNotBeAnOptionLabelButMayPrecedeItsOriginal)
{
    auto c = makeChoice();
    try {
        c->aliasOption("Hard", "Soft");
        FAIL() << "alias spelt like an option accepted";
    } catch (const Quarn::Exceptions::DuplicateObject& e) {
        EXPECT_EQ(e.function(), "Quarn::Param::Choice::aliasOption");
        EXPECT_EQ(e.line(), 207);
    }
    c->aliasOption("Later", "Custom");
    EXPECT_EQ(c->findAlias("Later"), -1);
    c->addOption("Custom", "", 40);
    EXPECT_EQ(c->findAlias("Later"), 3);
    EXPECT_EQ(c->labelAt(4), "") << "no option there";
}

TEST(ChoiceOptions, CurrentValueIsZeroOutsideTheOptionTable)
{
    auto c = makeChoice();
    for (auto [index, value] : {std::pair {2, 7}, {3, 0}, {-1, 0}}) {
        c->setCurrent(index);
        EXPECT_EQ(c->currentValue(), value) << index;
    }
}
