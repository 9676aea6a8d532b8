#pragma once
// A "group" element: a new Group parameter listing the names of its "param"
// children and of the groups nested in it.
#include "qrLayout.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class GroupXMLElement : public ParseElement {
public:
    // `enclosing` receives this group's name as a member (null for a group at
    // the top); `layout`, when not null, records a top-level group.
    GroupXMLElement(Param::ParamSet& set, Param::LayoutSet* layout, Param::Group* enclosing);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    // The name must be new to the set.
    auto_ref<Param::Param> defineGroup(Parser& parser, const std::string& name);

    Param::ParamSet& set_;
    Param::LayoutSet* layout_;
    Param::Group* enclosing_;
    auto_ref<Param::Param> group_;
    // The group that receives members; null when none was defined.
    Param::Group* target_ = nullptr;
};

// A "param" member of a group.
class GroupParamXMLElement : public ParseElement {
public:
    GroupParamXMLElement(const std::string& element, Param::Group* group);
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::Group* group_;
};

}  // namespace Quarn::XML
