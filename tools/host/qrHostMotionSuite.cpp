// The rain motion suite: the drop motion the host was given for its effect
// (EffectHost::setRainMotion), handed to the plug-in when it asks.
#include "qrHostCallbacks.h"

#include <qrRainMotionSuite.h>

#include <cstring>

namespace Quarn::Host {

namespace {

PF_Err getRainMotion(PF_ProgPtr ref, NimbrelRainMotion* motion)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !motion)
        return HostSuites::bad(host);
    *motion = host->rainMotion();
    return PF_Err_NONE;
}

const NimbrelRainMotionSuite1 kRainMotionSuite {getRainMotion};

}  // namespace

const void* HostSuites::findRainMotion(const char* name, A_long version)
{
    const bool offered =
        std::strcmp(name, kNimbrelRainMotionSuite) == 0 && version == kNimbrelRainMotionSuiteVersion1;
    return offered ? &kRainMotionSuite : nullptr;
}

}  // namespace Quarn::Host
