#include "qrPluginLibrary.h"

#include "qrHostError.h"

#include <dlfcn.h>

namespace Quarn::Host {

void PluginLibrary::Closer::operator()(void* handle) const
{
    dlclose(handle);
}

PluginLibrary::Handle PluginLibrary::open(const std::string& path)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw HostError("cannot load plug-in " + path + ": " + dlerror());
    return Handle(handle);
}

void* PluginLibrary::symbol(void* handle, const char* name)
{
    dlerror();
    void* address = dlsym(handle, name);
    if (!address) {
        const char* reason = dlerror();
        throw HostError(std::string("plug-in has no ") + name + (reason ? std::string(": ") + reason : ""));
    }
    return address;
}

PluginLibrary::PluginLibrary(const std::string& path)
    : path_(path),
      handle_(open(path)),
      entry_(reinterpret_cast<PF_EffectEntryFunc>(symbol(handle_.get(), PF_ENTRY_POINT_NAME))),
      pipl_(*static_cast<const PF_PiPL*>(symbol(handle_.get(), PF_PIPL_SYMBOL)))
{
}

}  // namespace Quarn::Host
