#include "qrHostCallbacks.h"

#include "qrCommandState.h"
#include "qrHostServices.h"

#include <cstring>

namespace Quarn::Host {

namespace {

thread_local EffectHost* tCurrent = nullptr;

}  // namespace

HostCallbacks::Scope::Scope(EffectHost* host) : previous_(tCurrent)
{
    tCurrent = host;
}
HostCallbacks::Scope::~Scope()
{
    tCurrent = previous_;
}

EffectHost* HostCallbacks::current()
{
    return tCurrent;
}

EffectHost* HostCallbacks::hostOf(PF_ProgPtr ref)
{
    EffectHost* host = tCurrent;
    if (host && ref == host && host->state_)
        return host;
    if (host)
        ++host->counters_.badCallbacks;
    return nullptr;
}

PF_Err HostSuites::bad(EffectHost* host)
{
    if (host)
        ++host->counters_.badCallbacks;
    return PF_Err_BAD_CALLBACK_PARAM;
}

PF_InteractCallbacks HostCallbacks::interact()
{
    return {checkoutParam, checkinParam, addParam, abort, progress};
}

PF_UtilCallbacks* HostCallbacks::utils()
{
    static PF_UtilCallbacks table {newHandle, lockHandle, unlockHandle, disposeHandle, handleSize};
    return &table;
}

SPBasicSuite* HostCallbacks::basicSuite()
{
    static SPBasicSuite table {acquireSuite, releaseSuite, isEqual};
    return &table;
}

PF_Err HostCallbacks::checkoutParam(
    PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long step, A_u_long scale, PF_ParamDef* param)
{
    EffectHost* host = hostOf(ref);
    if (!host || !param || scale == 0 || step < 0)
        return HostSuites::bad(host);
    if (index < 0 || index >= host->paramCount()) {
        ++host->counters_.badCallbacks;
        return PF_Err_INVALID_INDEX;
    }
    return guarded([&] {
        const double seconds = host->seconds(time, scale);
        *param = host->param(index).at(seconds);
        if (param->param_type == PF_Param_LAYER) {
            CommandState& s = state(*host);
            if (auto world = host->layerWorld(index, s.depth)) {
                const A_long dephault = param->u.ld.dephault;
                param->u.ld = world->world();
                param->u.ld.dephault = dephault;
                s.layerWorlds.emplace(world->world().data, std::move(world));
            }
        }
        ++host->counters_.paramCheckouts;
        return PF_Err_NONE;
    });
}

PF_Err HostCallbacks::checkinParam(PF_ProgPtr ref, PF_ParamDef* param)
{
    EffectHost* host = hostOf(ref);
    if (!host || !param)
        return HostSuites::bad(host);
    ++host->counters_.paramCheckins;
    if (param->param_type == PF_Param_LAYER && param->u.ld.data) {
        auto& lent = state(*host).layerWorlds;
        const auto world = lent.find(param->u.ld.data);
        if (world == lent.end())
            return HostSuites::bad(host);
        lent.erase(world);
    }
    return PF_Err_NONE;
}

PF_Err HostCallbacks::addParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def)
{
    EffectHost* host = hostOf(ref);
    if (!host || !def || state(*host).cmd != PF_Cmd_PARAMS_SETUP)
        return HostSuites::bad(host);
    const int next = host->paramCount();
    if (index != -1 && index != next) {
        ++host->counters_.badCallbacks;
        return PF_Err_INVALID_INDEX;
    }
    try {
        host->params_.push_back(std::make_unique<HostParam>(next, *def));
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        ++host->counters_.badCallbacks;
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    return PF_Err_NONE;
}

PF_Err HostCallbacks::abort(PF_ProgPtr ref)
{
    EffectHost* host = hostOf(ref);
    if (!host)
        return PF_Err_BAD_CALLBACK_PARAM;
    ++host->counters_.abortPolls;
    if (host->cancelSignal_ && host->cancelSignal_->load())
        state(*host).cancelled = true;
    return state(*host).cancelled ? PF_Interrupt_CANCEL : PF_Err_NONE;
}

// The cancel hook lets `cancelAfter_` polls through and cancels at the next
// one; the cancel then holds for the rest of the command, as a user's does.
PF_Err HostCallbacks::progress(PF_ProgPtr ref, A_long, A_long)
{
    EffectHost* host = hostOf(ref);
    if (!host)
        return PF_Err_BAD_CALLBACK_PARAM;
    ++host->counters_.progressPolls;
    if (host->cancelAfter_ == 0) {
        state(*host).cancelled = true;
        host->cancelAfter_ = -1;
    } else if (host->cancelAfter_ > 0) {
        --host->cancelAfter_;
    }
    if (host->cancelSignal_ && host->cancelSignal_->load())
        state(*host).cancelled = true;
    return state(*host).cancelled ? PF_Interrupt_CANCEL : PF_Err_NONE;
}

PF_Handle HostCallbacks::newHandle(PF_ProgPtr ref, A_u_longlong size)
{
    EffectHost* host = hostOf(ref);
    if (!host)
        return nullptr;
    try {
        return host->handles_.allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* HostCallbacks::lockHandle(PF_ProgPtr ref, PF_Handle handle)
{
    EffectHost* host = hostOf(ref);
    if (!host)
        return nullptr;
    void* data = host->handles_.lock(handle);
    if (!data && !host->handles_.holds(handle))
        ++host->counters_.badCallbacks;
    return data;
}

void HostCallbacks::unlockHandle(PF_ProgPtr ref, PF_Handle handle)
{
    if (EffectHost* host = hostOf(ref))
        host->handles_.unlock(handle);
}

void HostCallbacks::disposeHandle(PF_ProgPtr ref, PF_Handle handle)
{
    if (EffectHost* host = hostOf(ref))
        host->handles_.dispose(handle);
}

A_u_longlong HostCallbacks::handleSize(PF_ProgPtr ref, PF_Handle handle)
{
    EffectHost* host = hostOf(ref);
    return host ? host->handles_.size(handle) : 0;
}

SPErr HostCallbacks::acquireSuite(const char* name, A_long version, const void** suite)
{
    EffectHost* host = tCurrent;
    if (!host || !name || !suite)
        return kSPSuiteNotFoundError;
    const void* table = HostSuites::find(name, version);
    if (!table || host->refusedSuites_.count(std::string_view(name)))
        return kSPSuiteNotFoundError;
    try {
        ++host->services_->suitesHeld[name];
    } catch (...) {
        return kSPSuiteNotFoundError;
    }
    *suite = table;
    return kSPNoError;
}

SPErr HostCallbacks::releaseSuite(const char* name, A_long version)
{
    EffectHost* host = tCurrent;
    if (!host || !name || !HostSuites::find(name, version))
        return kSPSuiteNotFoundError;
    auto& held = host->services_->suitesHeld;
    auto it = held.find(std::string_view(name));
    if (it == held.end() || it->second == 0)
        return kSPSuiteNotFoundError;
    --it->second;
    return kSPNoError;
}

A_Boolean HostCallbacks::isEqual(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}

PF_Err HostCallbacks::showModal(void* refcon, const A_char* title, const PF_EffectWorld* content)
{
    auto* host = static_cast<EffectHost*>(refcon);
    if (!host || host != tCurrent || !content || !content->data)
        return HostSuites::bad(host);
    return guarded([&] {
        DialogResult dialog;
        dialog.shown = true;
        dialog.title = title ? title : "";
        dialog.content = HostImage(content->width, content->height, Depth::Bits8);
        dialog.content.readRows(content->data, content->rowbytes);
        host->services_->dialog = std::move(dialog);
        return PF_Err_NONE;
    });
}

}  // namespace Quarn::Host
