#pragma once
// A "choice" element: the choice parameter, its "option" and "alias"
// children, and the "default" and "value" labels, applied when the element
// ends so that they may name options defined inside it.
#include "qrParamChoice.h"
#include "qrParamSet.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class ChoiceXMLElement : public ParseElement {
public:
    explicit ChoiceXMLElement(Param::ParamSet& set) : ParseElement("choice"), set_(set) { }
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;
    void endElement(Parser& parser) override;

private:
    Param::ParamSet& set_;
    auto_ref<Param::Choice> choice_;
    std::string defaultLabel_;
    std::string valueLabel_;
};

// An "option": label, optional description, optional value (by default the
// number of options before it). Skipped in a value pass.
class ChoiceOptionXMLElement : public ParseElement {
public:
    ChoiceOptionXMLElement(const std::string& element, Param::Choice& choice)
        : ParseElement(element), choice_(choice)
    {
    }
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Choice& choice_;
};

}  // namespace Quarn::XML
