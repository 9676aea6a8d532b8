// What the host keeps for the length of one command: the parameter array it
// passed, the worlds it lent, and the smart-render checkouts.
#pragma once

#include "qrEffectHost.h"
#include "qrHostImage.h"
#include "qrHostWorld.h"

#include <AE_Effect.h>

#include <map>
#include <memory>
#include <vector>

namespace Quarn::Host {

struct CommandState {
    explicit CommandState(PF_Cmd command, Depth layerDepth = Depth::Bits8) : cmd(command), depth(layerDepth)
    {
    }

    PF_Cmd cmd;
    Depth depth;  // depth of the layer worlds lent now
    std::vector<PF_ParamDef> defs;  // params[] as passed
    std::vector<PF_ParamDef*> pointers;
    HostWorld* input = nullptr;  // render commands
    HostWorld* output = nullptr;
    // Layer worlds lent through checkout_param, by their pixel address (a
    // layer checked out twice is lent its one world twice).
    std::multimap<const void*, std::shared_ptr<HostWorld>> layerWorlds;
    // Filled by the pre-render, read by the smart render of the same frame.
    std::map<A_long, SmartCheckout>* smartCheckouts = nullptr;
    // Layer pixels lent in a smart render, by checkout id (null: no image).
    std::map<A_long, std::shared_ptr<HostWorld>> smartPixels;
    bool cancelled = false;
    bool withoutParams = false;  // the plug-in gets a null parameter list
    const EffectHost::CommandEntry* entry = nullptr;  // in place of the plug-in's
};

}  // namespace Quarn::Host
