#include "qrParamSetXMLElement.h"

#include "qrAliasXMLElement.h"
#include "qrChoiceXMLElement.h"
#include "qrGradXMLElement.h"
#include "qrGroupXMLElement.h"
#include "qrPageXMLElement.h"
#include "qrParamXMLElement.h"
#include "qrParams.h"

#include <map>

namespace Quarn::XML {

namespace {

template <class P>
ParamKind kindOf(const char* typeName)
{
    return {typeName, [](const std::string& name) -> Param::Param* { return new P(name); }};
}

// The value parameter types by element name.
const std::map<std::string, ParamKind>& valueKinds()
{
    static const std::map<std::string, ParamKind> kinds{
        {"pushbutton", kindOf<Param::PushButton>("pushbutton")}, {"bool", kindOf<Param::Bool>("bool")},
        {"string", kindOf<Param::String>("string")},             {"roto", kindOf<Param::Roto>("roto")},
        {"int", kindOf<Param::Int>("int")},                      {"rgb", kindOf<Param::RGBColour>("rgb")},
        {"rgba", kindOf<Param::RGBAColour>("rgba")},             {"double", kindOf<Param::Double>("double")},
        {"xsize", kindOf<Param::XSize>("xsize")},                {"ysize", kindOf<Param::YSize>("ysize")},
        {"xpos", kindOf<Param::XPos>("xpos")},                   {"ypos", kindOf<Param::YPos>("ypos")},
        {"scale", kindOf<Param::Scale>("scale")},                {"angle", kindOf<Param::Angle>("angle")},
        {"timepos", kindOf<Param::TimePos>("timepos")},          {"timesize", kindOf<Param::TimeSize>("timesize")},
        {"double2", kindOf<Param::Double2>("double2")},          {"size2d", kindOf<Param::Size2D>("size2d")},
        {"pos2d", kindOf<Param::Pos2D>("pos2d")},                {"scale2d", kindOf<Param::Scale2D>("scale2d")},
        {"angle2d", kindOf<Param::Angle2D>("angle2d")},          {"rectd", kindOf<Param::RectD>("rectd")},
        {"recti", kindOf<Param::RectI>("recti")},
    };
    return kinds;
}

}  // namespace

ParamSetXMLElement::ParamSetXMLElement(auto_ref<Param::ParamSet> set)
    : ParseElement("paramset"), set_(std::move(set))
{
    if (set_.isNull())
        throw Exceptions::NullPointer("Quarn::Param::ParamSetXMLElement::ParamSetXMLElement",
                                      "src/qrParamParser", 468,
                                      "Null ParamSet set in parser, must not be null");
}

std::unique_ptr<ParseElement> ParamSetXMLElement::beginElement(Parser& parser,
                                                              const std::string& child)
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
    // groups are written with the other parameters for the same reason.
    if (type == "colourgrad" || type == "grad")
        return std::make_unique<ParamGradXMLElement>(set, child);
    if (type == "page")
        return std::make_unique<PageXMLElement>(set, nullptr, LayoutContext::paramSet);
    if (type == "group")
        return std::make_unique<GroupXMLElement>(set, nullptr, nullptr, LayoutContext::paramSet);
    parser.reportError(child, "unknown type of parameter element");
    return nullptr;
}

}  // namespace Quarn::XML
