#include "qrClipXMLElement.h"

#include "qrException.h"

namespace Quarn::XML {

namespace {
Wrapper::ClipSet& checked(Wrapper::ClipSet* clips)
{
    if (!clips)
        throw Exceptions::NullPointer("Quarn::Wrapper::ClipSetXMLElement::ClipSetXMLElement",
            "src/qrWrapperClipParser", 83, "Null ClipSet set in parser, must not be null");
    return *clips;
}
}  // namespace

ClipSetXMLElement::ClipSetXMLElement(Wrapper::ClipSet* clips)
    : ParseElement("clipset"), clips_(checked(clips))
{
}

std::unique_ptr<ParseElement> ClipSetXMLElement::beginElement(Parser& parser, const std::string& child)
{
    if (child == "clip")
        return std::make_unique<ClipXMLElement>(clips_);
    parser.reportError(child, "unknown type of clipset element");
    return nullptr;
}

void ClipXMLElement::attributes(Parser& parser, AttributeList& attributes)
{
    std::string name;
    if (!parser.getAttribute(attributes, "name", name)) {
        parser.reportError(elementName(), "needs a name attribute");
        return;
    }
    auto_ref<Wrapper::Clip> clip = auto_ref<Wrapper::Clip>::share(clips_.hsGetObject(name, false));
    if (!clip) {
        if (clips_.definitionLocked()) {
            parser.reportError(elementName(), "with name = '" + name + "' is unknown.");
            return;
        }
        clip = auto_ref<Wrapper::Clip>(new Wrapper::Clip(name));
        clips_.hsAddObject(clip);
    }
    clip->readAttributes(attributes);
}

}  // namespace Quarn::XML
