// The expat wrapper: attribute maps and their check, error reports, malformed
// documents, handler exceptions, depth, and reading files in blocks; and the
// attribute texts it reads: name folding and integers in C notation.
#include "qrXMLAttributes.h"
#include "qrXMLRootElement.h"
#include "qrXMLStackedParser.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace Quarn::XML;
using QrXMLTest::argumentText;
using QrXMLTest::reportedError;
using Quarn::AttributeList;
using Events = std::vector<std::string>;

namespace {

// A test format: "node" elements nest freely, "leaf" elements take no
// children; both read "name" and "count" and log them with their depth, and
// a node logs its text when it ends. Under a node, "boom" throws and "other"
// is not handled.
class TestElement : public ParseElement {
public:
    explicit TestElement(Events* log, const std::string& name = "node") : ParseElement(name), log_(*log) { }
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override
    {
        if (elementName() == "leaf")
            return ParseElement::beginElement(parser, child);
        if (child == "node" || child == "leaf")
            return std::make_unique<TestElement>(&log_, child);
        if (child == "boom")
            throw std::string("boom at depth ") + std::to_string(parser.depth());
        if (child == "other")
            return nullptr;
        return ParseElement::beginElement(parser, child);
    }
    void attributes(Parser& parser, AttributeList& map) override
    {
        std::string name;
        int count = -1;
        parser.getAttribute(map, "name", name);
        parser.getAttribute(map, "count", count);
        log_.push_back(
            elementName() + " " + name + " " + std::to_string(count) + " @" + std::to_string(parser.depth()));
    }
    void characters(Parser&, const char* text, int length) override { text_.append(text, length); }
    void endElement(Parser&) override
    {
        if (elementName() == "node")
            log_.push_back("end " + text_);
    }

private:
    Events& log_;
    std::string text_;
};

// A parser over the test format with its event log.
struct Session {
    Events log;
    RootElement<Events*, TestElement> root {"node", &log};
    StackedParser parser {root};
};

// Parses from text, or from a file when `file` is set; the parser's depth
// afterwards is logged last.
Events parse(const std::string& text, bool file = false)
{
    Session s;
    if (file) {
        QrXMLTest::TempFile temp(text);
        const auto close = [](std::FILE* f) { std::fclose(f); };
        std::unique_ptr<std::FILE, decltype(close)> f(std::fopen(temp.path().c_str(), "r"), close);
        EXPECT_NE(f, nullptr);
        s.parser.parse(f.get());
    } else {
        s.parser.parse(text);
    }
    s.log.push_back("depth " + std::to_string(s.parser.depth()));
    return s.log;
}

}  // namespace

TEST(XMLParser, HandlersSeeElementsAttributesTextAndDepthInDocumentOrder)
{
    EXPECT_EQ(parse("<node name='a' count='0x10'>x<node><leaf name='b'/></node>y<leaf/></node>"),
        (Events {"node a 16 @1", "node  -1 @2", "leaf b -1 @3", "end ", "leaf  -1 @2", "end xy", "depth 0"}));
    // Attribute names are folded to lower case before the handler asks.
    EXPECT_EQ(parse("<node NAME='x' Count='3'/>").front(), "node x 3 @1");
}

