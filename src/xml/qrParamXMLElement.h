#pragma once
// The element of one parameter in a parameter-set document, and the lookup
// that every parameter-like element (value types, choice, gradient, page)
// shares: the element's "name" finds the set's parameter, or, while the set's
// definition is unlocked, a new parameter of the element's type is made.
#include "qrParamSet.h"
#include "qrXMLParseElement.h"

#include <functional>

namespace Quarn::XML {

// What an element stands for: the type name an existing parameter must have
// (compared without regard to case) and how to make a new one.
struct ParamKind {
    std::string typeName;
    std::function<Param::Param*(const std::string& name)> create;
};

struct ResolvedParam {
    auto_ref<Param::Param> param;  // null after a report
    bool created = false;
};

// Reads "name" from the element's attributes and finds or makes the
// parameter; reports a missing name, an unknown name in a locked set and a
// parameter of another type.
ResolvedParam resolveParamElement(Parser& parser, Param::ParamSet& set, const std::string& element,
    AttributeList& attributes, const ParamKind& kind);

// A value parameter ("int", "rgba", "pushbutton", ...): its attributes are
// read by the parameter itself; it has no children.
class ParamXMLElement : public ParseElement {
public:
    ParamXMLElement(Param::ParamSet& set, const std::string& element, ParamKind kind);
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Param::ParamSet& set_;
    ParamKind kind_;
};

}  // namespace Quarn::XML
