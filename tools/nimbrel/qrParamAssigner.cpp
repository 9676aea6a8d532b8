#include "qrParamAssigner.h"

#include "qrCliError.h"
#include "qrHostError.h"
#include "qrMotionControls.h"
#include "qrNearestName.h"
#include "qrParamKeys.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Quarn::Cli {

namespace {

// Strings here are built by appending: GCC 12 warns (-Wrestrict, wrongly)
// on "literal" + std::string once that is inlined.
std::string quoted(std::string_view text)
{
    std::string out(1, '"');
    out += text;
    out += '"';
    return out;
}

// A number as typed. Beyond what a double holds it is infinite (and then
// clamped like any value past the range); below, it is zero, which is what
// any control stores for it. Not-a-number is no value.
std::optional<double> parseNumber(std::string_view text)
{
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size() || text.empty())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        value = std::strtod(std::string(text).c_str(), nullptr);
    else if (ec != std::errc())
        return std::nullopt;
    if (std::isnan(value))
        return std::nullopt;
    return std::fpclassify(value) == FP_SUBNORMAL ? 0.0 : value;
}

// The values a numeric control accepts, in the user's units: its declared
// valid range, or for a free angle the whole degrees the host's 16.16
// fixed point holds.
struct Range {
    double low;
    double high;
};