TEST(XMLParser, ReportedErrorsCarryLineElementAndMessage)
{
    struct Case {
        const char* document;
        const char* report;
    };
    const Case cases[] = {
        {"<node>\n\n<node colour='red'/></node>", "At line3, element 'node' Unknown attributes 'colour'"},
        {"<node zeta='1' alpha='2' name='n'/>", "At line1, element 'node' Unknown attributes 'alpha' 'zeta'"},
        {"<node>\n<leaf><node/></leaf></node>", "At line2, element 'node' cannot be a child element of leaf"},
        {"<node><other/></node>", "At line1, element 'other'  element is not handled"},
        {"<node><stranger/></node>", "At line1, element 'stranger' cannot be a child element of node"},
        {"<tree/>", "At line1, element 'tree' Expecting root XML element 'node'"},
        {"<Node/>", "At line1, element 'Node' Expecting root XML element 'node'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reportedError([&] { parse(c.document); }), c.report) << c.document;

    Session s;
    s.parser.setFoldAttributeNames(false);
    EXPECT_EQ(reportedError([&] { s.parser.parse("<node NAME='x'/>"); }),
        "At line1, element 'node' Unknown attributes 'NAME'");
}

TEST(XMLParser, NothingAfterAReportedErrorOrHandlerExceptionIsHandled)
{
    Session reported;
    EXPECT_THROW(reported.parser.parse("<node><leaf name='1'/><bad/><leaf name='2'/></node>"),
        Quarn::Exceptions::XML::Parse);
    EXPECT_EQ(reported.log, (Events {"node  -1 @1", "leaf 1 -1 @2"}));
    EXPECT_TRUE(reported.parser.failed());

    Session boom;
    try {
        boom.parser.parse("<node><node><boom/><leaf name='late'/></node></node>");
        FAIL() << "no exception";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "boom at depth 3");
    }
    EXPECT_EQ(boom.log, (Events {"node  -1 @1", "node  -1 @2"}));
}

TEST(XMLParser, AtMostFiveHundredAttributesAreTakenFromATag)
{
    // The handler reads a0..a500; a 501st attribute is never collected, so
    // it is neither read nor reported.
    struct ManyElement : ParseElement {
        ManyElement(int* seen) : ParseElement("many"), seen_(seen) { }
        void attributes(Parser& parser, AttributeList& map) override
        {
            std::string value;
            for (int i = 0; i < 501; ++i)
                *seen_ += parser.getAttribute(map, "a" + std::to_string(i), value) ? 1 : 0;
        }
        int* seen_;
    };
    std::string document = "<many";
    for (int i = 0; i < 501; ++i)
        document += " a" + std::to_string(i) + "='v'";
    int seen = 0;
    RootElement<int*, ManyElement> root("many", &seen);
    StackedParser parser(root);
    EXPECT_NO_THROW(parser.parse(document + "/>"));
    EXPECT_EQ(seen, 500);
}

TEST(XMLParser, EmptyOrUnfinishedDocumentsRaiseNothing)
{
    EXPECT_EQ(parse(""), Events {"depth 0"});
    EXPECT_EQ(parse("", true), Events {"depth 0"});
    EXPECT_EQ(parse("<node name='a'><leaf name='b'/>"), (Events {"node a -1 @1", "leaf b -1 @2", "depth 1"}));
}

TEST(XMLParser, MalformedDocumentNamesLineAndExpatsMessage)
{
    try {
        parse("<node>\n  <leaf name='a'></node>");
        FAIL() << "no exception";
    } catch (const Quarn::Exceptions::XML::Parse& e) {
        EXPECT_EQ(e.line(), 139);
        EXPECT_EQ(argumentText(e, 0).rfind("XML parsing, at line/column 2/", 0), 0u) << argumentText(e, 0);
        EXPECT_EQ(argumentText(e, 1), "mismatched tag");
    }
    EXPECT_THROW(parse("<node name='a' name='b'/>"), Quarn::Exceptions::XML::Parse);
    EXPECT_THROW(parse("<node>&undefined;</node>"), Quarn::Exceptions::XML::Parse);
}

TEST(XMLParser, FileReadInBlocksGivesTheSameEventsAndErrorsAsText)
{
    // Long enough to span several blocks, with text and tags across the
    // block boundaries; the error sits in the last block.
    std::string document = "<node name='top'>";
    for (int i = 0; i < 2000; ++i)
        document += "<leaf name='n" + std::to_string(i) + "'/>text" + std::to_string(i) + "\n";
    ASSERT_GT(document.size(), 3u * Parser::kBlockSize);

    const Events fromText = parse(document + "</node>");
    EXPECT_EQ(parse(document + "</node>", true), fromText);
    ASSERT_EQ(fromText.size(), 2003u);
    EXPECT_EQ(fromText[2000], "leaf n1999 -1 @2");

    const std::string expected = "At line2001, element 'leaf' Unknown attributes 'colour'";
    document += "<leaf colour='c'/></node>";
    EXPECT_EQ(reportedError([&] { parse(document); }), expected);
    EXPECT_EQ(reportedError([&] { parse(document, true); }), expected);
}

TEST(XMLAttributes, IntegerTextsFollowStrtolBaseZero)
{
    // A text that does not start with a number is 0, as strtol makes it.
    const std::pair<const char*, int> cases[] = {{"12", 12}, {"-3", -3}, {"0x1f", 31}, {"017", 15},
        {" 5 ", 5}, {"8z", 8}, {"z8", 0}, {"x", 0}, {"", 0}, {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(parseIntegerText(text), expected) << text;
}

TEST(XMLAttributes, NameFoldingLowersAsciiLettersOnly)
{
    EXPECT_EQ(foldName("MiXeD-9_\xC3\x89"), "mixed-9_\xC3\x89");
}
