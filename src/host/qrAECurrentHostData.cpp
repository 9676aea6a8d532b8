#include "qrAECurrentHostData.h"

namespace Quarn::AfterEffects {

namespace {
thread_local PF_InData* tCurrent = nullptr;
}

PF_InData* currentInData()
{
    return tCurrent;
}

ScopedHostData::ScopedHostData(PF_InData* in) : previous_(tCurrent)
{
    tCurrent = in;
}

ScopedHostData::~ScopedHostData()
{
    tCurrent = previous_;
}

}  // namespace Quarn::AfterEffects
