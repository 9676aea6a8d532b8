// The test effect's UI, keyframe report and render commands.
#include "qrFixtureEffect.h"

#include <AEGP_Suites.h>
#include <AE_EffectSuites.h>

#include <cstdio>
#include <cstring>

namespace Fixture {

namespace {

// Acquires a suite for the length of a scope.
template <typename Suite> class SuiteRef {
public:
    SuiteRef(PF_InData* in_data, const char* name, A_long version)
        : basic_(in_data->pica_basicP), name_(name), version_(version)
    {
        const void* found = nullptr;
        if (basic_->AcquireSuite(name, version, &found) == kSPNoError)
            suite_ = static_cast<const Suite*>(found);
    }
    ~SuiteRef()
    {
        if (suite_)
            basic_->ReleaseSuite(name_, version_);
    }
    SuiteRef(const SuiteRef&) = delete;
    SuiteRef& operator=(const SuiteRef&) = delete;
    const Suite* operator->() const { return suite_; }
    explicit operator bool() const { return suite_ != nullptr; }

private:
    SPBasicSuite* basic_;
    const char* name_;
    A_long version_;
    const Suite* suite_ = nullptr;
};

using ParamUtils = SuiteRef<PF_ParamUtilsSuite3>;

PF_Err checkout(PF_InData* in_data, PF_ParamIndex index, PF_ParamDef& def)
{
    return PF_CHECKOUT_PARAM(
        in_data, index, in_data->current_time, in_data->time_step, in_data->time_scale, &def);
}

struct Settings {
    double gain = 1.0;
    bool useTint = false;
    PF_Pixel tint {};
};

// Reads the render settings at the current time through checkout.
PF_Err readSettings(PF_InData* in_data, Settings& s)
{
    PF_ParamDef gain {}, useTint {}, tint {};
    PF_Err err = checkout(in_data, kGain, gain);
    if (!err)
        err = checkout(in_data, kUseTint, useTint);
    if (!err)
        err = checkout(in_data, kTint, tint);
    s.gain = gain.u.fs_d.value / 65536.0 / 100.0;
    s.useTint = useTint.u.bd.value != 0;
    s.tint = tint.u.cd.value;
    PF_CHECKIN_PARAM(in_data, &gain);
    PF_CHECKIN_PARAM(in_data, &useTint);
    PF_CHECKIN_PARAM(in_data, &tint);
    return err;
}

}  // namespace

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
    for (A_long y = 0; y < content.height; ++y) {
        auto* row = reinterpret_cast<PF_Pixel*>(reinterpret_cast<char*>(content.data) + y * content.rowbytes);
        for (A_long x = 0; x < content.width; ++x)
            row[x] = {255, 0, 0, 255};
    }
    err = window->show_modal(window->refcon, "About Fixture", &content);
    worlds->PF_DisposeWorld(in_data->effect_ref, &content);
    out_data->return_msg[0] = '\0';
    return err;
}

PF_Err event(PF_InData*, PF_EventExtra* extra)
{
    if (extra->e_type == PF_Event_DRAW && extra->canvas) {
        PF_EffectWorld& c = *extra->canvas;
        for (A_long y = 0; y < c.height; ++y) {
            auto* row = reinterpret_cast<PF_Pixel*>(reinterpret_cast<char*>(c.data) + y * c.rowbytes);
            for (A_long x = 0; x < c.width; ++x)
                row[x] = {255, 0, 255, 0};
        }
    }
    extra->evt_out_flags = PF_EO_HANDLED_EVENT;
    return PF_Err_NONE;
}

