#include "qrParamXMLElement.h"

namespace Quarn::XML {

ResolvedParam resolveParamElement(Parser& parser, Param::ParamSet& set, const std::string& element,
    AttributeList& attributes, const ParamKind& kind)
{
    std::string name;
    if (!parser.getAttribute(attributes, "name", name)) {
        parser.reportError(element, "needs a name attribute");
        return {};
    }
    if (Param::Param* existing = set.findParam(name)) {
        if (foldName(existing->typeName()) != foldName(kind.typeName)) {
            parser.reportError(element, "with name = '" + name + "' exists and has a different type.");
            return {};
        }
        return {auto_ref<Param::Param>::share(existing), false};
    }
    if (set.definitionLocked()) {
        parser.reportError(element, "with name = '" + name + "' is unknown.");
        return {};
    }
    auto_ref<Param::Param> made(kind.create(name));
    set.addParam(made);
    return {made, true};
}

ParamXMLElement::ParamXMLElement(Param::ParamSet& set, const std::string& element, ParamKind kind)
    : ParseElement(element), set_(set), kind_(std::move(kind))
{
}

void ParamXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    const ResolvedParam resolved = resolveParamElement(parser, set_, elementName(), attributes, kind_);
    if (resolved.param)
        resolved.param->readAttributes(attributes);
}

}  // namespace Quarn::XML
