// The test effect's renders: classic, and smart with its pre-render.
#include "qrFixtureEffect.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace Fixture {

namespace {

PF_Err checkout(PF_InData* in_data, PF_ParamIndex index, PF_ParamDef& def)
{
    return PF_CHECKOUT_PARAM(
        in_data, index, in_data->current_time, in_data->time_step, in_data->time_scale, &def);
}

struct Settings {
    float gain = 1.0f;
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
    s.gain = float(gain.u.fs_d.value / 65536.0 / 100.0);
    s.useTint = useTint.u.bd.value != 0;
    s.tint = tint.u.cd.value;
    PF_CHECKIN_PARAM(in_data, &gain);
    PF_CHECKIN_PARAM(in_data, &useTint);
    PF_CHECKIN_PARAM(in_data, &tint);
    return err;
}

template <typename Pixel> Pixel& pixelAt(const PF_EffectWorld& world, A_long x, A_long y)
{
    return reinterpret_cast<Pixel*>(reinterpret_cast<std::uint8_t*>(world.data) + y * world.rowbytes)[x];
}

// Renders at the depth of `Pixel`, polling progress before each row.
template <typename Pixel>
PF_Err render(PF_InData* in_data, const PF_EffectWorld& input, const PF_EffectWorld* matte,
    PF_EffectWorld& output, const Settings& s)
{
    using Channel = decltype(Pixel::alpha);
    const float white = sizeof(Channel) == 1 ? 255.0f : sizeof(Channel) == 2 ? 32768.0f : 1.0f;
    auto store = [white](float v) {
        v = std::clamp(v, 0.0f, white);
        return std::is_floating_point_v<Channel> ? Channel(v) : Channel(v + 0.5f);
    };
    const float scale = white / 255.0f;
    for (A_long y = 0; y < output.height; ++y) {
        if (PF_Err err = PF_PROGRESS(in_data, y, output.height))
            return err;
        for (A_long x = 0; x < output.width; ++x) {
            const Pixel& in = pixelAt<Pixel>(input, x, y);
            Pixel& out = pixelAt<Pixel>(output, x, y);
            if (s.useTint)
                out = {store(s.tint.alpha * scale), store(s.tint.red * scale), store(s.tint.green * scale),
                    store(s.tint.blue * scale)};
            else
                out = {in.alpha, store(in.red * s.gain), store(in.green * s.gain), store(in.blue * s.gain)};
            if (matte && matte->data && !s.useTint)
                out.alpha = x < matte->width && y < matte->height ? pixelAt<Pixel>(*matte, x, y).alpha : 0;
        }
    }
    return PF_Err_NONE;
}

PF_Err renderWorld(PF_InData* in_data, PF_PixelFormat format, const PF_EffectWorld& input,
    const PF_EffectWorld* matte, PF_EffectWorld& output, const Settings& s)
{
    switch (format) {
    case PF_PixelFormat_ARGB32: return render<PF_Pixel8>(in_data, input, matte, output, s);
    case PF_PixelFormat_ARGB64: return render<PF_Pixel16>(in_data, input, matte, output, s);
    case PF_PixelFormat_ARGB128: return render<PF_PixelFloat>(in_data, input, matte, output, s);
    }
    return PF_Err_BAD_CALLBACK_PARAM;
}

}  // namespace

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
    err = renderWorld(in_data, format, params[0]->u.ld, matte.u.ld.data ? &matte.u.ld : nullptr, *output, s);
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

PF_Err smartRender(PF_InData* in_data, PF_SmartRenderExtra* extra)
{
    SuiteRef<PF_WorldSuite2> worlds(in_data, kPFWorldSuite, kPFWorldSuiteVersion2);
    if (!worlds)
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
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
        err = renderWorld(in_data, format, *input, matte, *output, s);
    if (input)
        extra->cb->checkin_layer_pixels(in_data->effect_ref, 0);
    if (matteConnected)
        extra->cb->checkin_layer_pixels(in_data->effect_ref, kMatte);
    return err;
}

}  // namespace Fixture
