#include "qrAEGhosting.h"

#include "qrAEParamUI.h"
#include "effect/qrRainKeys.h"
#include "effect/qrRainParamTable.h"

namespace Quarn::AfterEffects {

namespace {

namespace Rain = Quarn::Wrapper::Rain;
namespace Key = Rain::Key;

PF_ParamIndex indexOf(const char* key)
{
    return PF_ParamIndex(Rain::rainHostIndex(key));
}
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
    const A_long process = params[indexOf(Key::process)]->u.pd.value;
    return {popupValue(params, indexOf(Key::blendMethod)) == 0,
        process == kProcessRGB || process == kProcessRGBAlias,
        popupValue(params, indexOf(Key::matteChannel)) < kFirstLayerMatte};
}

void ghostParameters(PF_InData* in, PF_ParamDef* params[])
{
    const GhostState state = ghostStateOf(params);
    for (const char* key : {Key::blendMix, Key::blendEffect, Key::blendSrc})
        setDisabled(in, params, indexOf(key), state.blendControls);
    const Key::Crops& crops = Key::matteCrops;
    for (const char* key : {Key::sourceCrops.edgeColourAlpha, crops.edgeColourAlpha})
        setDisabled(in, params, indexOf(key), state.edgeAlphaSliders);
    for (const char* key : {Key::matteClip, crops.xMethod, crops.yMethod, crops.edgeColour,
             crops.edgeColourAlpha, crops.left, crops.right, crops.bottom, crops.top}) {
        // The matte's edge alpha is also ruled by "Process": it stays grey
        // while either rule holds.
        const bool alsoEdge = key == crops.edgeColourAlpha && state.edgeAlphaSliders;
        setDisabled(in, params, indexOf(key), state.matteLayerControls || alsoEdge);
    }
    setDisabled(in, params, indexOf(Key::clampBlendAtFloat), true);
}

}  // namespace Quarn::AfterEffects
