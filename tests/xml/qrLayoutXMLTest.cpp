// The "layout" element of an effect document: pages placed by columns,
// groups and their nesting, every message, and the assertions of a taken
// cell and of a group name already in use.
#include "qrEffect.h"
#include "qrParams.h"
#include "qrXMLReaders.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

using namespace Quarn;
using QrXMLTest::hasTextArgument;
using QrXMLTest::reportedError;

namespace {

class LayoutXML : public ::testing::Test {
protected:
    void SetUp() override { XML::installXMLReaders(); }

    void read(const std::string& layout)
    {
        effect->parseXML("<effect name='e'><layout>" + layout + "</layout></effect>");
    }
    std::string report(const std::string& layout)
    {
        return reportedError([&] { read(layout); });
    }
    template <class P> P* find(const std::string& name) { return dynamic_cast<P*>(effect->findParam(name)); }

    auto_ref<Wrapper::EffectI> effect {new Wrapper::EffectI(false)};
};

}  // namespace

TEST_F(LayoutXML, ColumnsPlaceTheirCellsAtRowPositions)
{
    read("<page name='p' label='Main'>"
         "<column position='2'><param name='x' position='4'/><slot name='y' position='0'/></column>"
         "<column position='0'><param name='z' position='4'/></column></page>");
    auto* page = find<Param::Page>("p");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->label(), "Main");
    ASSERT_NE(page->getParamAtPosition(4, 2), nullptr);
    EXPECT_EQ(*page->getParamAtPosition(4, 2), "x");
    ASSERT_NE(page->getParamAtPosition(0, 2), nullptr);
    EXPECT_EQ(*page->getParamAtPosition(0, 2), "y");
    ASSERT_NE(page->getParamAtPosition(4, 0), nullptr);
    EXPECT_EQ(*page->getParamAtPosition(4, 0), "z");
    EXPECT_EQ(page->getParamAtPosition(2, 4), nullptr);
    EXPECT_EQ(effect->layout().pages(), std::vector<std::string> {"p"});
    EXPECT_EQ(effect->layout().page("p"), page);
}

TEST_F(LayoutXML, GroupsListMembersAndNestedGroupsInOrder)
{
    read("<group name='outer'><param name='a'/><group name='inner'><param name='b'/></group>"
         "<param name='a'/></group><group name='second'/>");
    auto* outer = find<Param::Group>("outer");
    auto* inner = find<Param::Group>("inner");
    ASSERT_NE(outer, nullptr);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(outer->members(), (std::vector<std::string> {"a", "inner", "a"}));
    EXPECT_EQ(inner->members(), std::vector<std::string> {"b"});
    EXPECT_EQ(effect->layout().groups(), (std::vector<std::string> {"outer", "second"}));
    EXPECT_EQ(effect->layout().group("inner"), nullptr) << "nested groups are members, not layout roots";
}

TEST_F(LayoutXML, EveryReportedMessageHasItsText)
{
    struct Case {
        const char* layout;
        const char* report;
    };
    const Case cases[] = {
        {"<page/>", "At line1, element 'page' needs a name attribute"},
        {"<page name='p'><column/></page>", "At line1, element 'column' page element needs position column"},
        {"<page name='p'><column position='0'><param position='1'/></column></page>",
            "At line1, element 'param' page element needs a name "},
        {"<page name='p'><column position='0'><param name='a'/></column></page>",
            "At line1, element 'param' page element needs position "},
        {"<page name='p'><row position='0'/></page>", "At line1, element 'row'  element is not handled"},
        {"<group/>", "At line1, element 'group' needs a name attribute"},
        {"<group name='g'><param/></group>", "At line1, element 'param' group param needs a name "},
        {"<group name='g'><member name='a'/></group>",
            "At line1, element 'member' cannot be a child element of group"},
        {"<panel/>", "At line1, element 'panel' cannot be a child element of layout"},
        {"<page name='p' colour='red'/>", "At line1, element 'page' Unknown attributes 'colour'"},
    };
    for (const Case& c : cases) {
        effect = auto_ref<Wrapper::EffectI>(new Wrapper::EffectI(false));
        EXPECT_EQ(report(c.layout), c.report) << c.layout;
    }
}

TEST_F(LayoutXML, PageNamesFollowTheParameterRules)
{
    effect->parseXML("<effect name='e'><paramset><int name='n'/></paramset></effect>");
    EXPECT_EQ(report("<page name='n'/>"),
        "At line1, element 'page' with name = 'n' exists and has a different type.");
    read("<page name='p'><column position='0'><param name='a' position='0'/></column></page>");
    effect->setDefinitionLock(true);
    EXPECT_EQ(report("<page name='q'/>"), "At line1, element 'page' with name = 'q' is unknown.");
    EXPECT_EQ(report("<group name='g'/>"), "At line1, element 'group' with name = 'g' is unknown.");
    // An existing page takes further cells, also with the lock on.
    read("<page name='p'><column position='1'><param name='b' position='0'/></column></page>");
    EXPECT_EQ(find<Param::Page>("p")->cells().size(), 2u);
}

TEST_F(LayoutXML, TakenCellFailsTheAssertionAndKeepsTheFirstName)
{
    try {
        read("<page name='p'><column position='0'><param name='a' position='1'/>"
             "<param name='b' position='1'/></column></page>");
        FAIL() << "no exception";
    } catch (const Exceptions::AssertionFailed& e) {
        EXPECT_EQ(e.function(), "Quarn::Param::Page::addParam");
    }
    EXPECT_EQ(*find<Param::Page>("p")->getParamAtPosition(1, 0), "a");
}

TEST_F(LayoutXML, GroupNameAlreadyInUseFailsTheAssertion)
{
    const char* const layouts[] = {
        "<group name='g'/><group name='g'/>",
        "<page name='g'/><group name='g'/>",
        "<group name='g'><group name='g'/></group>",
    };
    for (const char* layout : layouts) {
        effect = auto_ref<Wrapper::EffectI>(new Wrapper::EffectI(false));
        try {
            read(layout);
            ADD_FAILURE() << "no exception: " << layout;
        } catch (const Exceptions::AssertionFailed& e) {
            EXPECT_EQ(e.function(), "Quarn::Param::GroupXMLElement::beginElement");
            EXPECT_EQ(e.line(), 38);
            EXPECT_TRUE(hasTextArgument(e, "p.isNull()"));
        }
    }
}
