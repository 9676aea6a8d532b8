#include "qrAETitleArea.h"

#include "qrAEGlobalData.h"

namespace Quarn::AfterEffects {

PF_Err handleAreaEvent(PF_InData* in, PF_EventExtra* event)
{
    if (!event || event->param_index != kAboutAreaIndex)
        return PF_Err_NONE;
    switch (event->e_type) {
    case PF_Event_DRAW:
        if (event->canvas && event->canvas->data) {
            const PF_EffectWorld& c = *event->canvas;
            GlobalData::drawTitle(in, Platform::DrawSurface(c.data, c.width, c.height, c.rowbytes));
        }
        event->evt_out_flags |= PF_EO_HANDLED_EVENT;
        break;
    case PF_Event_NEW_CONTEXT:
    case PF_Event_DO_CLICK:
    case PF_Event_DRAG:
    case PF_Event_KEYDOWN:
    case PF_Event_CLOSE_CONTEXT:
        // The title has no state and no click behaviour: taking the event
        // keeps the host from acting on it.
        event->evt_out_flags |= PF_EO_HANDLED_EVENT;
        break;
    default: break;
    }
    return PF_Err_NONE;
}

}  // namespace Quarn::AfterEffects
