#include "qrHostedObject.h"

#include "qrParamText.h"

namespace Quarn {

void HostedObject::writeAttributes(std::ostream& os, bool full) const
{
    os << " name='" << name_ << "' ";
    if (!full)
        return;
    if (!description_.empty())
        os << " description='" << description_ << "' ";
    if (!label_.empty())
        os << " label='" << label_ << "' ";
}

void HostedObject::readAttributes(AttributeList& attributes)
{
    if (const std::string* text = attributes.take("description"))
        description_ = *text;
    if (const std::string* text = attributes.take("label"))
        label_ = *text;
    if (const std::string* text = attributes.take("valid"))
        valid_ = Param::Text::parseBool(*text);
}

void HostedObject::notifyChangeListeners(int value)
{
    for (const auto& listener : changeListeners_)
        listener->notify(value);
}

void HostedObject::notifySetListeners(int value)
{
    for (const auto& listener : setListeners_)
        listener->notify(value);
}

}  // namespace Quarn
