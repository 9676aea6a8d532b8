#include "qrAEParamsSetup.h"

#include "qrAEGlobalData.h"

#include <cmath>
#include <cstring>

namespace Quarn::AfterEffects {

namespace {

namespace Rain = Quarn::Wrapper::Rain;
using Type = Rain::HostParamType;

PF_Fixed fixed(double v)
{
    return PF_Fixed(std::llround(v * 65536.0));
}

PF_ParamType hostType(Type type)
{
    switch (type) {
    case Type::inputLayer:
    case Type::layer: return PF_Param_LAYER;
    case Type::customArea: return PF_Param_NO_DATA;
    case Type::popup: return PF_Param_POPUP;
    case Type::floatSlider: return PF_Param_FIX_SLIDER;
    case Type::angle: return PF_Param_ANGLE;
    case Type::intSlider: return PF_Param_SLIDER;
    case Type::groupStart: return PF_Param_GROUP_START;
    case Type::groupEnd: return PF_Param_GROUP_END;
    case Type::checkBox: return PF_Param_CHECKBOX;
    case Type::colour: return PF_Param_COLOR;
    }
    return PF_Param_NO_DATA;
}

void fillValue(const Rain::RainHostParam& row, PF_ParamDefUnion& u)
{
    switch (row.type) {
    case Type::popup:
        u.pd.num_choices = A_short(row.choiceCount);
        u.pd.dephault = A_short(row.popupDefault);
        u.pd.value = row.popupDefault;
        u.pd.namesptr = row.choices;
        break;
    case Type::floatSlider:
        u.fs_d.value = u.fs_d.dephault = fixed(row.defaultValue);
        u.fs_d.valid_min = fixed(row.validMin);
        u.fs_d.valid_max = fixed(row.validMax);
        u.fs_d.slider_min = fixed(row.sliderMin);
        u.fs_d.slider_max = fixed(row.sliderMax);
        u.fs_d.precision = A_short(row.precision);
        u.fs_d.display_flags = row.percent ? PF_ValueDisplayFlag_PERCENT : PF_ValueDisplayFlag_NONE;
        break;
    case Type::angle: u.ad.value = u.ad.dephault = fixed(row.defaultValue); break;
    case Type::intSlider:
        u.sd.value = u.sd.dephault = A_long(row.defaultValue);
        u.sd.valid_min = A_long(row.validMin);
        u.sd.valid_max = A_long(row.validMax);
        u.sd.slider_min = A_long(row.sliderMin);
        u.sd.slider_max = A_long(row.sliderMax);
        break;
    case Type::checkBox:
        u.bd.value = u.bd.dephault = row.defaultValue != 0.0;
        u.bd.nameptr = row.checkBoxText;
        break;
    case Type::colour: {
        const PF_Pixel c {
            row.colourDefault.alpha, row.colourDefault.red, row.colourDefault.green, row.colourDefault.blue};
        u.cd.value = u.cd.dephault = c;
        break;
    }
    case Type::layer: u.ld.dephault = PF_LayerDefault_NONE; break;
    default: break;
    }
}

}  // namespace

PF_ParamDef hostDefinition(const Rain::RainHostParam& row, int titleWidth, int titleHeight)
{
    PF_ParamDef def {};
    def.param_type = hostType(row.type);
    std::strncpy(def.name, row.label, PF_MAX_EFFECT_PARAM_NAME_LEN);
    def.flags = PF_ParamFlags(row.flags);
    if (row.type == Type::customArea) {
        def.ui_flags = PF_PUI_CONTROL;
        def.ui_width = A_short(titleWidth);
        def.ui_height = A_short(titleHeight);
    }
    fillValue(row, def.u);
    return def;
}

PF_Err declareParameters(PF_InData* in, PF_OutData* out)
{
    int32_t width = 0, height = 0;
    GlobalData::titleSize(in, width, height);
    for (const Rain::RainHostParam& row : Rain::rainHostParams()) {
        if (row.type == Type::inputLayer)
            continue;
        PF_ParamDef def = hostDefinition(row, width, height);
        if (const PF_Err err = PF_ADD_PARAM(in, -1, &def); err != PF_Err_NONE)
            return err;
    }
    out->num_params = Rain::kRainHostParamCount;
    return PF_Err_NONE;
}

}  // namespace Quarn::AfterEffects
