// The expat wrapper: attribute maps and their check, error reports, malformed
// documents, handler exceptions, and reading files in blocks.
#include "qrXMLRootElement.h"
#include "qrXMLStackedParser.h"
#include "qrXMLTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Quarn::XML;
using QrXMLTest::argumentText;
using QrXMLTest::reportedError;
using Quarn::AttributeList;

namespace {

// A test format: "node" elements nest freely and read "name" and "count";
// "leaf" elements read "name" and take no children; "boom" throws.
struct Log {
    std::vector<std::string> events;
};

class LeafElement : public ParseElement {
public:
    explicit LeafElement(Log& log) : ParseElement("leaf"), log_(log) { }
    void attributes(Parser& parser, AttributeList& map) override
    {
        std::string name;
        parser.getAttribute(map, "name", name);
        log_.events.push_back("leaf " + name);
    }

private:
    Log& log_;
};

class NodeElement : public ParseElement {
public:
    explicit NodeElement(Log* log) : ParseElement("node"), log_(*log) { }
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override
    {
        if (child == "node")
            return std::make_unique<NodeElement>(&log_);
        if (child == "leaf")
            return std::make_unique<LeafElement>(log_);
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
        log_.events.push_back("node " + name + " " + std::to_string(count));
    }
    void characters(Parser&, const char* text, int length) override { text_.append(text, length); }
    void endElement(Parser&) override { log_.events.push_back("end " + text_); }

private:
    Log& log_;
    std::string text_;
};

using Root = RootElement<Log*, NodeElement>;

Log parseText(const std::string& text)
{
    Log log;
    Root root("node", &log);
    StackedParser parser(root);
    parser.parse(text);
    return log;
}

Log parseFile(const std::string& text)
{
    QrXMLTest::TempFile file(text);
    Log log;
    Root root("node", &log);
    StackedParser parser(root);
    std::FILE* f = std::fopen(file.path().c_str(), "r");
    EXPECT_NE(f, nullptr);
    parser.parse(f);
    std::fclose(f);
    return log;
}

}  // namespace

TEST(XMLParser, HandlersSeeElementsAttributesAndTextInDocumentOrder)
{
    const Log log = parseText("<node name='a' count='0x10'>x<leaf name='b'/>y<node/></node>");
    const std::vector<std::string> expected {"node a 16", "leaf b", "node  -1", "end ", "end xy"};
    EXPECT_EQ(log.events, expected);
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
        EXPECT_EQ(reportedError([&] { parseText(c.document); }), c.report) << c.document;
}

TEST(XMLParser, ReportedErrorIsRaisedFromTheParseExceptionSite)
{
    try {
        parseText("<node><stranger/></node>");
        FAIL() << "no exception";
    } catch (const Quarn::Exceptions::XML::Parse& e) {
        EXPECT_EQ(e.function(), "Quarn::XML::Parser::throwParsingException");
        EXPECT_EQ(e.line(), 114);
        EXPECT_EQ(argumentText(e, 1), "XML parsing,");
    }
}

TEST(XMLParser, NothingAfterAReportedErrorIsHandled)
{
    Log log;
    Root root("node", &log);
    StackedParser parser(root);
    EXPECT_THROW(
        parser.parse("<node><leaf name='1'/><bad/><leaf name='2'/></node>"), Quarn::Exceptions::XML::Parse);
    EXPECT_EQ(log.events, std::vector<std::string>({"node  -1", "leaf 1"}));
    EXPECT_TRUE(parser.failed());
}

TEST(XMLParser, AttributeNamesAreFoldedToLowerCase)
{
    EXPECT_EQ(parseText("<node NAME='x' Count='3'/>").events.front(), "node x 3");

    Log log;
    Root root("node", &log);
    StackedParser parser(root);
    parser.setFoldAttributeNames(false);
    EXPECT_EQ(reportedError([&] { parser.parse("<node NAME='x'/>"); }),
        "At line1, element 'node' Unknown attributes 'NAME'");
}

