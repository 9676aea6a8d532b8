#include "qrXMLParseElement.h"

namespace Quarn::XML {

std::unique_ptr<ParseElement> ParseElement::beginElement(Parser& parser, const std::string& child)
{
    return refuseChild(parser, child);
}

void ParseElement::attributes(Parser&, AttributeList&)
{
}

void ParseElement::characters(Parser&, const char*, int)
{
}

void ParseElement::endElement(Parser&)
{
}

std::unique_ptr<ParseElement> ParseElement::refuseChild(Parser& parser, const std::string& child) const
{
    parser.reportError(child, "cannot be a child element of " + elementName_);
    return nullptr;
}

void DescriptionParseElement::characters(Parser&, const char* text, int length)
{
    text_.append(text, std::size_t(length));
}

}  // namespace Quarn::XML
