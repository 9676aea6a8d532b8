// Entry point, property list, set-up and the reporting commands of the test
// effect.
#include "qrFixtureEffect.h"

#include <AE_PiPL.h>

#include <cstdio>

namespace {

using namespace Fixture;

PF_Err paramsSetup(PF_InData* in_data, PF_OutData* out_data)
{
    const PF_ParamType types[] = {PF_Param_FIX_SLIDER, PF_Param_GROUP_START, PF_Param_CHECKBOX,
        PF_Param_COLOR, PF_Param_GROUP_END, PF_Param_LAYER};
    const char* names[] = {"Gain", "Tinting", "Use Tint", "Tint", "", "Matte Layer"};
    PF_ParamDef defs[kParamCount - 1] {};
    defs[kGain - 1].u.fs_d = {0, 0, PF_FIXED_FROM_LONG(400), 0, PF_FIXED_FROM_LONG(200),
        PF_FIXED_FROM_LONG(100), 1, PF_ValueDisplayFlag_PERCENT};
    defs[kUseTint - 1].u.bd = {0, 0, "Tint the frame"};
    defs[kTint - 1].u.cd.dephault = {255, 255, 0, 0};
    defs[kMatte - 1].u.ld.dephault = PF_LayerDefault_NONE;
    for (int i = 0; i < kParamCount - 1; ++i) {
        defs[i].param_type = types[i];
        std::snprintf(defs[i].name, sizeof defs[i].name, "%s", names[i]);
        if (PF_Err err = PF_ADD_PARAM(in_data, -1, &defs[i]))
            return err;
    }
    out_data->num_params = kParamCount;
    return PF_Err_NONE;
}

PF_Err globalSetup(PF_InData* in_data, PF_OutData* out_data)
{
    out_data->global_data = PF_NEW_HANDLE(in_data, sizeof(A_long));
    return out_data->global_data ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
}

PF_Err globalSetdown(PF_InData* in_data, PF_OutData* out_data)
{
    PF_DISPOSE_HANDLE(in_data, in_data->global_data);
    out_data->global_data = nullptr;
    return PF_Err_NONE;
}

// Shows a 20 x 10 red picture, made with the world suite, in the main window.
PF_Err about(PF_InData* in_data, PF_OutData* out_data)
{
    SuiteRef<PF_AppSuite4> app(in_data, kPFAppSuite, kPFAppSuiteVersion4);
    SuiteRef<PF_WorldSuite2> worlds(in_data, kPFWorldSuite, kPFWorldSuiteVersion2);
    if (!app || !worlds)
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    PF_HostWindow* window = nullptr;
    PF_Err err = app->PF_GetMainWnd(&window);
    PF_EffectWorld content {};
    if (!err)
        err = worlds->PF_NewWorld(in_data->effect_ref, 20, 10, 1, PF_PixelFormat_ARGB32, &content);
    if (err)
        return err;
    for (A_long y = 0; y < content.height; ++y)
        for (A_long x = 0; x < content.width; ++x)
            reinterpret_cast<PF_Pixel*>(reinterpret_cast<char*>(content.data) + y * content.rowbytes)[x] = {
                255, 0, 0, 255};
    err = window->show_modal(window->refcon, "About Fixture", &content);
    worlds->PF_DisposeWorld(in_data->effect_ref, &content);
    out_data->return_msg[0] = '\0';
    return err;
}

// Reports Gain's keys and current value, as the AEGP streams and the param
// utils suite give them, in the return message.
PF_Err keyReport(PF_InData* in_data, PF_OutData* out_data)
{
    SuiteRef<AEGP_PFInterfaceSuite1> pf(in_data, kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
    SuiteRef<AEGP_StreamSuite5> streams(in_data, kAEGPStreamSuite, kAEGPStreamSuiteVersion5);
    SuiteRef<PF_ParamUtilsSuite3> utils(in_data, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    if (!pf || !streams || !utils)
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    AEGP_EffectRefH effect = nullptr;
    AEGP_StreamRefH stream = nullptr;
    PF_Err err = pf->AEGP_GetNewEffectForEffect(0, in_data->effect_ref, &effect);
    if (!err)
        err = streams->AEGP_GetNewEffectStreamByIndex(0, effect, kGain, &stream);
    A_long keys = 0, utilKeys = 0;
    if (!err)
        err = streams->AEGP_GetStreamNumKFs(stream, &keys);
    if (!err)
        err = utils->PF_GetKeyframeCount(in_data->effect_ref, kGain, &utilKeys);
    char* msg = out_data->return_msg;
    int used = std::snprintf(msg, sizeof out_data->return_msg, "keys=%d/%d", int(keys), int(utilKeys));
    for (A_long k = 0; !err && k < keys; ++k) {
        A_Time t {};
        err = streams->AEGP_GetKeyframeTime(stream, k, &t);
        used += std::snprintf(msg + used, sizeof out_data->return_msg - used, " t%d=%d/%u", int(k),
            int(t.value), unsigned(t.scale));
    }
    AEGP_StreamValue value {};
    const A_Time now {in_data->current_time, in_data->time_scale};
    if (!err)
        err = streams->AEGP_GetNewStreamValue(0, stream, &now, &value);
    if (!err) {
        std::snprintf(msg + used, sizeof out_data->return_msg - used, " v=%.2f", value.val.one_d);
        streams->AEGP_DisposeStreamValue(&value);
    }
    if (stream)
        streams->AEGP_DisposeStream(stream);
    if (effect)
        pf->AEGP_DisposeEffect(effect);
    return err;
}

// Echoes what the host said about itself and the frame.
PF_Err inDataReport(PF_InData* in_data, PF_OutData* out_data)
{
    const PF_InData& i = *in_data;
    const char appl[5] = {
        char(i.appl_id >> 24), char(i.appl_id >> 16), char(i.appl_id >> 8), char(i.appl_id), '\0'};
    std::snprintf(out_data->return_msg, sizeof out_data->return_msg,
        "%s %d.%d ds=%d/%u,%d/%u par=%d/%u t=%d/%d/%d/%u size=%dx%d extent=%d,%d,%d,%d "
        "origin=%d,%d",
        appl, i.version.major, i.version.minor, int(i.downsample_x.num), unsigned(i.downsample_x.den),
        int(i.downsample_y.num), unsigned(i.downsample_y.den), int(i.pixel_aspect_ratio.num),
        unsigned(i.pixel_aspect_ratio.den), int(i.current_time), int(i.time_step), int(i.local_time_step),
        unsigned(i.time_scale), int(i.width), int(i.height), int(i.extent_hint.left), int(i.extent_hint.top),
        int(i.extent_hint.right), int(i.extent_hint.bottom), int(i.output_origin_x), int(i.output_origin_y));
    return PF_Err_NONE;
}

}  // namespace

static const PF_PiPLProperty kProperties[] = {
    {PF_PiPLKey_KIND, nullptr, PF_PiPLKind_EFFECT},
    {PF_PiPLKey_NAME, "Fixture", 0},
    {PF_PiPLKey_CODE_WIN_X86, PF_ENTRY_POINT_NAME, 0},
};

const PF_PiPL NimbrelPiPL = {PF_PIPL_TABLE_VERSION, sizeof kProperties / sizeof kProperties[0], kProperties};

// Commands not listed (sequence data among them) need nothing from the fixture.
PF_Err PF_EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
    PF_LayerDef* output, void* extra)
{
    switch (cmd) {
    case PF_Cmd_ABOUT: return about(in_data, out_data);
    case PF_Cmd_GLOBAL_SETUP: return globalSetup(in_data, out_data);
    case PF_Cmd_GLOBAL_SETDOWN: return globalSetdown(in_data, out_data);
    case PF_Cmd_PARAMS_SETUP: return paramsSetup(in_data, out_data);
    case PF_Cmd_DO_DIALOG: return keyReport(in_data, out_data);
    case PF_Cmd_FRAME_SETUP: return inDataReport(in_data, out_data);
    case PF_Cmd_RENDER: return classicRender(in_data, params, output);
    case PF_Cmd_SMART_PRE_RENDER: return preRender(in_data, static_cast<PF_PreRenderExtra*>(extra));
    case PF_Cmd_SMART_RENDER: return smartRender(in_data, static_cast<PF_SmartRenderExtra*>(extra));
    }
    return PF_Err_NONE;
}
