#include "qrAEEdgeColourSync.h"

#include "qrAEParamUI.h"

#include <algorithm>
#include <cmath>

namespace Quarn::AfterEffects {

namespace {

// 65536 x 100 / 255, as the single-precision constant the slider has always
// been converted with.
constexpr double kAlphaToFixed = 25700.392578125;

// The colour and slider definitions of a pair at the current time.
struct PairValues {
    PF_ParamDef colour {};
    PF_ParamDef alpha {};
};

PairValues checkoutPair(PF_InData* in, const EdgeColourPair& pair)
{
    PairValues v;
    PF_CHECKOUT_PARAM(in, pair.colour, in->current_time, in->time_step, in->time_scale, &v.colour);
    PF_CHECKOUT_PARAM(in, pair.alpha, in->current_time, in->time_step, in->time_scale, &v.alpha);
    return v;
}

void checkinPair(PF_InData* in, PairValues& v)
{
    PF_CHECKIN_PARAM(in, &v.colour);
    PF_CHECKIN_PARAM(in, &v.alpha);
}

}  // namespace

PF_Fixed alphaToSlider(A_u_char alpha)
{
    return PF_Fixed(std::trunc(alpha * kAlphaToFixed));
}

A_u_char sliderToAlpha(PF_Fixed slider)
{
    // In single precision, where 100 % x 2.55 comes to exactly 255.
    const float percent = float(slider) / 65536.0f;
    return A_u_char(std::trunc(std::clamp(percent * 2.55f, 0.0f, 255.0f)));
}

void syncSliderFromColour(PF_InData* in, PF_ParamDef* params[], const EdgeColourPair& pair)
{
    PF_ParamDef& slider = *params[pair.alpha];
    slider.u.fs_d.value = alphaToSlider(params[pair.colour]->u.cd.value.alpha);
    slider.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    updateParamUI(in, pair.alpha, slider);
}

void syncColourFromSlider(PF_ParamDef* params[], const EdgeColourPair& pair)
{
    PF_ParamDef& colour = *params[pair.colour];
    colour.u.cd.value.alpha = sliderToAlpha(params[pair.alpha]->u.fs_d.value);
    colour.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
}

void syncAllSliders(PF_InData* in, PF_ParamDef* params[], bool checkout)
{
    for (const EdgeColourPair& pair : {kSourceEdgePair, kMatteEdgePair}) {
        if (!checkout) {
            syncSliderFromColour(in, params, pair);
            continue;
        }
        PairValues v = checkoutPair(in, pair);
        PF_ParamDef slider = v.alpha;
        slider.u.fs_d.value = alphaToSlider(v.colour.u.cd.value.alpha);
        slider.uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
        checkinPair(in, v);
        updateParamUI(in, pair.alpha, slider);
    }
}

}  // namespace Quarn::AfterEffects
