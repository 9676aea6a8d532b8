#pragma once
// The host data of the command running on this thread. The entry point makes
// each command's in data current for the length of the call and restores the
// previous one afterwards, so a command the host sends from inside another
// one finds its own data.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

// The current command's in data on this thread, or null.
PF_InData* currentInData();

class ScopedHostData {
public:
    explicit ScopedHostData(PF_InData* in);
    ~ScopedHostData();
    ScopedHostData(const ScopedHostData&) = delete;
    ScopedHostData& operator=(const ScopedHostData&) = delete;

private:
    PF_InData* previous_;
};

}  // namespace Quarn::AfterEffects
