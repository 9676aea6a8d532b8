#pragma once
// The handler of one open element in a stacked parse. A format is written as
// a tree of these: each handler creates the handlers of its child elements,
// consumes its own attributes and text, and is told when its element ends.
#include "qrXMLParser.h"

#include <memory>
#include <string>

namespace Quarn::XML {

class ParseElement {
public:
    explicit ParseElement(std::string elementName) : elementName_(std::move(elementName)) { }
    ParseElement(const ParseElement&) = delete;
    ParseElement& operator=(const ParseElement&) = delete;
    virtual ~ParseElement() = default;

    // The handler for a child element, or null after reporting an error. This
    // element accepts no children.
    virtual std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child);
    // Consumes the attributes this element knows; here none.
    virtual void attributes(Parser& parser, AttributeList& attributes);
    // The element's character data, possibly in several pieces; ignored here.
    virtual void characters(Parser& parser, const char* text, int length);
    virtual void endElement(Parser& parser);

    const std::string& elementName() const { return elementName_; }

protected:
    // Reports that `child` cannot be a child of this element; answers null.
    std::unique_ptr<ParseElement> refuseChild(Parser& parser, const std::string& child) const;

private:
    std::string elementName_;
};

// A "description" element: collects its character data.
class DescriptionParseElement : public ParseElement {
public:
    DescriptionParseElement() : ParseElement("description") { }
    void characters(Parser& parser, const char* text, int length) override;
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// A "description" element whose text becomes the description of an object
// when the element ends.
template <class R> class AutoRefObjectDescriptionParseElement : public DescriptionParseElement {
public:
    explicit AutoRefObjectDescriptionParseElement(R object) : object_(std::move(object)) { }
    void endElement(Parser&) override { object_->setDescription(text()); }

private:
    R object_;
};

}  // namespace Quarn::XML
