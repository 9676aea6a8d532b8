// Applies NAME=VALUE settings and presets to a loaded effect as a user's
// changes in the host: the value is checked against the control (number,
// popup entry, colour, on/off), handed over in the host's own units, and a
// supervised control then gets the plug-in's user-changed-param command.
#pragma once

#include "qrEffectHost.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Cli {

struct MotionControl;

class ParamAssigner {
public:
    // Registers the internal keys as names on `host`.
    explicit ParamAssigner(Host::EffectHost& host);

    // The host index that NAME stands for: an internal key, a label that
    // occurs once, or "Group/Label", in any case where only one control
    // answers to it. Throws a usage CliError otherwise, suggesting the
    // nearest name.
    int resolve(std::string_view name) const;

    // Applies "NAME=VALUE". Popup entries and check box values match
    // ignoring case. Returns a warning, naming the value used, when the
    // value was clamped to the control's valid range.
    std::optional<std::string> assign(std::string_view assignment);
    std::optional<std::string> assign(std::string_view name, std::string_view value);
    // Chooses a "Presets" entry (ignoring case), as a user picking it from
    // the popup.
    void applyPreset(std::string_view entry);

private:
    // The text handed to the host, and the valid range when the value
    // had to be clamped into it.
    struct HostValue {
        std::string text;
        std::string range = {};
    };
    std::optional<std::string> assignMotion(const MotionControl& control, std::string_view value);
    HostValue hostValue(int index, std::string_view value) const;
    HostValue numberValue(const Host::HostParam& param, std::string_view value) const;
    std::vector<std::string> names() const;
    std::string suggestion(std::string_view name) const;
    std::optional<std::string> clampWarning(int index, std::string_view value, const HostValue& hosted) const;

    Host::EffectHost& host_;
};

}  // namespace Quarn::Cli
