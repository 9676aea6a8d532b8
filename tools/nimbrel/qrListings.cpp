#include "qrListings.h"

#include "qrCliError.h"
#include "qrImageFile.h"
#include "qrMotionControls.h"
#include "qrParamAssigner.h"
#include "qrParamKeys.h"
#include "qrParamText.h"
#include "qrPluginLocator.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace Quarn::Cli {

namespace {

std::unique_ptr<Host::EffectHost> startedHost()
{
    auto host = std::make_unique<Host::EffectHost>(locatePlugin());
    const Host::CommandResult started = host->start();
    if (!started.ok())
        throw CliError(kExitRenderFailed,
            "the plug-in failed to start: error " + std::to_string(started.error) + " " + started.message);
    return host;
}

std::string fixed(PF_Fixed value)
{
    char text[32];
    // Ranges are declared in hundredths; the fixed point only approximates them.
    std::snprintf(text, sizeof text, "%g", std::round(value / 65536.0 * 100.0) / 100.0);
    return text;
}

// Slider and valid ranges, units and choices: what the host's control offers.
std::string rangeText(const Host::HostParam& p)
{
    const PF_ParamDefUnion& u = p.definition().u;
    switch (p.type()) {
    case PF_Param_SLIDER:
        return "slider " + std::to_string(u.sd.slider_min) + ".." + std::to_string(u.sd.slider_max) +
            ", valid " + std::to_string(u.sd.valid_min) + ".." + std::to_string(u.sd.valid_max);
    case PF_Param_FIX_SLIDER: {
        const std::string unit = (u.fs_d.display_flags & PF_ValueDisplayFlag_PERCENT) ? " %" : "";
        return "slider " + fixed(u.fs_d.slider_min) + ".." + fixed(u.fs_d.slider_max) + ", valid " +
            fixed(u.fs_d.valid_min) + ".." + fixed(u.fs_d.valid_max) + unit;
    }
    case PF_Param_ANGLE: return "degrees";
    case PF_Param_CHECKBOX: return "on|off  \"" + p.checkBoxText() + "\"";
    case PF_Param_COLOR: return "#RRGGBB or #RRGGBBAA";
    case PF_Param_POPUP: {
        std::string list;
        for (const std::string& c : p.choices())
            list += (list.empty() ? "" : "|") + c;
        return list;
    }
    }
    return "";
}

std::string paramLabel(const Host::HostParam& p)
{
    if (p.index() == 0)
        return "(input layer)";
    if (p.type() == PF_Param_GROUP_END)
        return "(end of " + p.group() + ")";
    return p.path();
}

}  // namespace

// The controls as a host shows them: a host that draws its controls first
// sends the parameter-UI command, to which the plug-in answers by greying
// out what the other settings make idle.
std::string listParams()
{
    auto host = startedHost();
    if (const Host::CommandResult shown = host->updateParamsUI(); !shown.ok())
        throw CliError(kExitRenderFailed, "the plug-in failed to update its controls: error " +
                std::to_string(shown.error) + " " + shown.message);
    const double now = host->currentSeconds();
    std::string out;
    char line[640];
    std::snprintf(line, sizeof line, "%-5s %-36s %-22s %-12s %-25s %s\n", "index", "label", "key", "type",
        "value", "range");
    out += line;
    for (int i = 0; i < host->paramCount(); ++i) {
        const Host::HostParam& p = host->param(i);
        const bool shown = p.holdsValue() || p.type() == PF_Param_LAYER;
        const std::string value = shown ? Host::formatValue(p, now) : "";
        std::snprintf(line, sizeof line, "%5d %-36s %-22s %-12s %-25s %s%s\n", i, paramLabel(p).c_str(),
            std::string(keyOfIndex(i)).c_str(), Host::paramTypeName(p.type()), value.c_str(),
            rangeText(p).c_str(), (p.definition().ui_flags & PF_PUI_DISABLED) ? "  (greyed out)" : "");
        out += line;
    }
    return out + listMotionControls(host->rainMotion());
}

// Each preset is chosen in a fresh instance, as a user would pick it, and
// the rain controls are read back from the host afterwards.
std::string listPresets()
{
    auto probe = startedHost();
    const std::vector<std::string> entries = probe->param(kPresetsIndex).choices();
    probe.reset();
    static const char* const shownKeys[] = {"density", "dropLength", "minThresh", "maxThresh"};
    std::string out;
    for (std::size_t e = 1; e < entries.size(); ++e) {
        auto host = startedHost();
        ParamAssigner assigner(*host);
        assigner.applyPreset(entries[e]);
        out += entries[e] + ":";
        for (const char* key : shownKeys) {
            const Host::HostParam& p = host->param(assigner.resolve(key));
            out += "  " + p.label() + " " + Host::formatValue(p, host->currentSeconds());
        }
        out += "\n";
    }
    return out;
}

std::string listPiPL()
{
    auto host = std::make_unique<Host::EffectHost>(locatePlugin());
    return host->pipl().describe();
}

void writeAbout(const std::string& path)
{
    prepareOutput(path);
    auto host = startedHost();
    const Host::DialogResult about = host->about();
    if (!about.command.ok() || !about.shown || about.content.empty())
        throw CliError(kExitRenderFailed,
            path + ": the plug-in showed no about box (error " + std::to_string(about.command.error) + ")");
    writeImage(about.content, path);
}

}  // namespace Quarn::Cli
