// Commands that come from the user interface: parameter changes, parameter
// UI refreshes, events of custom control areas and the about box.
#include "qrEffectHost.h"

#include "qrCommandState.h"
#include "qrHostError.h"
#include "qrHostServices.h"

namespace Quarn::Host {

void EffectHost::applyChangedParams(const CommandState& state)
{
    const double now = currentSeconds();
    for (std::size_t i = 0; i < state.defs.size() && i < params_.size(); ++i) {
        const PF_ParamDef& def = state.defs[i];
        if (!(def.uu.change_flags & PF_ChangeFlag_CHANGED_VALUE))
            continue;
        if (params_[i]->holdsValue())
            params_[i]->setValue(def.u, now);
        else
            ++counters_.badCallbacks;
    }
}

CommandResult EffectHost::userChangedParam(int index)
{
    param(index);  // checks the index
    PF_UserChangedParamExtra extra {index};
    CommandState state(PF_Cmd_USER_CHANGED_PARAM);
    CommandResult r = invoke(PF_Cmd_USER_CHANGED_PARAM, state, &extra);
    applyChangedParams(state);
    return r;
}

CommandResult EffectHost::updateParamsUI(bool paramsStale)
{
    PF_UpdateParamsUIExtra extra {0};
    CommandState state(PF_Cmd_UPDATE_PARAMS_UI);
    CommandResult r = invoke(PF_Cmd_UPDATE_PARAMS_UI, state, paramsStale ? &extra : nullptr);
    applyChangedParams(state);
    return r;
}

EventResult EffectHost::sendEvent(int index, PF_EventType type, PF_Point mouse, A_long key)
{
    const PF_ParamDef& def = param(index).definition();
    if (!(def.ui_flags & PF_PUI_CONTROL))
        throw HostError(param(index).label() + " has no control area");
    std::unique_ptr<HostWorld> canvas;
    if (type == PF_Event_DRAW)
        canvas = std::make_unique<HostWorld>(def.ui_width, def.ui_height, Depth::Bits8);
    PF_EventExtra extra {type, index, canvas ? &canvas->world() : nullptr, mouse, key, PF_EO_NONE};
    CommandState state(PF_Cmd_EVENT);
    EventResult result;
    result.command = invoke(PF_Cmd_EVENT, state, &extra);
    result.outFlags = extra.evt_out_flags;
    if (canvas)
        result.canvas = canvas->read();
    return result;
}

DialogResult EffectHost::about()
{
    services_->dialog.reset();
    services_->window.native_window = properties_.mainWindow;
    CommandState state(PF_Cmd_ABOUT);
    CommandResult r = invoke(PF_Cmd_ABOUT, state, nullptr);
    DialogResult result = services_->dialog.value_or(DialogResult {});
    services_->dialog.reset();
    result.command = r;
    return result;
}

}  // namespace Quarn::Host