// "Bright" writes Gain through params[], "Dim" through the param utils suite.
PF_Err userChangedParam(PF_InData* in_data, PF_ParamDef* params[], const PF_UserChangedParamExtra* extra)
{
    if (extra->param_index != kPreset)
        return PF_Err_NONE;
    const A_long choice = params[kPreset]->u.pd.value;
    if (choice == 2) {
        params[kGain]->u.fs_d.value = PF_FIXED_FROM_LONG(150);
        params[kGain]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    } else if (choice == 3) {
        ParamUtils utils(in_data, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
        if (!utils)
            return PF_Err_INTERNAL_STRUCT_DAMAGED;
        PF_ParamDef gain = *params[kGain];
        gain.u.fs_d.value = PF_FIXED_FROM_LONG(50);
        gain.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
        if (PF_Err err = utils->PF_UpdateParamUI(in_data->effect_ref, kGain, &gain))
            return err;
    }
    params[kPreset]->u.pd.value = 1;
    params[kPreset]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    return PF_Err_NONE;
}

// Greys out Gain while the tint replaces the picture.
PF_Err updateParamsUI(PF_InData* in_data, PF_ParamDef* params[], bool stale)
{
    PF_ParamDef useTint = *params[kUseTint];
    if (stale) {
        if (PF_Err err = checkout(in_data, kUseTint, useTint))
            return err;
        PF_CHECKIN_PARAM(in_data, &useTint);
    }
    ParamUtils utils(in_data, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    if (!utils)
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    PF_ParamDef gain = *params[kGain];
    if (useTint.u.bd.value)
        gain.ui_flags |= PF_PUI_DISABLED;
    else
        gain.ui_flags &= ~PF_PUI_DISABLED;
    return utils->PF_UpdateParamUI(in_data->effect_ref, kGain, &gain);
}

// Reports Gain's keys and current value, as the AEGP streams and the param
// utils suite give them, in the return message.
PF_Err keyReport(PF_InData* in_data, PF_OutData* out_data)
{
    SuiteRef<AEGP_PFInterfaceSuite1> pf(in_data, kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1);
    SuiteRef<AEGP_StreamSuite5> streams(in_data, kAEGPStreamSuite, kAEGPStreamSuiteVersion5);
    ParamUtils utils(in_data, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
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
    int used = std::snprintf(
        out_data->return_msg, sizeof out_data->return_msg, "keys=%d/%d", int(keys), int(utilKeys));
    for (A_long k = 0; !err && k < keys; ++k) {
        A_Time t {};
        err = streams->AEGP_GetKeyframeTime(stream, k, &t);
        used += std::snprintf(out_data->return_msg + used, sizeof out_data->return_msg - used, " t%d=%d/%u",
            int(k), int(t.value), unsigned(t.scale));
    }
    AEGP_StreamValue value {};
    const A_Time now {in_data->current_time, in_data->time_scale};
    if (!err)
        err = streams->AEGP_GetNewStreamValue(0, stream, &now, &value);
    if (!err) {
        std::snprintf(
            out_data->return_msg + used, sizeof out_data->return_msg - used, " v=%.2f", value.val.one_d);
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

PF_Err classicRender(PF_InData* in_data, PF_ParamDef* params[], PF_LayerDef* output)
{
    Settings s;
    PF_Err err = readSettings(in_data, s);
    PF_ParamDef matte {};
    if (!err)
        err = checkout(in_data, kMatte, matte);
    if (err)
        return err;
    const PF_PixelFormat format =
        output->world_flags & PF_WorldFlag_DEEP ? PF_PixelFormat_ARGB64 : PF_PixelFormat_ARGB32;
    err = renderWorld(in_data, format, params[0]->u.ld, matte.u.ld.data ? &matte.u.ld : nullptr, *output,
        s.gain, s.useTint, s.tint);
    PF_CHECKIN_PARAM(in_data, &matte);
    return err;
}

PF_Err preRender(PF_InData* in_data, PF_PreRenderExtra* extra)
{
    const PF_RenderRequest req = extra->input->output_request;
    PF_CheckoutResult input {}, matte {};
    PF_Err err = extra->cb->checkout_layer(in_data->effect_ref, 0, 0, &req, in_data->current_time,
        in_data->time_step, in_data->time_scale, &input);
    if (!err)
        err = extra->cb->checkout_layer(in_data->effect_ref, kMatte, kMatte, &req, in_data->current_time,
            in_data->time_step, in_data->time_scale, &matte);
    extra->output->result_rect = input.result_rect;
    extra->output->max_result_rect = input.max_result_rect;
    return err;
}

PF_Err smartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra)
{
    SuiteRef<PF_WorldSuite2> worlds(in_data, kPFWorldSuite, kPFWorldSuiteVersion2);
    if (!worlds) {
        std::snprintf(out_data->return_msg, sizeof out_data->return_msg, "Couldn't load suite.");
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    Settings s;
    PF_EffectWorld *input = nullptr, *matte = nullptr, *output = nullptr;
    PF_Boolean matteConnected = 0;
    PF_Err err = readSettings(in_data, s);
    if (!err)
        err = extra->cb->checkout_output(in_data->effect_ref, &output);
    if (!err)
        err = extra->cb->checkout_layer_pixels(in_data->effect_ref, 0, &input);
    if (!err)
        err = extra->cb->is_layer_connected(in_data->effect_ref, kMatte, &matteConnected);
    if (!err && matteConnected)
        err = extra->cb->checkout_layer_pixels(in_data->effect_ref, kMatte, &matte);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    if (!err)
        err = worlds->PF_GetPixelFormat(output, &format);
    if (!err && input)
        err = renderWorld(in_data, format, *input, matte, *output, s.gain, s.useTint, s.tint);
    if (input)
        extra->cb->checkin_layer_pixels(in_data->effect_ref, 0);
    if (matteConnected)
        extra->cb->checkin_layer_pixels(in_data->effect_ref, kMatte);
    return err;
}

}  // namespace Fixture
