#include "qrParamSetXMLElement.h"

#include "qrAliasXMLElement.h"
#include "qrChoiceXMLElement.h"
#include "qrGradXMLElement.h"
#include "qrParamXMLElement.h"
#include "qrParams.h"

#include <map>

namespace Quarn::XML {

namespace {

// A value type's element name (its type name) and how to make one.
template <class P> std::pair<const std::string, ParamKind> entry(const char* typeName)
{
    auto create = [](const std::string& name) -> Param::Param* { return new P(name); };
    return {typeName, ParamKind {typeName, create}};
}

const std::map<std::string, ParamKind>& valueKinds()
{
    static const std::map<std::string, ParamKind> kinds {entry<Param::PushButton>("pushbutton"),
        entry<Param::Bool>("bool"), entry<Param::String>("string"), entry<Param::Roto>("roto"),
        entry<Param::Int>("int"), entry<Param::RGBColour>("rgb"), entry<Param::RGBAColour>("rgba"),
        entry<Param::Double>("double"), entry<Param::XSize>("xsize"), entry<Param::YSize>("ysize"),
        entry<Param::XPos>("xpos"), entry<Param::YPos>("ypos"), entry<Param::Scale>("scale"),
        entry<Param::Angle>("angle"), entry<Param::TimePos>("timepos"), entry<Param::TimeSize>("timesize"),
        entry<Param::Double2>("double2"), entry<Param::Size2D>("size2d"), entry<Param::Pos2D>("pos2d"),
        entry<Param::Scale2D>("scale2d"), entry<Param::Angle2D>("angle2d"), entry<Param::RectD>("rectd"),
        entry<Param::RectI>("recti")};
    return kinds;
}

}  // namespace

ParamSetXMLElement::ParamSetXMLElement(auto_ref<Param::ParamSet> set)
    : ParseElement("paramset"), set_(std::move(set))
{
    if (set_.isNull())
        throw Exceptions::NullPointer("Quarn::Param::ParamSetXMLElement::ParamSetXMLElement",
            "src/qrParamParser", 468, "Null ParamSet set in parser, must not be null");
}

std::unique_ptr<ParseElement> ParamSetXMLElement::beginElement(Parser& parser, const std::string& child)
{
    const std::string type = foldName(child);
    Param::ParamSet& set = *set_;
    if (auto it = valueKinds().find(type); it != valueKinds().end())
        return std::make_unique<ParamXMLElement>(set, child, it->second);
    if (type == "choice")
        return std::make_unique<ChoiceXMLElement>(set);
    if (type == "alias")
        return std::make_unique<ParamAliasXMLElement>(child, set);
    // A written gradient parameter is named after its type, "grad"; it is
    // read as "colourgrad" is, so that a written set reads back. Pages and
    // groups are layout, defined only by an effect's "layout" element.
    if (type == "colourgrad" || type == "grad")
        return std::make_unique<ParamGradXMLElement>(set, child);
    parser.reportError(child, "unknown type of parameter element");
    return nullptr;
}

}  // namespace Quarn::XML
