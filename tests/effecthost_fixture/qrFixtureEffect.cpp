// Entry point, property list and command handling of the test effect.
#include "qrFixtureEffect.h"

#include <AEGP_Suites.h>
#include <AE_EffectSuites.h>
#include <AE_PiPL.h>

#include <cstdio>
#include <cstring>

namespace {

using namespace Fixture;

constexpr A_long kGlobalMagic = 0x46495854;  // marks the global record

// Live sequence record; the flat form is one word holding 1.
struct LiveRecord {
    A_long state;  // 0 = live
    A_long unused;
    PF_Handle owned;  // a handle the record owns
    A_long work[3];
};

void setMessage(PF_OutData* out_data, const char* text)
{
    std::snprintf(out_data->return_msg, sizeof out_data->return_msg, "%s", text);
}

PF_Err addParam(PF_InData* in_data, PF_ParamDef def, PF_ParamType type, const char* name)
{
    def.param_type = type;
    std::snprintf(def.name, sizeof def.name, "%s", name);
    return PF_ADD_PARAM(in_data, -1, &def);
}

PF_Err paramsSetup(PF_InData* in_data, PF_OutData* out_data)
{
    PF_ParamDef d {};
    d.ui_flags = PF_PUI_CONTROL;
    d.ui_width = 40;
    d.ui_height = 10;
    d.flags = PF_ParamFlag_SUPERVISE | PF_ParamFlag_CANNOT_TIME_VARY;
    PF_Err err = addParam(in_data, d, PF_Param_NO_DATA, "About");

    d = {};
    d.flags = PF_ParamFlag_SUPERVISE | PF_ParamFlag_CANNOT_TIME_VARY;
    d.u.pd = {1, 3, 1, "...|Bright|Dim"};
    if (!err)
        err = addParam(in_data, d, PF_Param_POPUP, "Preset");

    d = {};
    d.u.fs_d = {0, 0, PF_FIXED_FROM_LONG(400), 0, PF_FIXED_FROM_LONG(200), PF_FIXED_FROM_LONG(100), 1,
        PF_ValueDisplayFlag_PERCENT};
    if (!err)
        err = addParam(in_data, d, PF_Param_FIX_SLIDER, "Gain");

    d = {};
    d.flags = PF_ParamFlag_START_COLLAPSED;
    d.u.sd = {0, 0, 1000, 0, 255, 10};
    if (!err)
        err = addParam(in_data, d, PF_Param_SLIDER, "Level");

    d = {};
    d.u.ad.dephault = PF_FIXED_FROM_LONG(-90);
    if (!err)
        err = addParam(in_data, d, PF_Param_ANGLE, "Angle");

    if (!err)
        err = addParam(in_data, PF_ParamDef {}, PF_Param_GROUP_START, "Tinting");

    d = {};
    d.u.bd = {0, 0, "Tint the frame"};
    if (!err)
        err = addParam(in_data, d, PF_Param_CHECKBOX, "Use Tint");

    d = {};
    d.u.cd.dephault = {255, 255, 0, 0};
    if (!err)
        err = addParam(in_data, d, PF_Param_COLOR, "Tint");

    if (!err)
        err = addParam(in_data, PF_ParamDef {}, PF_Param_GROUP_END, "");

    d = {};
    d.u.ld.dephault = PF_LayerDefault_NONE;
    if (!err)
        err = addParam(in_data, d, PF_Param_LAYER, "Matte Layer");

    if (!err)
        out_data->num_params = kParamCount;
    return err;
}

PF_Err globalSetup(PF_InData* in_data, PF_OutData* out_data)
{
    out_data->my_version = PF_VERSION(1, 2, 0, PF_Stage_RELEASE, 3);
    out_data->out_flags |=
        PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_CUSTOM_UI | PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING;
    out_data->out_flags2 |= PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_SMART_RENDER;
    PF_Handle global = PF_NEW_HANDLE(in_data, sizeof(A_long));
    if (!global)
        return PF_Err_OUT_OF_MEMORY;
    *static_cast<A_long*>(PF_LOCK_HANDLE(in_data, global)) = kGlobalMagic;
    PF_UNLOCK_HANDLE(in_data, global);
    out_data->global_data = global;
    return PF_Err_NONE;
}

PF_Err globalSetdown(PF_InData* in_data, PF_OutData* out_data)
{
    if (in_data->global_data)
        PF_DISPOSE_HANDLE(in_data, in_data->global_data);
    out_data->global_data = nullptr;
    return PF_Err_NONE;
}

bool isFlat(PF_InData* in_data, PF_Handle h)
{
    return PF_GET_HANDLE_SIZE(in_data, h) == sizeof(A_long) && *static_cast<A_long*>(*h) == 1;
}

void releaseSequence(PF_InData* in_data, PF_Handle h)
{
    if (!h)
        return;
    if (!isFlat(in_data, h))
        PF_DISPOSE_HANDLE(in_data, static_cast<LiveRecord*>(*h)->owned);
    PF_DISPOSE_HANDLE(in_data, h);
}

PF_Err makeLive(PF_InData* in_data, PF_OutData* out_data)
{
    PF_Handle record = PF_NEW_HANDLE(in_data, sizeof(LiveRecord));
    PF_Handle owned = record ? PF_NEW_HANDLE(in_data, 16) : nullptr;
    if (!owned) {
        if (record)
            PF_DISPOSE_HANDLE(in_data, record);
        setMessage(out_data, "Failed to set up sequence data");
        out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
        return PF_Err_OUT_OF_MEMORY;
    }
    static_cast<LiveRecord*>(*record)->owned = owned;
    out_data->sequence_data = record;
    return PF_Err_NONE;
}

PF_Err sequenceSetup(PF_InData* in_data, PF_OutData* out_data)
{
    releaseSequence(in_data, in_data->sequence_data);
    out_data->sequence_data = nullptr;
    return makeLive(in_data, out_data);
}

PF_Err sequenceFlatten(PF_InData* in_data, PF_OutData* out_data)
{
    PF_Handle live = in_data->sequence_data;
    if (!live || isFlat(in_data, live))
        return PF_Err_NONE;
    PF_Handle flat = PF_NEW_HANDLE(in_data, sizeof(A_long));
    if (!flat)
        return PF_Err_OUT_OF_MEMORY;
    *static_cast<A_long*>(*flat) = 1;
    releaseSequence(in_data, live);
    out_data->sequence_data = flat;
    return PF_Err_NONE;
}

PF_Err sequenceResetup(PF_InData* in_data, PF_OutData* out_data)
{
    PF_Handle old = in_data->sequence_data;
    if (!old || !isFlat(in_data, old))
        return sequenceSetup(in_data, out_data);
    PF_Err err = makeLive(in_data, out_data);
    if (!err)
        PF_DISPOSE_HANDLE(in_data, old);
    return err;
}

PF_Err sequenceSetdown(PF_InData* in_data, PF_OutData* out_data)
{
    releaseSequence(in_data, in_data->sequence_data);
    out_data->sequence_data = nullptr;
    return PF_Err_NONE;
}

}  // namespace

