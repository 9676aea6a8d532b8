#pragma once
// The "layout" element of an effect document: its "group" and "page"
// children define layout parameters in the effect's parameter set and are
// recorded in its layout set.
#include "qrLayout.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class LayoutXMLElement : public ParseElement {
public:
    explicit LayoutXMLElement(Param::LayoutSet& layout) : ParseElement("layout"), layout_(layout) { }
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;

private:
    Param::LayoutSet& layout_;
};

}  // namespace Quarn::XML
