#pragma once
// The "paramset" element: each child is one parameter (element names matched
// without regard to case), a set-level "alias", or a layout parameter.
#include "qrParamSet.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class ParamSetXMLElement : public ParseElement {
public:
    // A null set throws NullPointer.
    explicit ParamSetXMLElement(auto_ref<Param::ParamSet> set);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;

private:
    auto_ref<Param::ParamSet> set_;
};

}  // namespace Quarn::XML
