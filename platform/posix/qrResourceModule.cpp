#include "qrResource.h"

#include <dlfcn.h>

namespace Quarn::Platform {

std::string resourceModulePath()
{
    Dl_info info {};
    // Any function of this library names the file it was loaded from.
    if (dladdr(reinterpret_cast<const void*>(&resourceModulePath), &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

}  // namespace Quarn::Platform
