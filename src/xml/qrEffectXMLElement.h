#pragma once
// The "effect" element: the effect's own attributes, then its clip set,
// parameter set, layout and description as children.
//
// The effect attribute errors (no "name", an unknown bit depth or component
// word) leave the parse as std::string exceptions carrying their texts, not
// as reported XML errors.
#include "qrEffect.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class EffectXMLElement : public ParseElement {
public:
    explicit EffectXMLElement(auto_ref<Wrapper::EffectI> effect);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    void readFlags(Parser& parser, AttributeList& attributes);
    void readBitDepths(const std::string& words);
    void readComponents(const std::string& words);

    auto_ref<Wrapper::EffectI> effect_;
};

}  // namespace Quarn::XML
