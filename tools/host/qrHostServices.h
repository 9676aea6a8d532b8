// Bookkeeping of the services the host lends across commands: held suites,
// worlds made through the world suite, AEGP objects, the main window and the
// last modal dialog shown in it.
#pragma once

#include "qrEffectHost.h"
#include "qrHostWorld.h"

#include <AEGP_Suites.h>
#include <AE_EffectUI.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

// The AEGP handles are opaque to the plug-in; the host gives them a body.
struct AEGP_Layer {
    Quarn::Host::EffectHost* host;
};
struct AEGP_Comp {
    Quarn::Host::EffectHost* host;
};
struct AEGP_Item {
    Quarn::Host::EffectHost* host;
};
struct AEGP_Effect {
    Quarn::Host::EffectHost* host;
};
struct AEGP_Stream {
    Quarn::Host::EffectHost* host;
    int index;
};

namespace Quarn::Host {

struct HostServices {
    explicit HostServices(EffectHost* host) : layer {host}, comp {host}, item {host} { }

    std::map<std::string, int, std::less<>> suitesHeld;
    std::map<const void*, std::unique_ptr<HostWorld>> pluginWorlds;
    AEGP_Layer layer;
    AEGP_Comp comp;
    AEGP_Item item;
    std::map<const AEGP_Effect*, std::unique_ptr<AEGP_Effect>> effects;
    std::map<const AEGP_Stream*, std::unique_ptr<AEGP_Stream>> streams;
    int streamValues = 0;
    PF_HostWindow window {};
    std::optional<DialogResult> dialog;
};

}  // namespace Quarn::Host
