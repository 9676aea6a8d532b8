// Reading parameter-set documents: every reported message, element and
// attribute name folding, choices, gradients, aliases, and the value pass
// of a locked set.
#include "qrParams.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

using namespace Quarn;
using QrXMLTest::reportedError;

using ParamSetXML = QrXMLTest::Documents;

// The messages of elements inside a set are in the effect documents' table.
TEST_F(ParamSetXML, RootAndLockedSetMessagesHaveTheirText)
{
    EXPECT_EQ(reportedError([&] { set->parseXML("<ParamSet/>"); }),
        "At line1, element 'ParamSet' Expecting root XML element 'paramset'");
    set->setDefinitionLock(true);
    EXPECT_EQ(reportedError([&] { set->parseXML("<paramset><int name='a' value='3'/></paramset>"); }),
        "At line1, element 'int' with name = 'a' is unknown.");
}

TEST_F(ParamSetXML, ElementAndAttributeNamesIgnoreCase)
{
    set->parseXML("<paramset><INT NAME='a' Value='3'/><ColourGrad name='g'/></paramset>");
    EXPECT_EQ(param<Param::Int>("a").value(), 3);
    EXPECT_EQ(param<Param::Grad>("g").typeName(), "grad");
}

TEST_F(ParamSetXML, DocumentsReadAsFarAsTheyGo)
{
    EXPECT_NO_THROW(set->parseXML(""));
    EXPECT_NO_THROW(set->parseXML("<paramset><int name='a' value='2'/>"));
    EXPECT_EQ(param<Param::Int>("a").value(), 2);
    EXPECT_THROW(set->parseXML("<paramset><int name='b'></paramset>"), Exceptions::XML::Parse);
    // A reported error keeps what was read before it and reads nothing after.
    EXPECT_THROW(set->parseXML("<paramset><int name='a' value='4'/><int/><int name='z'/></paramset>"),
        Exceptions::XML::Parse);
    EXPECT_EQ(param<Param::Int>("a").value(), 4);
    EXPECT_EQ(set->findParam("z"), nullptr);
}

TEST_F(ParamSetXML, ChoiceOptionsAliasesAndSelection)
{
    set->parseXML("<paramset><choice name='mode' default='Hard' value='Smooth'>"
                  "<option label='Hard'/><option label='Soft' description='gentle'/>"
                  "<option label='Mixed' value='0x10'/><alias name='Smooth' original='Soft'/>"
                  "</choice></paramset>");
    auto& mode = param<Param::Choice>("mode");
    ASSERT_EQ(mode.options().size(), 3u);
    EXPECT_EQ(mode.options()[0].value, 0);
    EXPECT_EQ(mode.options()[1].value, 1);
    EXPECT_EQ(mode.options()[1].description, "gentle");
    EXPECT_EQ(mode.options()[2].value, 16);
    EXPECT_EQ(mode.current(), 1);
    EXPECT_EQ(mode.defaultIndex(), 0);

    // A value names a label or alias only: a number selects nothing.
    set->parseXML("<paramset><choice name='mode' value='2'/></paramset>");
    EXPECT_EQ(mode.current(), 1);
    set->parseXML("<paramset><choice name='mode' value='Mixed'/></paramset>");
    EXPECT_EQ(mode.current(), 2);
}

TEST_F(ParamSetXML, DuplicateOrMissingNamesLeaveTheParse)
{
    // Choice options are added in document order with their read values.
    const std::pair<const char*, const char*> refused[] = {
        {"<choice name='c'><option label='A' value='1'/><option label='B' value='0x1'/></choice>",
            "DuplicateObject"},
        {"<choice name='c'><option label='A'/><alias name='A' original='B'/></choice>", "DuplicateObject"},
        // A value that is no number reads as strtol reads it, 0, which A has.
        {"<choice name='c'><option label='A'/><option label='B' value='x'/></choice>", "DuplicateObject"},
        {"<choice name='c'><option label='A' value='8'/><option label='B' value='010'/></choice>",
            "DuplicateObject"},
        {"<int name='n'/><alias name='x' original='missing'/>", "ObjectUndefined"},
        {"<int name='n'/><alias name='n' original='n'/>", "DuplicateObject"},
    };
    for (const auto& [body, className] : refused) {
        fresh();
        try {
            set->parseXML(std::string("<paramset>") + body + "</paramset>");
            ADD_FAILURE() << body << " was read";
        } catch (const Exceptions::ExceptionI& e) {
            EXPECT_STREQ(e.name(), className) << body;
        }
    }
}

