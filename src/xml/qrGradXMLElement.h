#pragma once
// Gradient elements: the gradient parameter ("colourgrad"), a gradient under
// the tag "value" or "default", and its "node" children.
#include "qrParamGrad.h"
#include "qrParamSet.h"
#include "qrXMLParseElement.h"

#include <optional>

namespace Quarn::XML {

class ParamGradXMLElement : public ParseElement {
public:
    ParamGradXMLElement(Param::ParamSet& set, const std::string& element) : ParseElement(element), set_(set)
    {
    }
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;
    void endElement(Parser& parser) override;

private:
    Param::ParamSet& set_;
    auto_ref<Param::Grad> grad_;
    std::optional<QrColGradDescription> value_;
    std::optional<QrColGradDescription> default_;
};

// One gradient, read into a fresh description (no nodes of its own) that
// replaces the target when the element ends.
class QrGradXMLParseElement : public ParseElement {
public:
    QrGradXMLParseElement(const std::string& element, std::optional<QrColGradDescription>& target);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;
    void endElement(Parser& parser) override;

private:
    std::optional<QrColGradDescription>& target_;
    QrColGradDescription gradient_;
};

// A node: "position" and "value" (r g b a) required, "id" optional (the next
// free id otherwise).
class QrGradNodeXMLParseElement : public ParseElement {
public:
    explicit QrGradNodeXMLParseElement(QrColGradDescription& gradient)
        : ParseElement("node"), gradient_(gradient)
    {
    }
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    QrColGradDescription& gradient_;
};

}  // namespace Quarn::XML
