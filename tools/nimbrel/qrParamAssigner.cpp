#include "qrParamAssigner.h"

#include "qrCliError.h"
#include "qrHostError.h"
#include "qrMotionControls.h"
#include "qrParamKeys.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace Quarn::Cli {

namespace {

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::optional<double> parseNumber(std::string_view text)
{
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isHexColour(std::string_view text)
{
    if (text.size() != 7 && text.size() != 9)
        return false;
    if (text[0] != '#')
        return false;
    for (char c : text.substr(1))
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string formatNumber(double value)
{
    char text[64];
    // Ranges are declared in hundredths; the fixed point only approximates them.
    std::snprintf(text, sizeof text, "%g", std::round(value * 100.0) / 100.0);
    return text;
}

// The value the host stores for `number`, before any clamping: integer
// sliders round, fixed-point values keep 1/65536 steps.
double quantized(const Host::HostParam& param, double number)
{
    if (param.type() == PF_Param_SLIDER)
        return std::round(number);
    return std::round(number * 65536.0) / 65536.0;
}

std::string choiceList(const Host::HostParam& param)
{
    std::string out;
    for (const std::string& choice : param.choices())
        out += (out.empty() ? "" : ", ") + quoted(choice);
    return out;
}

}  // namespace

ParamAssigner::ParamAssigner(Host::EffectHost& host) : host_(host)
{
    for (const ParamKey& k : paramKeys())
        host_.addAlias(std::string(k.key), k.index);
}

int ParamAssigner::resolve(std::string_view name) const
{
    const int index = host_.findParam(name);
    if (index >= 0)
        return index;
    std::string groups;
    for (int i = 1; i < host_.paramCount(); ++i)
        if (host_.param(i).label() == name && host_.param(i).holdsValue())
            groups +=
                (groups.empty() ? "" : " or ") + quoted(host_.param(i).group() + "/" + std::string(name));
    if (!groups.empty())
        throw usageError("parameter " + quoted(name) + " is in more than one group; use " + groups);
    throw usageError("unknown parameter " + quoted(name) + ". " + validNames());
}

std::string ParamAssigner::validNames() const
{
    std::string keys;
    for (const ParamKey& k : paramKeys())
        keys += (keys.empty() ? "" : ", ") + std::string(k.key);
    std::string labels;
    for (int i = 1; i < host_.paramCount(); ++i) {
        const Host::HostParam& p = host_.param(i);
        if (p.holdsValue() && !p.label().empty() && host_.findParam(p.label()) == i)
            labels += (labels.empty() ? "" : ", ") + quoted(p.label());
    }
    std::string motion;
    for (const MotionControl& c : motionControls())
        motion += (motion.empty() ? "" : ", ") + quoted(c.label);
    return "Valid names are the keys " + keys + "; the labels " + labels +
        "; or \"Group/Label\" such as \"Source Crops/X Method\"; and the nimbrel host's motion controls " +
        motion + " (or their keys).";
}

std::optional<std::string> ParamAssigner::assign(std::string_view assignment)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos || equals == 0)
        throw usageError("--set " + quoted(assignment) + ": expected NAME=VALUE");
    return assign(assignment.substr(0, equals), assignment.substr(equals + 1));
}

std::optional<std::string> ParamAssigner::assign(std::string_view name, std::string_view value)
{
    if (const MotionControl* motion = findMotionControl(name))
        return assignMotion(*motion, value);
    const int index = resolve(name);
    const std::string text = hostText(index, value);
    // Every control that holds a value has a key; it is the unambiguous name.
    const std::string_view key = keyOfIndex(index);
    const Host::CommandResult result = host_.changeParam(key.empty() ? name : key, text);
    if (!result.ok())
        throw CliError(kExitRenderFailed,
            "setting " + quoted(name) + " failed: the plug-in returned error " +
                std::to_string(result.error) + " " + quoted(result.message));
    return clampWarning(index, value);
}

// The motion controls are the host's own: no command reaches the plug-in
// until it renders and asks for them.
std::optional<std::string> ParamAssigner::assignMotion(const MotionControl& control, std::string_view value)
{
    NimbrelRainMotion motion = host_.rainMotion();
    std::optional<std::string> warning = setMotionControl(motion, control, value);
    host_.setRainMotion(motion);
    return warning;
}

void ParamAssigner::applyPreset(std::string_view entry)
{
    const Host::HostParam& presets = host_.param(kPresetsIndex);
    for (const std::string& choice : presets.choices())
        if (choice == entry) {
            assign(keyOfIndex(kPresetsIndex), entry);
            return;
        }
    throw usageError("unknown preset " + quoted(entry) + ". Valid presets: " + choiceList(presets));
}

std::string ParamAssigner::hostText(int index, std::string_view value) const
{
    const Host::HostParam& p = host_.param(index);
    const std::string where = quoted(p.label()) + ": ";
    switch (p.type()) {
    case PF_Param_POPUP:
        for (const std::string& choice : p.choices())
            if (choice == value)
                return choice;
        throw usageError(where + "unknown entry " + quoted(value) + ". Valid entries: " + choiceList(p));
    case PF_Param_CHECKBOX:
        if (value == "on" || value == "off")
            return std::string(value);
        throw usageError(where + quoted(value) + " is not a check box value; use on or off");
    case PF_Param_COLOR:
        if (isHexColour(value))
            return std::string(value);
        throw usageError(where + quoted(value) + " is not a colour; use #RRGGBB or #RRGGBBAA");
    case PF_Param_SLIDER: {
        const auto number = parseNumber(value);
        if (number && *number == std::floor(*number))
            return std::string(value);
        throw usageError(where + quoted(value) + " is not an integer");
    }
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE:
        if (parseNumber(value))
            return std::string(value);
        throw usageError(where + quoted(value) + " is not a number");
    case PF_Param_LAYER: throw usageError(where + "a layer takes an image; use --matte-layer FILE");
    }
    throw usageError(where + "this control holds no value");
}

std::optional<std::string> ParamAssigner::clampWarning(int index, std::string_view value) const
{
    const Host::HostParam& p = host_.param(index);
    const PF_ParamType type = p.type();
    if (type != PF_Param_SLIDER && type != PF_Param_FIX_SLIDER && type != PF_Param_ANGLE)
        return {};
    const double asked = quantized(p, *parseNumber(value));
    const double kept = p.number(host_.currentSeconds());
    if (kept == asked)
        return {};
    return quoted(p.label()) + ": " + std::string(value) + " is out of range; clamped to " +
        formatNumber(kept);
}

}  // namespace Quarn::Cli
