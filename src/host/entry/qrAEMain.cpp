// The plug-in's entry point and command table. Every command runs with its
// in data as the current host data and the host's memory callbacks as the
// image memory of this thread; nothing thrown inside may leave `main`.
#include "qrAEAboutBox.h"
#include "qrAECurrentHostData.h"
#include "qrAEFailure.h"
#include "qrAEGlobalData.h"
#include "qrAEHostMemory.h"
#include "qrAEParamChange.h"
#include "qrAEParamsSetup.h"
#include "qrAERender.h"
#include "qrAESequenceData.h"
#include "qrAETitleArea.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

namespace Quarn::AfterEffects {

namespace {

constexpr const char* kMain = "main";
constexpr const char* kSource = "src/host/entry/qrAEMain.cpp";

bool isRenderCommand(PF_Cmd cmd)
{
    return cmd == PF_Cmd_RENDER || cmd == PF_Cmd_SMART_PRE_RENDER || cmd == PF_Cmd_SMART_RENDER;
}

PF_Err dispatch(
    PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output, void* extra)
{
    switch (cmd) {
    case PF_Cmd_ABOUT: return showAboutBox(in, out);
    case PF_Cmd_GLOBAL_SETUP: Errors::Initialise(); return GlobalData::setup(in, out);
    case PF_Cmd_GLOBAL_SETDOWN: return GlobalData::setdown(in, out);
    case PF_Cmd_PARAMS_SETUP: return declareParameters(in, out);
    case PF_Cmd_SEQUENCE_SETUP: return SequenceData::setup(in, out);
    case PF_Cmd_SEQUENCE_RESETUP: return SequenceData::resetup(in, out);
    case PF_Cmd_SEQUENCE_FLATTEN: return SequenceData::flatten(in, out);
    case PF_Cmd_SEQUENCE_SETDOWN: return SequenceData::setdown(in, out);
    case PF_Cmd_RENDER: return renderFrame(in, out, params, output);
    case PF_Cmd_USER_CHANGED_PARAM:
        return userChangedParam(in, out, params, static_cast<PF_UserChangedParamExtra*>(extra));
    case PF_Cmd_UPDATE_PARAMS_UI:
        return updateParamsUI(in, out, params, static_cast<PF_UpdateParamsUIExtra*>(extra));
    case PF_Cmd_EVENT: return handleAreaEvent(in, static_cast<PF_EventExtra*>(extra));
    case PF_Cmd_SMART_PRE_RENDER:
        return smartPreRender(in, out, params, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER: return smartRender(in, out, params, static_cast<PF_SmartRenderExtra*>(extra));
    default: return PF_Err_NONE;
    }
}

PF_Err runCommand(
    PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output, void* extra)
{
    const ScopedHostData current(in);
    HostMemory memory(in);
    const Memory::ScopedHostMemory imageMemory(memory.usable() ? &memory : nullptr);
    PF_Err err = PF_Err_NONE;
    try {
        err = dispatch(cmd, in, out, params, output, extra);
    } catch (...) {
        err = translateFailure(out, kMain, kSource, __LINE__);
    }
    if (isRenderCommand(cmd) && err == PF_Err_OUT_OF_MEMORY)
        reportOutOfMemory(out);
    // Whatever a command recorded has been reported by now; the next
    // command's report starts from an empty stack.
    Exceptions::Stack::clear();
    return err;
}

}  // namespace

}  // namespace Quarn::AfterEffects

PF_Err PF_EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
    PF_LayerDef* output, void* extra)
{
    if (!in_data || !out_data)
        return PF_Err_BAD_CALLBACK_PARAM;
    try {
        return Quarn::AfterEffects::runCommand(cmd, in_data, out_data, params, output, extra);
    } catch (...) {
        // Even the failure handling failed (no memory left to record it):
        // the host learns only that the command did not complete.
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}
