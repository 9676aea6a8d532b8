// The render commands: choosing the depth and handing the frame to the
// driver of that depth.
#include "qrAERender.h"

#include "qrAEExceptions.h"
#include "qrAEGhosting.h"
#include "qrAERenderDriver.h"
#include "qrAESuite.h"
#include "qrAEWrapperHost.h"
#include "effect/qrRainKeys.h"

#include <AE_EffectSuites.h>

#include <algorithm>

namespace Quarn::AfterEffects {

namespace Ex = Quarn::Exceptions;
namespace Key = Quarn::Wrapper::Rain::Key;

namespace {

constexpr const char* kSource = "src/host/qrAERender.cpp";
constexpr A_long kFarAway = 1000000;

PF_LRect intersect(const PF_LRect& a, const PF_LRect& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom)};
}

}  // namespace

bool classicRenderIsDeep(const PF_InData* in, const PF_LayerDef* output)
{
    return in->version.major >= 12 && in->version.minor >= 6 && output &&
        (output->world_flags & PF_WorldFlag_DEEP);
}

PF_Err renderFrame(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output)
{
    // A classic render takes its input and every control from the parameter
    // list; without one there is nothing to grey out or render.
    if (!params)
        return PF_Err_BAD_CALLBACK_PARAM;
    if (in->appl_id != PF_APPL_ID_AFTER_EFFECTS)
        ghostParameters(in, params);
    if (classicRenderIsDeep(in, output))
        return RenderBitInner16::RenderInner(in, out, params, output, nullptr);
    return RenderBitInner8::RenderInner(in, out, params, output, nullptr);
}

PF_Err smartPreRender(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_PreRenderExtra* extra)
{
    if (!extra || !extra->cb || !extra->output)
        return PF_Err_BAD_CALLBACK_PARAM;
    Wrapper::Host host(in, out, params);
    host.bindRainMappings();
    const PF_RenderRequest request {{-kFarAway, -kFarAway, 2 * kFarAway, 2 * kFarAway}, false};
    PF_CheckoutResult input {};
    for (const char* clip : {Key::sourceClip, Key::matteClip}) {
        const A_long index = host.getClipID(clip);
        PF_CheckoutResult result {};
        const PF_Err err = extra->cb->checkout_layer(
            in->effect_ref, index, index, &request, in->current_time, in->time_step, in->time_scale, &result);
        if (err != PF_Err_NONE)
            return err;
        if (clip == Key::sourceClip)
            input = result;
    }
    extra->output->result_rect = intersect(input.result_rect, request.rect);
    extra->output->max_result_rect = extra->output->result_rect;
    return PF_Err_NONE;
}

PF_Err smartRender(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_SmartRenderExtra* extra)
{
    if (!extra || !extra->cb)
        return PF_Err_BAD_CALLBACK_PARAM;
    PF_EffectWorld* output = nullptr;
    if (const PF_Err err = extra->cb->checkout_output(in->effect_ref, &output); err != PF_Err_NONE)
        return err;
    Suite<PF_WorldSuite2> worlds(in, kPFWorldSuite, kPFWorldSuiteVersion2);
    if (worlds.null())
        throw Ex::AfterEffects::SuiteFailed(
            "Quarn::AfterEffects::smartRender", kSource, __LINE__, "Couldn't load suite.");
    // Without an output world the 8-bit driver reports the missing buffer.
    PF_PixelFormat format = PF_PixelFormat_ARGB32;
    if (output && worlds->PF_GetPixelFormat(output, &format) != PF_Err_NONE)
        format = PF_PixelFormat_INVALID;
    PF_Err err = PF_Err_NONE;
    switch (format) {
    case PF_PixelFormat_ARGB32: err = RenderBitInner8::RenderInner(in, out, params, output, extra); break;
    case PF_PixelFormat_ARGB64: err = RenderBitInner16::RenderInner(in, out, params, output, extra); break;
    case PF_PixelFormat_ARGB128:
        err = RenderBitInnerFloat::RenderInner(in, out, params, output, extra);
        break;
    default: err = PF_Err_BAD_CALLBACK_PARAM; break;
    }
    if (!worlds.release())
        throw Ex::AfterEffects::SuiteFailed(
            "Quarn::AfterEffects::smartRender", kSource, __LINE__, "Couldn't release suite.");
    return err;
}

}  // namespace Quarn::AfterEffects
