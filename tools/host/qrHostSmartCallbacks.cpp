// Smart-render callbacks: layer checkouts in the pre-render, their pixels and
// the output world in the smart render.
#include "qrHostCallbacks.h"

#include "qrCommandState.h"

#include <algorithm>

namespace Quarn::Host {

namespace {

PF_LRect intersect(const PF_LRect& a, const PF_LRect& b)
{
    PF_LRect r {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom)
        return {0, 0, 0, 0};
    return r;
}

}  // namespace

PF_PreRenderCallbacks* HostCallbacks::preRender()
{
    static PF_PreRenderCallbacks table {checkoutLayer};
    return &table;
}

PF_SmartRenderCallbacks* HostCallbacks::smartRender()
{
    static PF_SmartRenderCallbacks table {
        checkoutLayerPixels, checkinLayerPixels, checkoutOutput, isLayerConnected};
    return &table;
}

PF_Err HostCallbacks::checkoutLayer(PF_ProgPtr ref, PF_ParamIndex index, A_long id,
    const PF_RenderRequest* req, A_long time, A_long, A_u_long scale, PF_CheckoutResult* result)
{
    EffectHost* host = hostOf(ref);
    if (!host || !req || !result || scale == 0)
        return HostSuites::bad(host);
    CommandState& s = state(*host);
    if (s.cmd != PF_Cmd_SMART_PRE_RENDER || !s.smartCheckouts || index < 0 || index >= host->paramCount() ||
        host->param(index).type() != PF_Param_LAYER || s.smartCheckouts->count(id))
        return HostSuites::bad(host);
    (*s.smartCheckouts)[id] = SmartCheckout {id, index, host->seconds(time, scale), req->rect};
    *result = PF_CheckoutResult {};
    result->par = host->properties_.pixelAspectRatio;
    if (const auto& image = host->param(index).layer()) {
        const PF_LRect bounds {0, 0, image->width(), image->height()};
        result->result_rect = intersect(req->rect, bounds);
        result->max_result_rect = bounds;
        result->ref_width = image->width();
        result->ref_height = image->height();
    }
    return PF_Err_NONE;
}

PF_Err HostCallbacks::checkoutLayerPixels(PF_ProgPtr ref, A_long id, PF_EffectWorld** pixels)
{
    EffectHost* host = hostOf(ref);
    if (!host || !pixels)
        return HostSuites::bad(host);
    CommandState& s = state(*host);
    if (s.cmd != PF_Cmd_SMART_RENDER || !s.smartCheckouts)
        return HostSuites::bad(host);
    auto checkout = s.smartCheckouts->find(id);
    if (checkout == s.smartCheckouts->end())
        return HostSuites::bad(host);
    auto lent = s.smartPixels.find(id);
    if (lent == s.smartPixels.end()) {
        try {
            lent = s.smartPixels.emplace(id, host->layerWorld(checkout->second.index, s.depth)).first;
        } catch (...) {
            return PF_Err_OUT_OF_MEMORY;
        }
        ++host->counters_.paramCheckouts;
    }
    *pixels = lent->second ? &lent->second->world() : nullptr;
    return PF_Err_NONE;
}

PF_Err HostCallbacks::checkinLayerPixels(PF_ProgPtr ref, A_long id)
{
    EffectHost* host = hostOf(ref);
    if (!host)
        return HostSuites::bad(host);
    if (state(*host).smartPixels.erase(id) == 0)
        return HostSuites::bad(host);
    ++host->counters_.paramCheckins;
    return PF_Err_NONE;
}

PF_Err HostCallbacks::checkoutOutput(PF_ProgPtr ref, PF_EffectWorld** output)
{
    EffectHost* host = hostOf(ref);
    if (!host || !output || !state(*host).output)
        return HostSuites::bad(host);
    *output = &state(*host).output->world();
    return PF_Err_NONE;
}

PF_Err HostCallbacks::isLayerConnected(PF_ProgPtr ref, A_long id, PF_Boolean* connected)
{
    EffectHost* host = hostOf(ref);
    if (!host || !connected)
        return HostSuites::bad(host);
    const CommandState& s = state(*host);
    if (!s.smartCheckouts)
        return HostSuites::bad(host);
    auto checkout = s.smartCheckouts->find(id);
    if (checkout == s.smartCheckouts->end())
        return HostSuites::bad(host);
    *connected = host->param(checkout->second.index).layer().has_value();
    return PF_Err_NONE;
}

}  // namespace Quarn::Host