TEST_F(ParamSetXML, GradientNodesIdsAndDefaults)
{
    set->parseXML("<paramset><colourgrad name='g'>"
                  "<default cyclic='true' interp='cubic'>"
                  "<node position='0.75' value='1 0 0 1'/><node position='0.25' value='0 1 0 1' id='7'/>"
                  "<node position='0.5' value='0 0 1 0.5'/></default></colourgrad></paramset>");
    const auto& g = param<Param::Grad>("g");
    const QrColGradDescription& d = g.defaultValue();
    EXPECT_TRUE(d.cyclic());
    EXPECT_EQ(d.interpolation(), QrColGradDescription::Interpolation::cubic);
    // Sorted by position; a node without an id takes the next free one.
    using Node = QrColGradDescription::Node;
    EXPECT_EQ(d.nodes(),
        (std::vector<Node> {{{0, 1, 0, 1}, 0.25f, 7}, {{0, 0, 1, 0.5f}, 0.5f, 8}, {{1, 0, 0, 1}, 0.75f, 0}}));
    // No value read: the default becomes the value as well.
    EXPECT_EQ(g.value(), d);

    set->parseXML("<paramset><colourgrad name='g'><value><node position='1' value='1 1 1 1'/>"
                  "</value></colourgrad></paramset>");
    ASSERT_EQ(g.value().nodes().size(), 1u);
    EXPECT_FALSE(g.value().cyclic());
    EXPECT_EQ(g.defaultValue(), d);
}

TEST_F(ParamSetXML, SetLevelAliasesFindTheOriginal)
{
    set->parseXML("<paramset><int name='count'/><alias name='amount' original='count'/>"
                  "<int name='amount' value='9'/></paramset>");
    EXPECT_EQ(param<Param::Int>("count").value(), 9);
    EXPECT_EQ(set->params().hsObjects().size(), 1u);
}

TEST_F(ParamSetXML, LockedSetTakesValuesButKeepsDefinitions)
{
    set->parseXML("<paramset>"
                  "<int name='a' label='A' default='5' min='0' max='10' value='7'/>"
                  "<choice name='c' default='One'><option label='Zero'/><option label='One'/></choice>"
                  "<colourgrad name='g'/>"
                  "</paramset>");
    set->setDefinitionLock(true);
    const QrColGradDescription gradDefault = param<Param::Grad>("g").defaultValue();
    set->parseXML("<paramset>"
                  "<int name='a' label='Count' default='1' max='20' value='15'/>"
                  "<choice name='c' default='Zero' value='One'><option label='Two'/>"
                  "<alias name='Uno' original='One'/></choice>"
                  "<colourgrad name='g'><default><node position='0' value='1 1 1 1'/></default>"
                  "<value><node position='0.5' value='1 0 0 1'/></value></colourgrad>"
                  "</paramset>");
    // The parameter's own attributes follow its reading rules under the lock.
    EXPECT_EQ(param<Param::Int>("a").label(), "Count");
    EXPECT_EQ(param<Param::Int>("a").defaultValue(), 5);
    EXPECT_EQ(param<Param::Int>("a").value(), 15);

    const auto& c = param<Param::Choice>("c");
    EXPECT_EQ(c.options().size(), 2u);
    EXPECT_TRUE(c.aliases().empty());
    EXPECT_EQ(c.current(), 1);
    EXPECT_EQ(c.defaultIndex(), 1);

    const auto& g = param<Param::Grad>("g");
    EXPECT_EQ(g.defaultValue(), gradDefault);
    ASSERT_EQ(g.value().nodes().size(), 1u);
    EXPECT_FLOAT_EQ(g.value().nodes()[0].position, 0.5f);

    set->parseXML("<paramset><alias name='b' original='a'/></paramset>");
    EXPECT_EQ(set->findParam("b"), nullptr);
}
