#pragma once
// The handler above a document's root element: it accepts exactly one root
// name and hands the object that the document fills to the root's handler.
#include "qrXMLParseElement.h"

namespace Quarn::XML {

// R is the object the document fills; E, the root element's handler, is built
// from it.
template <class R, class E> class RootElement : public ParseElement {
public:
    RootElement(std::string rootName, R object)
        : ParseElement(std::move(rootName)), object_(std::move(object))
    {
    }

    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override
    {
        if (child != elementName()) {
            parser.reportError(child, "Expecting root XML element '" + elementName() + "'");
            return nullptr;
        }
        return std::make_unique<E>(object_);
    }

private:
    R object_;
};

}  // namespace Quarn::XML
