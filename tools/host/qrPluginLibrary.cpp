#include "qrPluginLibrary.h"

#include "qrHostError.h"

namespace Quarn::Host {

void* PluginLibrary::symbol(const char* name) const
{
    std::string reason;
    void* address = library_.symbol(name, reason);
    if (!address)
        throw HostError(std::string("plug-in has no ") + name + (reason.empty() ? "" : ": " + reason));
    return address;
}

PiPLInfo PluginLibrary::readPiPL() const
{
    if (const auto resource = library_.resource(PF_PIPL_RESOURCE_TYPE, PF_PIPL_RESOURCE_ID))
        return PiPLInfo::fromResource(*resource);
    return PiPLInfo(*static_cast<const PF_PiPL*>(symbol(PF_PIPL_SYMBOL)));
}

PluginLibrary::PluginLibrary(const std::string& path) : path_(path)
{
    std::string reason;
    if (!library_.open(path, reason))
        throw HostError("cannot load plug-in " + path + ": " + reason);
    entry_ = reinterpret_cast<PF_EffectEntryFunc>(symbol(PF_ENTRY_POINT_NAME));
    pipl_ = readPiPL();
}

}  // namespace Quarn::Host
