// Rendering a frame: classic (PF_Cmd_RENDER) or smart (pre-render, then
// smart render), into worlds the host allocates with padded rows.
#include "qrEffectHost.h"

#include "qrCommandState.h"
#include "qrHostCallbacks.h"
#include "qrHostError.h"

namespace Quarn::Host {

RenderResult EffectHost::render(Depth depth, RenderMode mode)
{
    if (!params_[0]->layer())
        throw HostError("no source image to render");
    return mode == RenderMode::Classic ? renderClassic(depth) : renderSmart(depth);
}

HostWorld EffectHost::outputWorld(Depth depth)
{
    const HostImage& source = *params_[0]->layer();
    const PF_Rect extent = makeInData().extent_hint;
    // Only a plug-in asked for the whole frame writes the whole frame.
    const bool whole = extent.left <= 0 && extent.top <= 0 && extent.right >= source.width() &&
        extent.bottom >= source.height();
    HostWorld output(source.width(), source.height(), depth, memory_,
        properties_.clearOutput || !whole ? HostWorld::Start::Black : HostWorld::Start::Undefined);
    output.world().extent_hint = extent;
    return output;
}

RenderResult EffectHost::renderClassic(Depth depth)
{
    if (depth == Depth::Float)
        throw HostError("a classic render has no float worlds");
    const std::shared_ptr<HostWorld> input = layerWorld(0, depth);
    HostWorld output = outputWorld(depth);

    CommandState state(PF_Cmd_RENDER, depth);
    state.input = input.get();
    state.output = &output;
    RenderResult result;
    result.command = invoke(PF_Cmd_RENDER, state, nullptr);
    result.paddingIntact = output.paddingIntact() && input->paddingIntact();
    result.image = output.release();
    return result;
}

RenderResult EffectHost::renderSmart(Depth depth)
{
    const HostImage& source = *params_[0]->layer();
    std::map<A_long, SmartCheckout> checkouts;
    const PF_RenderRequest request {{0, 0, source.width(), source.height()}, false};

    PF_PreRenderInput preInput {request, bitDepth(depth)};
    PF_PreRenderOutput preOutput {};
    PF_PreRenderExtra preExtra {&preInput, &preOutput, HostCallbacks::preRender()};
    CommandState pre(PF_Cmd_SMART_PRE_RENDER, depth);
    pre.smartCheckouts = &checkouts;
    RenderResult result;
    result.command = invoke(PF_Cmd_SMART_PRE_RENDER, pre, &preExtra);
    result.resultRect = preOutput.result_rect;
    result.maxResultRect = preOutput.max_result_rect;
    for (const auto& [id, checkout] : checkouts)
        result.layerCheckouts.push_back(checkout);

    if (result.command.ok()) {
        HostWorld output = outputWorld(depth);
        PF_SmartRenderInput input {request, bitDepth(depth), preOutput.pre_render_data};
        PF_SmartRenderExtra extra {&input, HostCallbacks::smartRender()};
        CommandState state(PF_Cmd_SMART_RENDER, depth);
        state.output = &output;
        state.smartCheckouts = &checkouts;
        result.command = invoke(PF_Cmd_SMART_RENDER, state, &extra);
        result.paddingIntact = output.paddingIntact();
        result.image = output.release();
    }
    if (preOutput.delete_pre_render_data_func && preOutput.pre_render_data)
        preOutput.delete_pre_render_data_func(preOutput.pre_render_data);
    return result;
}

}  // namespace Quarn::Host
