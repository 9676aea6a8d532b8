#pragma once
// The render commands: the classic render (8 or 16 bits, by the host's API
// version and the output world), the smart pre-render (the layers and the
// area the frame needs) and the smart render (8, 16 bits or float, by the
// output world's pixel format).
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

PF_Err renderFrame(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err smartPreRender(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_PreRenderExtra* extra);
PF_Err smartRender(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_SmartRenderExtra* extra);

// True when a classic render of this host and output runs at 16 bits: the
// host's API is at least 12.6 (each number tested by itself) and the world
// is deep.
bool classicRenderIsDeep(const PF_InData* in, const PF_LayerDef* output);

}  // namespace Quarn::AfterEffects
