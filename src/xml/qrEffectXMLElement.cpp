#include "qrEffectXMLElement.h"

#include "qrClipXMLElement.h"
#include "qrLayoutXMLElement.h"
#include "qrParamSetXMLElement.h"

#include <sstream>

namespace Quarn::XML {

namespace {

std::string unknownWord(const std::string& word, const char* attribute)
{
    return "unknown value '" + word + "'  in '" + attribute + "' attribute";
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> list;
    for (std::string word; in >> word;)
        list.push_back(word);
    return list;
}

}  // namespace

EffectXMLElement::EffectXMLElement(auto_ref<Wrapper::EffectI> effect)
    : ParseElement("effect"), effect_(std::move(effect))
{
}

void EffectXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string text;
    if (!parser.getAttribute(attributes, "name", text))
        throw std::string("missing 'name' attribute");
    effect_->setName(text);
    if (parser.getAttribute(attributes, "label", text))
        effect_->setLabel(text);
    if (parser.getAttribute(attributes, "group", text))
        effect_->setGroup(text);
    if (parser.getAttribute(attributes, "description", text))
        effect_->setDescription(text);
    readFlags(parser, attributes);
    if (parser.getAttribute(attributes, "fields", text)) {
        using Wrapper::Fields;
        effect_->setFields(text == "both" ? Fields::both
                : text == "single"        ? Fields::single
                                          : Fields::doubled);
    }
    if (parser.getAttribute(attributes, "bitdepths", text))
        readBitDepths(text);
    if (parser.getAttribute(attributes, "components", text))
        readComponents(text);
}

void EffectXMLElement::readFlags(Parser& parser, AttributeList& attributes)
{
    bool on = false;
    if (parser.getAttribute(attributes, "temporalAccess", on))
        effect_->setTemporalAccess(on);
    if (parser.getAttribute(attributes, "supportsTiles", on))
        effect_->setSupportsTiles(on);
    if (parser.getAttribute(attributes, "fieldRenderTwiceAlways", on))
        effect_->setFieldRenderTwiceAlways(on);
    if (parser.getAttribute(attributes, "sequentialRender", on))
        effect_->setSequentialRender(on);
}

void EffectXMLElement::readBitDepths(const std::string& text)
{
    using Wrapper::BitDepth;
    for (const std::string& word : words(text)) {
        if (word == "8")
            effect_->addBitDepth(BitDepth::eight);
        else if (word == "16")
            effect_->addBitDepth(BitDepth::sixteen);
        else if (word == "float")
            effect_->addBitDepth(BitDepth::floating);
        else
            throw unknownWord(word, "bitdepth");
    }
}

void EffectXMLElement::readComponents(const std::string& text)
{
    using Wrapper::Component;
    for (const std::string& word : words(text)) {
        if (word == "colour")
            effect_->addComponent(Component::colour);
        else if (word == "alpha")
            effect_->addComponent(Component::alpha);
        else
            throw unknownWord(word, "components");
    }
}

std::unique_ptr<ParseElement> EffectXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (child == "clipset")
        return std::make_unique<ClipSetXMLElement>(&effect_->clips());
    if (child == "paramset")
        return std::make_unique<ParamSetXMLElement>(effect_);
    if (child == "layout")
        return std::make_unique<LayoutXMLElement>(effect_->layout());
    if (child == "description")
        return std::make_unique<AutoRefObjectDescriptionParseElement<auto_ref<Wrapper::EffectI>>>(effect_);
    parser.reportError(child, "unknown type of effect element");
    return nullptr;
}

}  // namespace Quarn::XML
