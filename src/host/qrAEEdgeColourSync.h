#pragma once
// Keeps each crop group's "Edge Colour" alpha and its "Edge Colour Alpha"
// percentage slider in step: 23 / 24 for the source crops, 33 / 34 for the
// matte layer crops.
#include <AE_Effect.h>

#include <cstdint>

namespace Quarn::AfterEffects {

struct EdgeColourPair {
    PF_ParamIndex colour;
    PF_ParamIndex alpha;
};
constexpr EdgeColourPair kSourceEdgePair {23, 24};
constexpr EdgeColourPair kMatteEdgePair {33, 34};

// The slider's fixed-point percent for an 8-bit alpha: alpha x 100 / 255.
PF_Fixed alphaToSlider(A_u_char alpha);
// The 8-bit alpha for a slider's fixed-point percent, clamped to 0..255.
A_u_char sliderToAlpha(PF_Fixed slider);

// The colour changed: its alpha goes into the slider, whose control is
// then refreshed.
void syncSliderFromColour(PF_InData* in, PF_ParamDef* params[], const EdgeColourPair& pair);
// The slider changed: its percent goes into the colour's alpha.
void syncColourFromSlider(PF_ParamDef* params[], const EdgeColourPair& pair);
// Both pairs, sliders from colours, for the parameter-UI command: from the
// command's list, or checked out at the current time when `checkout`.
void syncAllSliders(PF_InData* in, PF_ParamDef* params[], bool checkout);

}  // namespace Quarn::AfterEffects
