#include "qrMotionControls.h"

#include "qrCliError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace Quarn::Cli {

namespace {

using Kind = MotionControl::Kind;
using M = NimbrelRainMotion;

std::string quoted(std::string_view text)
{
    // Appended, not a literal plus a string: GCC 12 warns falsely (-Wrestrict)
    // on the latter in optimised builds.
    std::string out(1, '"');
    out.append(text).push_back('"');
    return out;
}

std::string shortNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Percent controls hold fractions in the suite.
double shown(const MotionControl& c, double value)
{
    return c.kind == Kind::percent ? value * 100.0 : value;
}

std::optional<double> userNumber(const MotionControl& c, std::string_view text)
{
    if (c.kind == Kind::onOff) {
        if (text == "on" || text == "off")
            return text == "on" ? 1.0 : 0.0;
        return std::nullopt;
    }
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    if (c.kind == Kind::integer && value != std::floor(value))
        return std::nullopt;
    return value;
}

std::string expected(const MotionControl& c)
{
    switch (c.kind) {
    case Kind::onOff: return "use on or off";
    case Kind::integer: return "expected an integer";
    default: return "expected a number";
    }
}

std::string rangeText(const MotionControl& c)
{
    if (c.kind == Kind::onOff)
        return "on|off";
    return std::string(c.unit) + ", " + shortNumber(c.minimum) + ".." + shortNumber(c.maximum);
}

}  // namespace

const std::vector<MotionControl>& motionControls()
{
    static const std::vector<MotionControl> controls = {
        {"fallSpeed", "Fall Speed", "pixels per frame", Kind::number, 0.0, 2000.0,
            [](const M& m) { return m.fall_speed; }, [](M& m, double v) { m.fall_speed = v; }},
        {"windVariation", "Wind Variation", "degrees", Kind::number, 0.0, 180.0,
            [](const M& m) { return m.wind_variation; }, [](M& m, double v) { m.wind_variation = v; }},
        {"gustRate", "Gust Rate", "gusts per 100 frames", Kind::number, 0.0, 250.0,
            [](const M& m) { return m.gust_rate; }, [](M& m, double v) { m.gust_rate = v; }},
        {"depthLayers", "Depth Layers", "layers", Kind::integer, 1.0, 4.0,
            [](const M& m) { return double(m.depth_layers); },
            [](M& m, double v) { m.depth_layers = A_long(v); }},
        {"depthFalloff", "Depth Falloff", "%", Kind::percent, 0.0, 100.0,
            [](const M& m) { return m.depth_falloff; }, [](M& m, double v) { m.depth_falloff = v; }},
        {"streakFromSpeed", "Streak From Speed", "", Kind::onOff, 0.0, 1.0,
            [](const M& m) { return double(m.streak_from_speed); },
            [](M& m, double v) { m.streak_from_speed = A_long(v); }},
    };
    return controls;
}

const MotionControl* findMotionControl(std::string_view name)
{
    const std::string group = std::string(kMotionGroup) + "/";
    if (name.starts_with(group))
        name.remove_prefix(group.size());
    for (const MotionControl& c : motionControls())
        if (name == c.key || name == c.label)
            return &c;
    return nullptr;
}

std::optional<std::string> setMotionControl(
    NimbrelRainMotion& motion, const MotionControl& control, std::string_view text)
{
    const std::optional<double> asked = userNumber(control, text);
    if (!asked)
        throw usageError(
            quoted(control.label) + ": " + quoted(text) + " is not a value; " + expected(control));
    const double kept = std::clamp(*asked, control.minimum, control.maximum);
    control.set(motion, control.kind == Kind::percent ? kept / 100.0 : kept);
    if (kept == *asked)
        return std::nullopt;
    return quoted(control.label) + ": " + std::string(text) + " is out of range; clamped to " +
        shortNumber(kept);
}

std::string motionValueText(const NimbrelRainMotion& motion, const MotionControl& control)
{
    const double value = control.get(motion);
    if (control.kind == Kind::onOff)
        return value != 0.0 ? "on" : "off";
    return shortNumber(shown(control, value));
}

std::string listMotionControls(const NimbrelRainMotion& motion)
{
    std::string out = "\n" + std::string(kMotionGroup) +
        ": provided by the nimbrel host, not controls of the plug-in (other hosts render the rain "
        "without motion)\n";
    char line[320];
    for (const MotionControl& c : motionControls()) {
        const std::string label = std::string(kMotionGroup) + "/" + std::string(c.label);
        std::snprintf(line, sizeof line, "%5s %-36s %-22s %-12s %-25s %s\n", "-", label.c_str(),
            std::string(c.key).c_str(), "motion", motionValueText(motion, c).c_str(), rangeText(c).c_str());
        out += line;
    }
    return out;
}

}  // namespace Quarn::Cli
