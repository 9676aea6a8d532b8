#include "qrChoiceXMLElement.h"

#include "qrAliasXMLElement.h"
#include "qrParamXMLElement.h"

namespace Quarn::XML {

void ChoiceXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    const ParamKind kind {"choice", [](const std::string& name) { return new Param::Choice(name); }};
    const ResolvedParam resolved = resolveParamElement(parser, set_, "choice", attributes, kind);
    if (!resolved.param)
        return;
    choice_ = resolved.param.cast<Param::Choice>();
    choice_->readAttributes(attributes);
    parser.getAttribute(attributes, "default", defaultLabel_);
    parser.getAttribute(attributes, "value", valueLabel_);
}

std::unique_ptr<ParseElement> ChoiceXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (choice_ && child == "option")
        return std::make_unique<ChoiceOptionXMLElement>(child, *choice_);
    if (choice_ && child == "alias")
        return std::make_unique<ChoiceOptionAliasXMLElement>(child, *choice_);
    return ParseElement::beginElement(parser, child);
}

void ChoiceXMLElement::endElement(Parser&)
{
    if (!choice_)
        return;
    if (!valueLabel_.empty()) {
        const int index = choice_->findLabelOrAlias(valueLabel_);
        if (index >= 0)
            choice_->select(index);
    }
    if (!defaultLabel_.empty() && !choice_->definitionLocked()) {
        const int index = choice_->findLabelOrAlias(defaultLabel_);
        if (index >= 0)
            choice_->setDefaultIndex(index);
    }
}

void ChoiceOptionXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string label;
    std::string description;
    int value = int(choice_.options().size());
    const bool hasLabel = parser.getAttribute(attributes, "label", label);
    parser.getAttribute(attributes, "description", description);
    parser.getAttribute(attributes, "value", value);
    if (!hasLabel) {
        parser.reportError(elementName(), "choice option needs a label " + elementName());
        return;
    }
    if (!choice_.definitionLocked())
        choice_.addOption(label, description, value);
}

}  // namespace Quarn::XML
