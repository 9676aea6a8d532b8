#include "qrGradXMLElement.h"

#include "qrParamText.h"
#include "qrParamXMLElement.h"

namespace Quarn::XML {

void ParamGradXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    const ParamKind kind {"grad", [](const std::string& name) { return new Param::Grad(name); }};
    const ResolvedParam resolved = resolveParamElement(parser, set_, elementName(), attributes, kind);
    if (!resolved.param)
        return;
    grad_ = resolved.param.cast<Param::Grad>();
    grad_->readAttributes(attributes);
}

std::unique_ptr<ParseElement> ParamGradXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (grad_ && child == "value")
        return std::make_unique<QrGradXMLParseElement>(child, value_);
    if (grad_ && child == "default")
        return std::make_unique<QrGradXMLParseElement>(child, default_);
    return ParseElement::beginElement(parser, child);
}

void ParamGradXMLElement::endElement(Parser&)
{
    if (!grad_)
        return;
    // The value goes through the set so that a hosted gradient reaches the
    // host as well.
    if (value_)
        set_.setGradParam(grad_->name(), *value_);
    if (default_ && !grad_->definitionLocked()) {
        grad_->setDefault(*default_);
        if (!value_)
            set_.setGradParam(grad_->name(), *default_);
    }
}

QrGradXMLParseElement::QrGradXMLParseElement(
    const std::string& element, std::optional<QrColGradDescription>& target)
    : ParseElement(element), target_(target)
{
    gradient_.clearNodes();
}

void QrGradXMLParseElement::attributes(Parser& parser, AttributeList& attributes)
{
    bool cyclic = false;
    if (parser.getAttribute(attributes, "cyclic", cyclic))
        gradient_.setCyclic(cyclic);
    std::string interpolation;
    if (!parser.getAttribute(attributes, "interp", interpolation))
        return;
    if (interpolation == "linear")
        gradient_.setInterpolation(QrColGradDescription::Interpolation::linear);
    else if (interpolation == "cubic")
        gradient_.setInterpolation(QrColGradDescription::Interpolation::cubic);
    else
        parser.reportError("grad", "Grad element has unknown value for the 'interp' attribute");
}

std::unique_ptr<ParseElement> QrGradXMLParseElement::beginElement(Parser& parser, const std::string& child)
{
    if (child == "node")
        return std::make_unique<QrGradNodeXMLParseElement>(gradient_);
    return ParseElement::beginElement(parser, child);
}

void QrGradXMLParseElement::endElement(Parser&)
{
    target_ = gradient_;
}

void QrGradNodeXMLParseElement::attributes(Parser& parser, AttributeList& attributes)
{
    double position = 0.0;
    std::string colourText;
    int id = 0;
    const bool hasPosition = parser.getAttribute(attributes, "position", position);
    const bool hasColour = parser.getAttribute(attributes, "value", colourText);
    const bool hasId = parser.getAttribute(attributes, "id", id);
    if (!hasPosition) {
        parser.reportError("node", "Grad node element missing 'position' attribute'");
        return;
    }
    if (!hasColour) {
        parser.reportError("node", "Grad node element missing 'value' attribute'");
        return;
    }
    QrPixelRGBAf colour;
    Param::Text::read(colourText, colour);
    if (hasId)
        gradient_.addNode(colour, float(position), id);
    else
        gradient_.addNode(colour, float(position));
}

}  // namespace Quarn::XML
