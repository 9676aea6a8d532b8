// Libraries through the dynamic linker: dlopen and dlsym.
#include "qrLibrary.h"

#include <dlfcn.h>

namespace Quarn::Platform {

Library::~Library()
{
    close();
}

void Library::close()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

bool Library::open(const std::string& path, std::string& error)
{
    close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        error = dlerror();
    return handle_ != nullptr;
}

void* Library::symbol(const char* name, std::string& error) const
{
    dlerror();
    void* address = handle_ ? dlsym(handle_, name) : nullptr;
    if (!address) {
        const char* reason = dlerror();
        error = reason ? reason : "no such symbol";
    }
    return address;
}

// Shared objects carry no resources.
std::optional<std::string_view> Library::resource(const char*, int) const
{
    return std::nullopt;
}

}  // namespace Quarn::Platform
