#include "qrEffectHost.h"

#include "qrCommandState.h"
#include "qrHostCallbacks.h"
#include "qrHostError.h"
#include "qrHostServices.h"

#include <cstring>

namespace Quarn::Host {

namespace {

// Index 0: the layer the effect is applied to, which the host declares.
PF_ParamDef inputLayerDefinition()
{
    PF_ParamDef def {};
    def.param_type = PF_Param_LAYER;
    std::strcpy(def.name, "Source");
    def.u.ld.dephault = PF_LayerDefault_MYSELF;
    return def;
}

}  // namespace

EffectHost::EffectHost(const std::string& pluginPath)
    : library_(pluginPath), services_(std::make_unique<HostServices>(this))
{
    params_.push_back(std::make_unique<HostParam>(0, inputLayerDefinition()));
    services_->window = PF_HostWindow {this, HostCallbacks::showModal, nullptr};
}

EffectHost::~EffectHost()
{
    try {
        stop();
    } catch (...) {
        // A destructor cannot report; the plug-in's set-down errors are lost.
    }
}

double EffectHost::seconds(A_long time, A_u_long scale) const
{
    return scale ? double(time) / scale : 0.0;
}

double EffectHost::currentSeconds() const
{
    return seconds(properties_.currentTime, properties_.timeScale);
}

PF_InData EffectHost::makeInData()
{
    PF_InData in {};
    in.inter = HostCallbacks::interact();
    in.utils = HostCallbacks::utils();
    in.effect_ref = this;
    in.version = properties_.apiVersion;
    in.appl_id = properties_.applId;
    in.num_params = paramCount();
    in.current_time = properties_.currentTime;
    in.time_step = properties_.timeStep;
    in.local_time_step = properties_.localTimeStep;
    in.total_time = properties_.totalTime;
    in.time_scale = properties_.timeScale;
    const auto& source = params_[0]->layer();
    in.width = source ? source->width() : 0;
    in.height = source ? source->height() : 0;
    in.extent_hint = properties_.outputExtent.value_or(PF_Rect {0, 0, in.width, in.height});
    in.output_origin_x = properties_.outputOrigin.h;
    in.output_origin_y = properties_.outputOrigin.v;
    in.downsample_x = properties_.downsampleX;
    in.downsample_y = properties_.downsampleY;
    in.pixel_aspect_ratio = properties_.pixelAspectRatio;
    in.global_data = global_;
    in.sequence_data = sequence_;
    in.pica_basicP = HostCallbacks::basicSuite();
    return in;
}

void EffectHost::buildParamArray(CommandState& state)
{
    const double now = currentSeconds();
    state.defs.clear();
    for (const auto& p : params_)
        state.defs.push_back(p->at(now));
    // Layers other than the input reach the plug-in only through checkout.
    if (state.input) {
        const A_long dephault = state.defs[0].u.ld.dephault;
        state.defs[0].u.ld = state.input->world();
        state.defs[0].u.ld.dephault = dephault;
    }
    state.pointers.clear();
    for (PF_ParamDef& d : state.defs)
        state.pointers.push_back(&d);
}

CommandResult EffectHost::invoke(PF_Cmd cmd, CommandState& state, void* extra)
{
    buildParamArray(state);
    PF_InData in = makeInData();
    PF_OutData out {};
    out.global_data = global_;
    out.sequence_data = sequence_;
    out.num_params = in.num_params;

    CommandState* outer = state_;
    state_ = &state;
    PF_Err err;
    {
        HostCallbacks::Scope scope(this);
        PF_ParamDef** params = state.withoutParams ? nullptr : state.pointers.data();
        err = state.entry ? (*state.entry)(&in, &out, params)
                          : library_.entry()(cmd, &in, &out, params,
                                state.output ? &state.output->world() : nullptr, extra);
    }
    state_ = outer;
    counters_.leakedCheckouts += static_cast<int>(state.layerWorlds.size() + state.smartPixels.size());

    global_ = out.global_data;
    sequence_ = out.sequence_data;
    if (cmd == PF_Cmd_GLOBAL_SETUP) {
        myVersion_ = out.my_version;
        outFlags_ = out.out_flags;
        outFlags2_ = out.out_flags2;
    }
    if (cmd == PF_Cmd_PARAMS_SETUP)
        declaredParams_ = out.num_params;

    CommandResult result;
    result.error = err;
    result.message.assign(out.return_msg, strnlen(out.return_msg, sizeof out.return_msg));
    result.displayMessage = (out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) != 0;
    return result;
}

CommandResult EffectHost::command(PF_Cmd cmd)
{
    CommandState state(cmd);
    return invoke(cmd, state, nullptr);
}

CommandResult EffectHost::commandWithoutParams(PF_Cmd cmd)
{
    CommandState state(cmd);
    state.withoutParams = true;
    return invoke(cmd, state, nullptr);
}

CommandResult EffectHost::commandThrough(PF_Cmd cmd, const CommandEntry& entry)
{
    CommandState state(cmd);
    state.entry = &entry;
    return invoke(cmd, state, nullptr);
}

CommandResult EffectHost::globalSetup()
{
    CommandResult r = command(PF_Cmd_GLOBAL_SETUP);
    globalUp_ = r.ok();
    return r;
}

CommandResult EffectHost::globalSetdown()
{
    CommandResult r = command(PF_Cmd_GLOBAL_SETDOWN);
    globalUp_ = false;
    global_ = nullptr;
    return r;
}

CommandResult EffectHost::paramsSetup()
{
    if (paramCount() != 1)
        throw HostError("parameters are already declared");
    CommandResult r = command(PF_Cmd_PARAMS_SETUP);
    assignGroups();
    return r;
}

CommandResult EffectHost::sequenceCommand(PF_Cmd cmd)
{
    CommandResult r = command(cmd);
    if (cmd == PF_Cmd_SEQUENCE_SETUP || cmd == PF_Cmd_SEQUENCE_RESETUP)
        sequenceUp_ = r.ok();
    return r;
}

CommandResult EffectHost::sequenceSetup()
{
    return sequenceCommand(PF_Cmd_SEQUENCE_SETUP);
}
CommandResult EffectHost::sequenceResetup()
{
    return sequenceCommand(PF_Cmd_SEQUENCE_RESETUP);
}
CommandResult EffectHost::sequenceFlatten()
{
    return sequenceCommand(PF_Cmd_SEQUENCE_FLATTEN);
}

CommandResult EffectHost::sequenceSetdown()
{
    CommandResult r = command(PF_Cmd_SEQUENCE_SETDOWN);
    sequenceUp_ = false;
    sequence_ = nullptr;
    return r;
}

bool EffectHost::reloadSequenceData()
{
    if (!sequence_)
        return false;
    PF_Handle reloaded = handles_.allocateCopy(handles_.bytes(sequence_));
    if (!reloaded)
        return false;
    handles_.dispose(sequence_);
    sequence_ = reloaded;
    return true;
}

CommandResult EffectHost::start()
{
    for (auto step : {&EffectHost::globalSetup, &EffectHost::paramsSetup, &EffectHost::sequenceSetup}) {
        CommandResult r = (this->*step)();
        if (!r.ok())
            return r;
    }
    return {};
}

CommandResult EffectHost::stop()
{
    CommandResult first;
    if (sequenceUp_)
        first = sequenceSetdown();
    if (globalUp_) {
        CommandResult r = globalSetdown();
        if (first.ok())
            first = r;
    }
    return first;
}

HostCounters EffectHost::counters() const
{
    HostCounters c = counters_;
    for (const auto& [name, count] : services_->suitesHeld)
        c.suitesHeld += count;
    c.worldsHeld = static_cast<int>(services_->pluginWorlds.size());
    c.aegpHeld =
        static_cast<int>(services_->effects.size() + services_->streams.size()) + services_->streamValues;
    return c;
}

}  // namespace Quarn::Host
