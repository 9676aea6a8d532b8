#include "qrLayoutXMLElement.h"

#include "qrGroupXMLElement.h"
#include "qrPageXMLElement.h"

namespace Quarn::XML {

std::unique_ptr<ParseElement> LayoutXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (child == "group")
        return std::make_unique<GroupXMLElement>(layout_.params(), &layout_, nullptr);
    if (child == "page")
        return std::make_unique<PageXMLElement>(layout_.params(), &layout_);
    return ParseElement::beginElement(parser, child);
}

}  // namespace Quarn::XML
