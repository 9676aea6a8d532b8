#include "qrAEInterruptChecker.h"

namespace Quarn::AfterEffects {

InterruptChecker::InterruptChecker(PF_InData* in) : in_(in), owner_(Platform::currentThreadId())
{
    record_.context = this;
    record_.check = &InterruptChecker::check;
}

int32_t InterruptChecker::check(void* context, std::atomic<int32_t>* reason)
{
    return static_cast<InterruptChecker*>(context)->poll(reason);
}

int32_t InterruptChecker::poll(std::atomic<int32_t>* reason)
{
    if (Platform::currentThreadId() != owner_ || !in_ || !in_->inter.progress)
        return 0;
    const PF_Err result = in_->inter.progress(in_->effect_ref, counter_, kProgressTotal);
    ++counter_;
    if (result == PF_Err_NONE)
        return 0;
    hostResult_.store(result);
    reason->store(kHostResult);
    return 1;
}

PF_Err InterruptChecker::resultCode() const
{
    switch (code()) {
    case 1000:
    case 1001: return PF_Err_OUT_OF_MEMORY;
    case kHostResult: return hostResult();
    default: return PF_Err_NONE;
    }
}

}  // namespace Quarn::AfterEffects
