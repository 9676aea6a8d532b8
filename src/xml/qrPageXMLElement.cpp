#include "qrPageXMLElement.h"

#include "qrParamXMLElement.h"

namespace Quarn::XML {

PageXMLElement::PageXMLElement(Param::ParamSet& set, Param::LayoutSet* layout)
    : ParseElement("page"), set_(set), layout_(layout)
{
}

void PageXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    const ParamKind kind {"page", [](const std::string& name) { return new Param::Page(name); }};
    const ResolvedParam resolved = resolveParamElement(parser, set_, "page", attributes, kind);
    if (!resolved.param)
        return;
    page_ = resolved.param;
    page_->readAttributes(attributes);
    target_ = dynamic_cast<Param::Page*>(page_.get());
    if (layout_)
        layout_->addPage(page_->name());
}

std::unique_ptr<ParseElement> PageXMLElement::beginElement(Parser&, const std::string& child)
{
    if (child == "column")
        return std::make_unique<PageColumnXMLElement>(child, target_);
    return nullptr;
}

PageColumnXMLElement::PageColumnXMLElement(const std::string& element, Param::Page* page)
    : ParseElement(element), page_(page)
{
}

void PageColumnXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    if (!parser.getAttribute(attributes, "position", column_))
        parser.reportError(elementName(), "page element needs position " + elementName());
}

std::unique_ptr<ParseElement> PageColumnXMLElement::beginElement(Parser&, const std::string& child)
{
    return std::make_unique<PageCellXMLElement>(child, page_, column_);
}

PageCellXMLElement::PageCellXMLElement(const std::string& element, Param::Page* page, int column)
    : ParseElement(element), page_(page), column_(column)
{
}

void PageCellXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string name;
    int position = 0;
    const bool hasName = parser.getAttribute(attributes, "name", name);
    const bool hasPosition = parser.getAttribute(attributes, "position", position);
    if (!hasName) {
        parser.reportError(elementName(), "page element needs a name ");
        return;
    }
    if (!hasPosition) {
        parser.reportError(elementName(), "page element needs position ");
        return;
    }
    if (page_)
        page_->addParam(name, position, column_);
}

}  // namespace Quarn::XML