namespace Fixture {
PF_Err about(PF_InData* in_data, PF_OutData* out_data);
PF_Err event(PF_InData* in_data, PF_EventExtra* extra);
PF_Err userChangedParam(PF_InData* in_data, PF_ParamDef* params[], const PF_UserChangedParamExtra* extra);
PF_Err updateParamsUI(PF_InData* in_data, PF_ParamDef* params[], bool stale);
PF_Err keyReport(PF_InData* in_data, PF_OutData* out_data);
PF_Err inDataReport(PF_InData* in_data, PF_OutData* out_data);
PF_Err classicRender(PF_InData* in_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err preRender(PF_InData* in_data, PF_PreRenderExtra* extra);
PF_Err smartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);
}  // namespace Fixture

static const PF_PiPLProperty kProperties[] = {
    {PF_PiPLKey_KIND, nullptr, PF_PiPLKind_EFFECT},
    {PF_PiPLKey_NAME, "Fixture", 0},
    {PF_PiPLKey_CATEGORY, "Host Tests", 0},
    {PF_PiPLKey_CODE_WIN_X86, PF_ENTRY_POINT_NAME, 0},
    {PF_PiPLKey_AE_EFFECT_VERSION, nullptr, PF_VERSION(1, 2, 0, PF_Stage_RELEASE, 3)},
    {PF_PiPLKey_AE_MATCH_NAME, "Fixture 0001", 0},
};

const PF_PiPL NimbrelPiPL = {PF_PIPL_TABLE_VERSION, sizeof kProperties / sizeof kProperties[0], kProperties};

PF_Err PF_EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
    PF_LayerDef* output, void* extra)
{
    switch (cmd) {
    case PF_Cmd_ABOUT: return about(in_data, out_data);
    case PF_Cmd_GLOBAL_SETUP: return globalSetup(in_data, out_data);
    case PF_Cmd_GLOBAL_SETDOWN: return globalSetdown(in_data, out_data);
    case PF_Cmd_PARAMS_SETUP: return paramsSetup(in_data, out_data);
    case PF_Cmd_SEQUENCE_SETUP: return sequenceSetup(in_data, out_data);
    case PF_Cmd_SEQUENCE_RESETUP: return sequenceResetup(in_data, out_data);
    case PF_Cmd_SEQUENCE_FLATTEN: return sequenceFlatten(in_data, out_data);
    case PF_Cmd_SEQUENCE_SETDOWN: return sequenceSetdown(in_data, out_data);
    case PF_Cmd_DO_DIALOG: return keyReport(in_data, out_data);
    case PF_Cmd_FRAME_SETUP: return inDataReport(in_data, out_data);
    case PF_Cmd_RENDER: return classicRender(in_data, params, output);
    case PF_Cmd_USER_CHANGED_PARAM:
        return userChangedParam(in_data, params, static_cast<PF_UserChangedParamExtra*>(extra));
    case PF_Cmd_UPDATE_PARAMS_UI: return updateParamsUI(in_data, params, extra != nullptr);
    case PF_Cmd_EVENT: return event(in_data, static_cast<PF_EventExtra*>(extra));
    case PF_Cmd_SMART_PRE_RENDER: return preRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER: return smartRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
    }
    return PF_Err_NONE;
}