Range validRange(const Host::HostParam& param)
{
    const PF_ParamDefUnion& u = param.definition().u;
    constexpr double kFixedLow = -32768.0;
    constexpr double kFixedHigh = 32767.0;
    switch (param.type()) {
    case PF_Param_SLIDER:
        if (u.sd.valid_min <= u.sd.valid_max)
            return {double(u.sd.valid_min), double(u.sd.valid_max)};
        return {double(INT_MIN), double(INT_MAX)};
    case PF_Param_FIX_SLIDER:
        if (u.fs_d.valid_min <= u.fs_d.valid_max)
            return {u.fs_d.valid_min / 65536.0, u.fs_d.valid_max / 65536.0};
        break;
    case PF_Param_ANGLE:
        if (u.ad.valid_min < u.ad.valid_max)
            return {u.ad.valid_min / 65536.0, u.ad.valid_max / 65536.0};
        break;
    }
    return {kFixedLow, kFixedHigh};
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

// A value handed to the host exactly: %.17g reads back as the same double.
std::string exactText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// What a control is called in messages: its label, or the text beside a
// check box that has none.
std::string displayName(const Host::HostParam& param)
{
    return param.label().empty() ? param.checkBoxText() : param.label();
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
    // A name that differs only in case stands for the one control it can.
    std::vector<int> matches;
    for (const std::string& known : names()) {
        const int candidate = host_.findParam(known);
        if (equalIgnoringCase(known, name) && std::find(matches.begin(), matches.end(), candidate) == matches.end())
            matches.push_back(candidate);
    }
    if (matches.size() == 1)
        return matches.front();
    std::string groups;
    for (int i = 1; i < host_.paramCount(); ++i)
        if (host_.param(i).label() == name && host_.param(i).holdsValue())
            groups +=
                (groups.empty() ? "" : " or ") + quoted(host_.param(i).group() + "/" + std::string(name));
    if (!groups.empty())
        throw usageError("parameter " + quoted(name) + " is in more than one group; use " + groups);
    throw usageError("unknown parameter " + quoted(name) + suggestion(name));
}

// Every name a control answers to: its key, and its label where that
// occurs once or else "Group/Label".
std::vector<std::string> ParamAssigner::names() const
{
    std::vector<std::string> all;
    for (const ParamKey& k : paramKeys())
        all.emplace_back(k.key);
    for (int i = 1; i < host_.paramCount(); ++i) {
        const Host::HostParam& p = host_.param(i);
        if (p.holdsValue() && !p.label().empty())
            all.push_back(host_.findParam(p.label()) == i ? p.label() : p.group() + "/" + p.label());
    }
    return all;
}

// The nearest key or label when the name looks like a slip, and where to
// find every name.
std::string ParamAssigner::suggestion(std::string_view name) const
{
    const std::string list = "\"nimbrel params\" lists every name";
    std::vector<std::string> candidates = names();
    for (const MotionControl& c : motionControls()) {
        candidates.emplace_back(c.key);
        candidates.emplace_back(c.label);
    }
    const auto nearest = nearestName(name, candidates);
    if (!nearest)
        return "; " + list + ".";
    const bool isKey = nearest->find_first_of(" /") == std::string::npos;
    return "; did you mean " + (isKey ? *nearest : quoted(*nearest)) + "? (" + list + ")";
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
    const HostValue hosted = hostValue(index, value);
    // Every control that holds a value has a key; it is the unambiguous name.
    const std::string_view key = keyOfIndex(index);
    const Host::CommandResult result = host_.changeParam(key.empty() ? name : key, hosted.text);
    if (!result.ok())
        throw CliError(kExitRenderFailed,
            "setting " + quoted(name) + " failed: the plug-in returned error " +
                std::to_string(result.error) + " " + quoted(result.message));
    return clampWarning(index, value, hosted);
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
    // The first entry ("...") stands for no preset; it is not one to choose.
    const std::vector<std::string> offered(presets.choices().begin() + 1, presets.choices().end());
    for (const std::string& choice : offered)
        if (equalIgnoringCase(choice, entry)) {
            assign(keyOfIndex(kPresetsIndex), choice);
            return;
        }
    std::string list;
    for (const std::string& choice : offered)
        list += (list.empty() ? "" : ", ") + quoted(choice);
    throw usageError("unknown preset " + quoted(entry) + ". Valid presets: " + list);
}

ParamAssigner::HostValue ParamAssigner::hostValue(int index, std::string_view value) const
{
    const Host::HostParam& p = host_.param(index);
    const std::string where = quoted(displayName(p)) + ": ";
    switch (p.type()) {
    case PF_Param_POPUP:
        // Exactly as listed first, then ignoring case.
        for (bool exact : {true, false})
            for (const std::string& choice : p.choices())
                if (exact ? choice == value : equalIgnoringCase(choice, value))
                    return {choice};
        throw usageError(where + "unknown entry " + quoted(value) + ". Valid entries: " + choiceList(p));
    case PF_Param_CHECKBOX:
        for (const char* on : {"on", "yes", "true", "1"})
            if (equalIgnoringCase(value, on))
                return {"on"};
        for (const char* off : {"off", "no", "false", "0"})
            if (equalIgnoringCase(value, off))
                return {"off"};
        throw usageError(where + quoted(value) + " is not a check box value; use on or off");
    case PF_Param_COLOR:
        if (isHexColour(value))
            return {std::string(value)};
        throw usageError(where + quoted(value) + " is not a colour; use #RRGGBB or #RRGGBBAA");
    case PF_Param_SLIDER:
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE: return numberValue(p, value);
    case PF_Param_LAYER: throw usageError(where + "a layer takes an image; use --matte-layer FILE");
    }
    throw usageError(where + "this control holds no value");
}

// Clamped to the valid range here, in floating point, before the host
// turns the value into its integer or fixed-point form, which would wrap
// anything beyond 32 bits.
ParamAssigner::HostValue ParamAssigner::numberValue(const Host::HostParam& p, std::string_view value) const
{
    const std::string where = quoted(displayName(p)) + ": ";
    const auto number = parseNumber(value);
    if (!number)
        throw usageError(where + quoted(value) + " is not a number");
    if (p.type() == PF_Param_SLIDER && *number != std::floor(*number))
        throw usageError(where + quoted(value) + " is not an integer");
    const Range range = validRange(p);
    const double used = std::clamp(*number, range.low, range.high);
    HostValue hosted {exactText(used)};
    if (used != *number)
        hosted.range = formatNumber(range.low) + " to " + formatNumber(range.high);
    return hosted;
}

std::optional<std::string> ParamAssigner::clampWarning(
    int index, std::string_view value, const HostValue& hosted) const
{
    const Host::HostParam& p = host_.param(index);
    const PF_ParamType type = p.type();
    if (type != PF_Param_SLIDER && type != PF_Param_FIX_SLIDER && type != PF_Param_ANGLE)
        return {};
    const double kept = p.number(host_.currentSeconds());
    if (hosted.range.empty() && kept == quantized(p, std::strtod(hosted.text.c_str(), nullptr)))
        return {};
    return quoted(displayName(p)) + ": " + std::string(value) + " is out of range" +
        (hosted.range.empty() ? "" : " (" + hosted.range + ")") + "; clamped to " + formatNumber(kept);
}

}  // namespace Quarn::Cli
