#pragma once
// A parser that keeps one handler per open element: the root handler (owned
// by the caller) answers for the document element, and every handler creates
// the handlers of its children. Handlers still open when the parse stops are
// freed with the parser.
#include "qrXMLParseElement.h"

#include <memory>
#include <vector>

namespace Quarn::XML {

class StackedParser : public Parser {
public:
    explicit StackedParser(ParseElement& root) : root_(root) { }

    void startElement(const std::string& name, AttributeList& attributes) override;
    void endElement(const std::string& name) override;
    void characterData(const char* text, int length) override;

    using Parser::parse;

private:
    ParseElement& current() { return open_.empty() ? root_ : *open_.back(); }

    ParseElement& root_;
    // The handlers of the open elements, innermost last.
    std::vector<std::unique_ptr<ParseElement>> open_;
};

}  // namespace Quarn::XML
