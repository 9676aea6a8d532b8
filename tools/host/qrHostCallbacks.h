// The C functions the host hands the plug-in. Each finds its host through
// the effect_ref it is given (or, for the few that take none, through the
// host running a command on this thread), checks its arguments, and never
// lets an exception reach the plug-in.
#pragma once

#include "qrEffectHost.h"

#include <AE_Effect.h>

#include <new>

namespace Quarn::Host {

// Runs a callback body; no exception crosses back into the plug-in.
template <typename Body> PF_Err guarded(Body&& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

class HostCallbacks {
public:
    static PF_InteractCallbacks interact();
    static PF_UtilCallbacks* utils();
    static SPBasicSuite* basicSuite();
    static PF_PreRenderCallbacks* preRender();
    static PF_SmartRenderCallbacks* smartRender();
    static PF_Err showModal(void* refcon, const A_char* title, const PF_EffectWorld* content);

    // The host whose command runs on this thread, or null.
    static EffectHost* current();
    // Makes `host` current for the length of a command (nesting restores).
    class Scope {
    public:
        explicit Scope(EffectHost* host);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        EffectHost* previous_;
    };

    // The host of `effect_ref` while it runs a command, else null (counted).
    static EffectHost* hostOf(PF_ProgPtr effect_ref);
    static CommandState& state(EffectHost& host) { return *host.state_; }

private:
    static PF_Err checkoutParam(
        PF_ProgPtr ref, PF_ParamIndex index, A_long time, A_long step, A_u_long scale, PF_ParamDef* param);
    static PF_Err checkinParam(PF_ProgPtr ref, PF_ParamDef* param);
    static PF_Err addParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def);
    static PF_Err abort(PF_ProgPtr ref);
    static PF_Err progress(PF_ProgPtr ref, A_long current, A_long total);

    static PF_Handle newHandle(PF_ProgPtr ref, A_u_longlong size);
    static void* lockHandle(PF_ProgPtr ref, PF_Handle handle);
    static void unlockHandle(PF_ProgPtr ref, PF_Handle handle);
    static void disposeHandle(PF_ProgPtr ref, PF_Handle handle);
    static A_u_longlong handleSize(PF_ProgPtr ref, PF_Handle handle);

    static SPErr acquireSuite(const char* name, A_long version, const void** suite);
    static SPErr releaseSuite(const char* name, A_long version);
    static A_Boolean isEqual(const char* a, const char* b);

    static PF_Err checkoutLayer(PF_ProgPtr ref, PF_ParamIndex index, A_long id, const PF_RenderRequest* req,
        A_long time, A_long step, A_u_long scale, PF_CheckoutResult* result);
    static PF_Err checkoutLayerPixels(PF_ProgPtr ref, A_long id, PF_EffectWorld** pixels);
    static PF_Err checkinLayerPixels(PF_ProgPtr ref, A_long id);
    static PF_Err checkoutOutput(PF_ProgPtr ref, PF_EffectWorld** output);
    static PF_Err isLayerConnected(PF_ProgPtr ref, A_long id, PF_Boolean* connected);
};

// The suites by name and version; null when the host has no such suite.
class HostSuites {
public:
    static const void* find(const char* name, A_long version);
    static const void* findAegp(const char* name, A_long version);
    static const void* findRainMotion(const char* name, A_long version);
    // Counts a call the host refused, for HostCounters::badCallbacks.
    static PF_Err bad(EffectHost* host);
    static HostServices& services(EffectHost& host) { return *host.services_; }
    static HostCounters& counters(EffectHost& host) { return host.counters_; }
    static HostParam& param(EffectHost& host, int index) { return host.mutableParam(index); }
    static const HostProperties& properties(EffectHost& host) { return host.properties_; }
    static std::optional<PF_PixelFormat> outputFormat(EffectHost& host) { return host.outputFormat_; }
    static void noteUIUpdate(EffectHost& host, int index) { ++host.uiUpdates_[index]; }
};

}  // namespace Quarn::Host
