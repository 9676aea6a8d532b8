#include "qrGroupXMLElement.h"

#include "qrParamXMLElement.h"

namespace Quarn::XML {

GroupXMLElement::GroupXMLElement(Param::ParamSet& set, Param::LayoutSet* layout, Param::Group* enclosing)
    : ParseElement("group"), set_(set), layout_(layout), enclosing_(enclosing)
{
}

void GroupXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string name;
    if (!parser.getAttribute(attributes, "name", name)) {
        parser.reportError("group", "needs a name attribute");
        return;
    }
    group_ = defineGroup(parser, name);
    if (!group_)
        return;
    group_->readAttributes(attributes);
    target_ = dynamic_cast<Param::Group*>(group_.get());
    if (enclosing_)
        enclosing_->addParam(group_->name());
    else if (layout_)
        layout_->addGroup(group_->name());
}

auto_ref<Param::Param> GroupXMLElement::defineGroup(Parser& parser, const std::string& name)
{
    auto_ref<Param::Param> p = auto_ref<Param::Param>::share(set_.findParam(name));
    if (!p.isNull())
        throw Exceptions::AssertionFailed(
            "Quarn::Param::GroupXMLElement::beginElement", "src/qrParamHierarchy", 38, "p.isNull()");
    if (set_.definitionLocked()) {
        parser.reportError("group", "with name = '" + name + "' is unknown.");
        return {};
    }
    p = auto_ref<Param::Param>(new Param::Group(name));
    set_.addParam(p);
    return p;
}

std::unique_ptr<ParseElement> GroupXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (child == "param")
        return std::make_unique<GroupParamXMLElement>(child, target_);
    if (child == "group")
        return std::make_unique<GroupXMLElement>(set_, nullptr, target_);
    return ParseElement::beginElement(parser, child);
}

GroupParamXMLElement::GroupParamXMLElement(const std::string& element, Param::Group* group)
    : ParseElement(element), group_(group)
{
}

void GroupParamXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string name;
    if (!parser.getAttribute(attributes, "name", name)) {
        parser.reportError(elementName(), "group param needs a name ");
        return;
    }
    if (group_)
        group_->addParam(name);
}

}  // namespace Quarn::XML
