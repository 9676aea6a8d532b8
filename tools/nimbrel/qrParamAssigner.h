// Applies NAME=VALUE settings and presets to a loaded effect as a user's
// changes in the host: the value is checked against the control (number,
// popup entry, colour, on/off), handed over in the host's own units, and a
// supervised control then gets the plug-in's user-changed-param command.
#pragma once

#include "qrEffectHost.h"

#include <optional>
#include <string>
#include <string_view>

namespace Quarn::Cli {

struct MotionControl;

class ParamAssigner {
public:
    // Registers the internal keys as names on `host`.
    explicit ParamAssigner(Host::EffectHost& host);

    // The host index that NAME stands for: an internal key, a label that
    // occurs once, or "Group/Label". Throws a usage CliError listing the
    // valid names otherwise.
    int resolve(std::string_view name) const;

    // Applies "NAME=VALUE". Returns a warning when the host clamped the value.
    std::optional<std::string> assign(std::string_view assignment);
    std::optional<std::string> assign(std::string_view name, std::string_view value);
    // Chooses a "Presets" entry, as a user picking it from the popup.
    void applyPreset(std::string_view entry);

private:
    std::optional<std::string> assignMotion(const MotionControl& control, std::string_view value);
    std::string hostText(int index, std::string_view value) const;
    std::string validNames() const;
    std::optional<std::string> clampWarning(int index, std::string_view value) const;

    Host::EffectHost& host_;
};

}  // namespace Quarn::Cli
