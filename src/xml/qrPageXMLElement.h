#pragma once
// A "page" element of an effect's layout and the cells it places: it holds
// "column" elements, each cell taking its row from its own "position".
#include "qrLayout.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class PageXMLElement : public ParseElement {
public:
    // `layout` records the page when it is not null.
    PageXMLElement(Param::ParamSet& set, Param::LayoutSet* layout);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::ParamSet& set_;
    Param::LayoutSet* layout_;
    // The page that receives the cells; null when none was read.
    Param::Page* target_ = nullptr;
    auto_ref<Param::Param> page_;
};

// A "column" of a page: its position is the column of every cell inside it.
class PageColumnXMLElement : public ParseElement {
public:
    PageColumnXMLElement(const std::string& element, Param::Page* page);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Page* page_;
    int column_ = 0;
};

// One cell: a parameter name and its row.
class PageCellXMLElement : public ParseElement {
public:
    PageCellXMLElement(const std::string& element, Param::Page* page, int column);
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Page* page_;
    int column_;
};

}  // namespace Quarn::XML
