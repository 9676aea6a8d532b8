#include "qrAEParamChange.h"

#include "qrAEEdgeColourSync.h"
#include "qrAEGhosting.h"
#include "qrAEWrapperHost.h"
#include "effect/qrRainEffect.h"

namespace Quarn::AfterEffects {

namespace {
// The value "Presets" rests at after a preset was applied.
constexpr A_long kPresetsAtRest = 0;
}  // namespace

PF_Err applyChosenPreset(PF_InData* in, PF_OutData* out, PF_ParamDef* params[])
{
    const A_long chosen = params[kPresetsIndex]->u.pd.value;
    {
        Wrapper::Host host(in, out, params);
        host.bindRainMappings();
        Quarn::Wrapper::RainEffect effect(&host);
        effect.applyPreset(host.getForwardPopupMapping("presets", chosen - 1));
    }
    params[kPresetsIndex]->u.pd.value = kPresetsAtRest;
    params[kPresetsIndex]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    return PF_Err_NONE;
}

PF_Err userChangedParam(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], const PF_UserChangedParamExtra* extra)
{
    if (!extra || !params)
        return PF_Err_BAD_CALLBACK_PARAM;
    switch (extra->param_index) {
    case kPresetsIndex: return applyChosenPreset(in, out, params);
    case kSourceEdgePair.colour: syncSliderFromColour(in, params, kSourceEdgePair); break;
    case kSourceEdgePair.alpha: syncColourFromSlider(params, kSourceEdgePair); break;
    case kMatteEdgePair.colour: syncSliderFromColour(in, params, kMatteEdgePair); break;
    case kMatteEdgePair.alpha: syncColourFromSlider(params, kMatteEdgePair); break;
    default: break;
    }
    return PF_Err_NONE;
}

PF_Err updateParamsUI(PF_InData* in, PF_OutData*, PF_ParamDef* params[], const PF_UpdateParamsUIExtra* extra)
{
    if (!params)
        return PF_Err_BAD_CALLBACK_PARAM;
    syncAllSliders(in, params, extra != nullptr);
    ghostParameters(in, params);
    return PF_Err_NONE;
}

}  // namespace Quarn::AfterEffects
