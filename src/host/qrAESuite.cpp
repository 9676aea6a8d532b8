#include "qrAESuite.h"

namespace Quarn::AfterEffects {

SuiteHandle::SuiteHandle(PF_InData* in, const char* name, A_long version) : name_(name), version_(version)
{
    if (!in || !in->pica_basicP || !in->pica_basicP->AcquireSuite)
        return;
    const void* table = nullptr;
    if (in->pica_basicP->AcquireSuite(name, version, &table) == kSPNoError && table) {
        basic_ = in->pica_basicP;
        table_ = table;
    }
}

bool SuiteHandle::release()
{
    if (!table_)
        return true;
    const bool released = basic_->ReleaseSuite(name_, version_) == kSPNoError;
    table_ = nullptr;
    basic_ = nullptr;
    return released;
}

}  // namespace Quarn::AfterEffects
