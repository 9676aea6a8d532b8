#include "qrPageXMLElement.h"

#include "qrParamXMLElement.h"

namespace Quarn::XML {

PageXMLElement::PageXMLElement(Param::ParamSet& set, Param::LayoutSet* layout, LayoutContext context)
    : ParseElement("page"), set_(set), layout_(layout), context_(context)
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
    if (context_ == LayoutContext::layout || resolved.created)
        target_ = dynamic_cast<Param::Page*>(page_.get());
    if (layout_)
        layout_->addPage(page_->name());
}

std::unique_ptr<ParseElement> PageXMLElement::beginElement(Parser&, const std::string& child)
{
    using Axis = PageLineXMLElement::Axis;
    if (child == "column")
        return std::make_unique<PageLineXMLElement>(child, target_, Axis::column);
    if (child == "row" && context_ == LayoutContext::paramSet)
        return std::make_unique<PageLineXMLElement>(child, target_, Axis::row);
    return nullptr;
}

PageLineXMLElement::PageLineXMLElement(const std::string& element, Param::Page* page, Axis axis)
    : ParseElement(element), page_(page), axis_(axis)
{
}

void PageLineXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    if (!parser.getAttribute(attributes, "position", position_))
        parser.reportError(elementName(), "page element needs position " + elementName());
}

std::unique_ptr<ParseElement> PageLineXMLElement::beginElement(Parser&, const std::string& child)
{
    return std::make_unique<PageCellXMLElement>(child, page_, axis_, position_);
}

PageCellXMLElement::PageCellXMLElement(
    const std::string& element, Param::Page* page, PageLineXMLElement::Axis axis, int linePosition)
    : ParseElement(element), page_(page), axis_(axis), linePosition_(linePosition)
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
    if (!page_)
        return;
    if (axis_ == PageLineXMLElement::Axis::column)
        page_->addParam(name, position, linePosition_);
    else
        page_->addParam(name, linePosition_, position);
}

}  // namespace Quarn::XML
