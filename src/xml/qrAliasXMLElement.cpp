#include "qrAliasXMLElement.h"

namespace Quarn::XML {

void BaseAliasXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string alias;
    std::string original;
    const bool hasName = parser.getAttribute(attributes, "name", alias);
    const bool hasOriginal = parser.getAttribute(attributes, "original", original);
    if (!hasName) {
        parser.reportError(elementName(), "alias element needs a 'name' attribute " + elementName());
        return;
    }
    if (!hasOriginal) {
        parser.reportError(elementName(), "alias element needs an 'original' attribute " + elementName());
        return;
    }
    makeAlias(alias, original);
}

void ChoiceOptionAliasXMLElement::makeAlias(const std::string& alias, const std::string& original)
{
    if (!choice_.definitionLocked())
        choice_.aliasOption(alias, original);
}

void ParamAliasXMLElement::makeAlias(const std::string& alias, const std::string& original)
{
    if (!set_.definitionLocked())
        set_.aliasParam(alias, original);
}

}  // namespace Quarn::XML
