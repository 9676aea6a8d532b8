#pragma once
// The parameter commands: a supervised control changed (a preset chosen,
// an edge colour or its alpha slider moved), and the parameter-UI refresh.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

inline constexpr PF_ParamIndex kPresetsIndex = 3;

PF_Err userChangedParam(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], const PF_UserChangedParamExtra* extra);
PF_Err updateParamsUI(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], const PF_UpdateParamsUIExtra* extra);
// Applies the preset chosen in "Presets" and puts the popup back to rest.
PF_Err applyChosenPreset(PF_InData* in, PF_OutData* out, PF_ParamDef* params[]);

}  // namespace Quarn::AfterEffects
