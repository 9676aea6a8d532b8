#include "qrParam.h"

#include "qrParamSet.h"
#include "qrParamText.h"

namespace Quarn::Param {

namespace {

void writeFlag(std::ostream& os, const char* key, bool on)
{
    os << key << "='" << (on ? "true" : "false") << "' ";
}

void readFlag(AttributeList& attributes, const char* key, bool apply, bool& flag)
{
    const std::string* text = attributes.take(key);
    if (text && apply)
        flag = Text::parseBool(*text);
}

}  // namespace

void Param::writeAttributes(std::ostream& os, bool full) const
{
    HostedObject::writeAttributes(os, full);
    if (!full)
        return;
    if (secret_)
        os << "secret='true' ";
    writeFlag(os, "enabled", enabled_);
    writeFlag(os, "significant", significant_);
    writeFlag(os, "animatable", animatable_);
}

void Param::readAttributes(AttributeList& attributes)
{
    HostedObject::readAttributes(attributes);
    // Under the definition lock the flags are known attributes but are left
    // as they are.
    const bool apply = !definitionLocked();
    readFlag(attributes, "secret", apply, secret_);
    readFlag(attributes, "significant", apply, significant_);
    readFlag(attributes, "animatable", apply, animatable_);
    readFlag(attributes, "enabled", apply, enabled_);
}

bool Param::definitionLocked() const
{
    return paramSet_ && paramSet_->definitionLocked();
}

HostI* Param::hostIfHosted() const
{
    if (!paramSet_)
        return nullptr;
    HostI* host = paramSet_->host();
    return host && host->paramIsDefined(name()) ? host : nullptr;
}

bool Param::paramIsAnimating() const
{
    HostI* host = hostIfHosted();
    return host && host->paramIsAnimating(name());
}

int Param::paramNumKeys() const
{
    HostI* host = hostIfHosted();
    return host ? host->paramNumKeys(name()) : 0;
}

void Param::paramDeleteKey(double time)
{
    if (HostI* host = hostIfHosted())
        host->paramDeleteKey(name(), time);
}

void Param::paramDeleteKey(int keyIndex)
{
    if (HostI* host = hostIfHosted())
        host->paramDeleteKey(name(), keyIndex);
}

void Param::paramDeleteAllKeys()
{
    if (HostI* host = hostIfHosted())
        host->paramDeleteAllKeys(name());
}

double Param::paramKeyTime(int keyIndex) const
{
    HostI* host = hostIfHosted();
    return host ? host->paramKeyTime(name(), keyIndex) : 0.0;
}

bool Param::paramFindKey(double time, int32_t a, int32_t b) const
{
    HostI* host = hostIfHosted();
    return host && host->paramFindKey(name(), time, a, b);
}

void Param::paramSetKey(double time)
{
    if (HostI* host = hostIfHosted())
        host->paramSetKey(name(), time);
}

}  // namespace Quarn::Param
