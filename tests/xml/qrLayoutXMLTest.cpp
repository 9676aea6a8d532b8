// The "layout" element of an effect document: pages placed by columns,
// groups and their nesting, every message, and the assertions of a taken
// cell and of a group name already in use.
#include "qrParams.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

using namespace Quarn;
using QrXMLTest::hasTextArgument;
using QrXMLTest::thrown;

namespace {

class LayoutXML : public QrXMLTest::Documents {
protected:
    void read(const std::string& layout)
    {
        effect->parseXML("<effect name='e'><layout>" + layout + "</layout></effect>");
    }
    std::string reportFor(const std::string& layout)
    {
        return report("<effect name='e'><layout>" + layout + "</layout></effect>");
    }
    template <class P> P* find(const std::string& name) { return dynamic_cast<P*>(effect->findParam(name)); }
    // The name placed at a page's cell, or "-" when the cell is empty.
    std::string cell(int row, int column)
    {
        const std::string* name = find<Param::Page>("p")->getParamAtPosition(row, column);
        return name ? *name : "-";
    }
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
    EXPECT_EQ(cell(4, 2) + cell(0, 2) + cell(4, 0) + cell(2, 4), "xyz-");
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

TEST_F(LayoutXML, PageNamesFollowTheParameterRules)
{
    effect->parseXML("<effect name='e'><paramset><int name='n'/></paramset></effect>");
    EXPECT_EQ(reportFor("<page name='n'/>"),
        "At line1, element 'page' with name = 'n' exists and has a different type.");
    read("<page name='p'><column position='0'><param name='a' position='0'/></column></page>");
    effect->setDefinitionLock(true);
    EXPECT_EQ(reportFor("<page name='q'/>"), "At line1, element 'page' with name = 'q' is unknown.");
    EXPECT_EQ(reportFor("<group name='g'/>"), "At line1, element 'group' with name = 'g' is unknown.");
    // An existing page takes further cells, also with the lock on.
    read("<page name='p'><column position='1'><param name='b' position='0'/></column></page>");
    EXPECT_EQ(find<Param::Page>("p")->cells().size(), 2u);
}

TEST_F(LayoutXML, TakenCellOrGroupNameInUseFailsTheAssertion)
{
    const auto taken = thrown<Exceptions::AssertionFailed>([&] {
        read("<page name='p'><column position='0'><param name='a' position='1'/>"
             "<param name='b' position='1'/></column></page>");
    });
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->function(), "Quarn::Param::Page::addParam");
    EXPECT_EQ(cell(1, 0), "a") << "the first name keeps the cell";

    for (const char* layout : {"<group name='g'/><group name='g'/>", "<page name='g'/><group name='g'/>",
             "<group name='g'><group name='g'/></group>"}) {
        fresh();
        const auto inUse = thrown<Exceptions::AssertionFailed>([&] { read(layout); });
        ASSERT_TRUE(inUse) << layout;
        EXPECT_EQ(inUse->function(), "Quarn::Param::GroupXMLElement::beginElement");
        EXPECT_EQ(inUse->line(), 38);
        EXPECT_TRUE(hasTextArgument(*inUse, "p.isNull()"));
    }
}
