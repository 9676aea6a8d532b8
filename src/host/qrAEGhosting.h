#pragma once
// Greying out controls that do nothing with the current settings, before a
// render and after every parameter-UI command:
//   "Blend", "Effect Gain", "Source Gain" (15-17) while "Method" is None;
//   both "Edge Colour Alpha" sliders (24, 34) while "Process" is RGB;
//   "Matte Layer" and its crops (11, 31-38) while "Matte" uses no layer;
//   the 32 bpc clamp (18) always.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

// Which controls the rule above greys out for the values in `params`.
struct GhostState {
    bool blendControls = false;
    bool edgeAlphaSliders = false;
    bool matteLayerControls = false;
};
GhostState ghostStateOf(PF_ParamDef* params[]);

// Sets or clears PF_PUI_DISABLED on every ruled control and asks the host
// to refresh each of them.
void ghostParameters(PF_InData* in, PF_ParamDef* params[]);

}  // namespace Quarn::AfterEffects
