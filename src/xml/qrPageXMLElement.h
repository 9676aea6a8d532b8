#pragma once
// A "page" element and the cells it places. In an effect's layout a page
// holds "column" elements, each cell taking its row from its own "position";
// in a parameter-set document a page also takes the written form, "row"
// elements whose cells carry the column.
#include "qrLayout.h"
#include "qrLayoutContext.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class PageXMLElement : public ParseElement {
public:
    // `layout` records the page when it is not null.
    PageXMLElement(Param::ParamSet& set, Param::LayoutSet* layout, LayoutContext context);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::ParamSet& set_;
    Param::LayoutSet* layout_;
    LayoutContext context_;
    // The page that receives the cells; null when its content is kept.
    Param::Page* target_ = nullptr;
    auto_ref<Param::Param> page_;
};

// A "column" or "row" of a page: its position is one coordinate of every cell
// inside it.
class PageLineXMLElement : public ParseElement {
public:
    enum class Axis { column, row };
    PageLineXMLElement(const std::string& element, Param::Page* page, Axis axis);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Page* page_;
    Axis axis_;
    int position_ = 0;
};

// One cell: a parameter name and the other coordinate.
class PageCellXMLElement : public ParseElement {
public:
    PageCellXMLElement(
        const std::string& element, Param::Page* page, PageLineXMLElement::Axis axis, int linePosition);
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Page* page_;
    PageLineXMLElement::Axis axis_;
    int linePosition_;
};

}  // namespace Quarn::XML
