#include "qrFrei0rClock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cmath>
#include <initializer_list>
#include <limits>

namespace Quarn::Frei0r {

namespace {

#ifdef _WIN32
// Whether one of the libraries `names` is loaded into the process.
bool loaded(std::initializer_list<const char*> names, const char*)
{
    for (const char* name : names)
        if (GetModuleHandleA(name))
            return true;
    return false;
}
#else
// Whether a library exporting `symbol` is loaded into the process where the
// host's own code sees it (the programs link their framework directly).
bool loaded(std::initializer_list<const char*>, const char* symbol)
{
    return dlsym(RTLD_DEFAULT, symbol) != nullptr;
}
#endif

}  // namespace

HostLibraries loadedHostLibraries()
{
    HostLibraries found;
    found.mlt = loaded({"libmlt-7.dll", "mlt-7.dll"}, "mlt_factory_init");
    found.gstreamer = loaded({"libgstreamer-1.0-0.dll", "gstreamer-1.0-0.dll"}, "gst_init");
    found.libavfilter = loaded(
        {"avfilter-8.dll", "avfilter-9.dll", "avfilter-10.dll", "avfilter-7.dll"}, "avfilter_graph_alloc");
    return found;
}

TimeUnit hostTimeUnit(const HostLibraries& libraries)
{
    if (libraries.mlt || libraries.gstreamer)
        return TimeUnit::seconds;
    return libraries.libavfilter ? TimeUnit::milliseconds : TimeUnit::seconds;
}

std::optional<int32_t> videoFrame(double time, TimeUnit unit, double frameRate)
{
    const double seconds = unit == TimeUnit::milliseconds ? time / 1000.0 : time;
    const double frame = std::round(seconds * frameRate);
    if (!std::isfinite(frame) || frame < 0.0 || frame > double(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return int32_t(frame);
}

}  // namespace Quarn::Frei0r
