#pragma once
// The "clipset" element of an effect document and its "clip" children.
#include "qrClip.h"
#include "qrXMLParseElement.h"

namespace Quarn::XML {

class ClipSetXMLElement : public ParseElement {
public:
    // A null clip set throws NullPointer.
    explicit ClipSetXMLElement(Wrapper::ClipSet* clips);
    std::unique_ptr<ParseElement> beginElement(Parser& parser, const std::string& child) override;

private:
    Wrapper::ClipSet& clips_;
};

// A clip: found by "name", or made while the clip set is unlocked; then its
// attributes are read.
class ClipXMLElement : public ParseElement {
public:
    explicit ClipXMLElement(Wrapper::ClipSet& clips) : ParseElement("clip"), clips_(clips) { }
    void attributes(Parser& parser, AttributeList& attributes) override;

private:
    Wrapper::ClipSet& clips_;
};

}  // namespace Quarn::XML