TEST(XMLParser, AtMostFiveHundredAttributesAreTakenFromATag)
{
    // The handler below reads a0..a499; a 501st attribute is never collected,
    // so it is neither read nor reported.
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
    document += "/>";
    int seen = 0;
    RootElement<int*, ManyElement> root("many", &seen);
    StackedParser parser(root);
    EXPECT_NO_THROW(parser.parse(document));
    EXPECT_EQ(seen, 500);
}

TEST(XMLParser, EmptyOrUnfinishedDocumentsRaiseNothing)
{
    EXPECT_NO_THROW(parseText(""));
    const Log log = parseText("<node name='a'><leaf name='b'/>");
    EXPECT_EQ(log.events, std::vector<std::string>({"node a -1", "leaf b"}));
    EXPECT_NO_THROW(parseFile(""));
}

TEST(XMLParser, MalformedDocumentNamesLineAndExpatsMessage)
{
    try {
        parseText("<node>\n  <leaf name='a'></node>");
        FAIL() << "no exception";
    } catch (const Quarn::Exceptions::XML::Parse& e) {
        EXPECT_EQ(e.line(), 139);
        EXPECT_EQ(argumentText(e, 0).rfind("XML parsing, at line/column 2/", 0), 0u) << argumentText(e, 0);
        EXPECT_EQ(argumentText(e, 1), "mismatched tag");
    }
    EXPECT_THROW(parseText("<node name='a' name='b'/>"), Quarn::Exceptions::XML::Parse);
    EXPECT_THROW(parseText("<node>&undefined;</node>"), Quarn::Exceptions::XML::Parse);
}

TEST(XMLParser, HandlerExceptionLeavesTheParseUnchanged)
{
    Log log;
    Root root("node", &log);
    StackedParser parser(root);
    try {
        parser.parse("<node><node><boom/><leaf name='late'/></node></node>");
        FAIL() << "no exception";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "boom at depth 3");
    }
    EXPECT_EQ(log.events, std::vector<std::string>({"node  -1", "node  -1"}));
}

TEST(XMLParser, FileReadInBlocksGivesTheSameResultAsText)
{
    // Long enough to span several blocks, with text and tags across the
    // block boundaries.
    std::string document = "<node name='top'>";
    for (int i = 0; i < 2000; ++i)
        document += "<leaf name='n" + std::to_string(i) + "'/>text" + std::to_string(i);
    document += "</node>";
    ASSERT_GT(document.size(), 3u * Parser::kBlockSize);

    const Log fromText = parseText(document);
    const Log fromFile = parseFile(document);
    EXPECT_EQ(fromFile.events, fromText.events);
    ASSERT_EQ(fromText.events.size(), 2002u);
    EXPECT_EQ(fromText.events[1999 + 1], "leaf n1999");
}

TEST(XMLParser, FileErrorsAreReportedAsForText)
{
    std::string document = "<node>";
    for (int i = 0; i < 1000; ++i)
        document += "<leaf name='x'/>\n";
    document += "<leaf colour='c'/></node>";
    ASSERT_GT(document.size(), std::size_t(Parser::kBlockSize));
    const std::string expected = "At line1001, element 'leaf' Unknown attributes 'colour'";
    EXPECT_EQ(reportedError([&] { parseText(document); }), expected);
    EXPECT_EQ(reportedError([&] { parseFile(document); }), expected);
}

TEST(XMLParser, DepthCountsOpenElements)
{
    struct DepthElement : ParseElement {
        DepthElement(std::vector<int>* depths) : ParseElement("d"), depths_(depths) { }
        std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string&) override
        {
            depths_->push_back(parser.depth());
            return std::make_unique<DepthElement>(depths_);
        }
        std::vector<int>* depths_;
    };
    std::vector<int> depths;
    RootElement<std::vector<int>*, DepthElement> root("d", &depths);
    StackedParser parser(root);
    parser.parse("<d><d><d/></d><d/></d>");
    EXPECT_EQ(depths, std::vector<int>({2, 3, 2}));
    EXPECT_EQ(parser.depth(), 0);
}
