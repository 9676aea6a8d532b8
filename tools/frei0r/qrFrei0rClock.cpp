#include "qrFrei0rClock.h"

#include <dlfcn.h>

#include <cmath>
#include <limits>

namespace Quarn::Frei0r {

namespace {

// Whether a library exporting `symbol` is loaded into the process where the
// host's own code sees it (the programs link their framework directly).
bool exported(const char* symbol)
{
    return dlsym(RTLD_DEFAULT, symbol) != nullptr;
}

}  // namespace

HostLibraries loadedHostLibraries()
{
    HostLibraries found;
    found.mlt = exported("mlt_factory_init");
    found.gstreamer = exported("gst_init");
    found.libavfilter = exported("avfilter_graph_alloc");
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
