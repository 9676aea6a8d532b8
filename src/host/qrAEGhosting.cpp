#include "qrAEGhosting.h"

#include "qrAEParamUI.h"
#include "effect/qrRainParamTable.h"

namespace Quarn::AfterEffects {

namespace {

namespace Rain = Quarn::Wrapper::Rain;

constexpr PF_ParamIndex kProcess = 2;
constexpr PF_ParamIndex kMatte = 10;
constexpr PF_ParamIndex kMethod = 14;
constexpr PF_ParamIndex kClamp = 18;
// "Process" host values that keep the source's alpha (RGB).
constexpr A_long kProcessRGB = 1;
constexpr A_long kProcessRGBAlias = 3;
// The first "Matte" choice that reads the matte layer.
constexpr int kFirstLayerMatte = 5;

// The internal value of a popup's current host value.
int popupValue(PF_ParamDef* params[], PF_ParamIndex index)
{
    const Rain::RainHostParam& row = Rain::rainHostParams()[std::size_t(index)];
    const int position = params[index]->u.pd.value - 1;
    if (row.popupValues && position >= 0 && position < row.choiceCount)
        return row.popupValues[position];
    return position;
}

void setDisabled(PF_InData* in, PF_ParamDef* params[], PF_ParamIndex index, bool disabled)
{
    PF_ParamDef& def = *params[index];
    def.ui_flags = disabled ? (def.ui_flags | PF_PUI_DISABLED) : (def.ui_flags & ~PF_PUI_DISABLED);
    PF_ParamDef refresh = def;
    refresh.uu.change_flags = PF_ChangeFlag_NONE;
    updateParamUI(in, index, refresh);
}

}  // namespace

GhostState ghostStateOf(PF_ParamDef* params[])
{
    const A_long process = params[kProcess]->u.pd.value;
    return {popupValue(params, kMethod) == 0,
            process == kProcessRGB || process == kProcessRGBAlias,
            popupValue(params, kMatte) < kFirstLayerMatte};
}

void ghostParameters(PF_InData* in, PF_ParamDef* params[])
{
    const GhostState state = ghostStateOf(params);
    for (PF_ParamIndex i : {15, 16, 17})
        setDisabled(in, params, i, state.blendControls);
    for (PF_ParamIndex i : {24, 34})
        setDisabled(in, params, i, state.edgeAlphaSliders);
    for (PF_ParamIndex i : {11, 31, 32, 33, 34, 35, 36, 37, 38}) {
        // 34 is also ruled by "Process": it stays grey while either rule holds.
        const bool alsoEdge = i == 34 && state.edgeAlphaSliders;
        setDisabled(in, params, i, state.matteLayerControls || alsoEdge);
    }
    setDisabled(in, params, kClamp, true);
}

}  // namespace Quarn::AfterEffects
