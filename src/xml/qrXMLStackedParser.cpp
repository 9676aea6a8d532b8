#include "qrXMLStackedParser.h"

namespace Quarn::XML {

void StackedParser::startElement(const std::string& name, AttributeList& attributes)
{
    std::unique_ptr<ParseElement> child = current().beginElement(*this, name);
    if (failed())
        return;
    if (!child) {
        reportError(name, " element is not handled");
        return;
    }
    open_.push_back(std::move(child));
    open_.back()->attributes(*this, attributes);
}

void StackedParser::endElement(const std::string&)
{
    if (failed() || open_.empty())
        return;
    open_.back()->endElement(*this);
    open_.pop_back();
}

void StackedParser::characterData(const char* text, int length)
{
    if (!failed())
        current().characters(*this, text, length);
}

}  // namespace Quarn::XML
