#include "qrOfxControls.h"

#include "effect/qrRainKeys.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Quarn::Ofx {

namespace Rain = Wrapper::Rain;

namespace {

using Rain::HostParamType;
using Rain::InternalType;
using Rain::RainHostParam;

// A group's OpenFX name: its label without spaces ("Source Crops" ->
// "SourceCrops").
std::string groupName(const char* label)
{
    std::string name;
    for (const char* c = label; *c; ++c)
        if (*c != ' ')
            name += *c;
    return name;
}

std::vector<std::string> splitChoices(const char* choices)
{
    std::vector<std::string> out;
    std::string_view rest = choices;
    for (;;) {
        const size_t bar = rest.find('|');
        out.emplace_back(rest.substr(0, bar));
        if (bar == std::string_view::npos)
            return out;
        rest = rest.substr(bar + 1);
    }
}

ControlKind kindOf(HostParamType type)
{
    switch (type) {
    case HostParamType::popup: return ControlKind::choice;
    case HostParamType::angle: return ControlKind::angle;
    case HostParamType::intSlider: return ControlKind::integer;
    case HostParamType::checkBox: return ControlKind::boolean;
    case HostParamType::colour: return ControlKind::colour;
    default: return ControlKind::number;
    }
}

Control fromRainRow(const RainHostParam& row, const std::string& parent)
{
    Control c;
    c.name = row.key;
    c.label = row.type == HostParamType::checkBox ? row.checkBoxText : row.label;
    c.kind = kindOf(row.type);
    c.parent = parent;
    c.target = Target::rain;
    c.defaultValue = row.type == HostParamType::popup ? row.popupDefault - 1 : row.defaultValue;
    c.displayMin = row.sliderMin;
    c.displayMax = row.sliderMax;
    c.min = row.validMin;
    c.max = row.validMax;
    c.digits = row.precision;
    c.animates = (row.flags & Rain::kFlagCannotTimeVary) == 0;
    if (row.choices)
        c.options = splitChoices(row.choices);
    c.optionValues = row.popupValues;
    const Rain::HostColour8& colour = row.colourDefault;
    const double rgba[4] = {colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0, colour.alpha / 255.0};
    std::copy(rgba, rgba + 4, c.colourDefault);
    return c;
}

Control group(const char* label)
{
    Control c;
    c.name = groupName(label);
    c.label = label;
    c.kind = ControlKind::group;
    return c;
}

Control motion(const char* name, const char* label, ControlKind kind, double value, double displayMax,
    double max, int digits)
{
    Control c;
    c.name = name;
    c.label = label;
    c.kind = kind;
    c.parent = kMotionGroup;
    c.target = Target::motion;
    c.defaultValue = value;
    c.displayMax = displayMax;
    c.max = max;
    c.min = kind == ControlKind::integer ? 1.0 : 0.0;
    c.displayMin = c.min;
    c.digits = digits;
    return c;
}

// Drop motion and depth, in the units a user thinks in: pixels per frame,
// degrees, gusts per 100 frames, layers, percent.
void addMotionControls(std::vector<Control>& out)
{
    const QrRainMotion d;
    Control g = group("Motion and Depth");
    g.name = kMotionGroup;
    out.push_back(g);
    out.push_back(motion("fallSpeed", "Fall Speed", ControlKind::number, d.fallSpeed, 100, 2000, 1));
    out.push_back(motion("windVariation", "Wind Variation", ControlKind::number, d.windVariation, 90, 180, 1));
    out.push_back(motion("gustRate", "Gust Rate", ControlKind::number, d.gustRate, 25, 250, 1));
    out.push_back(motion("depthLayers", "Depth Layers", ControlKind::integer, d.depthLayers,
        QrRainMotion::kMaxLayers, QrRainMotion::kMaxLayers, 0));
    out.push_back(motion("depthFalloff", "Depth Falloff", ControlKind::number, d.depthFalloff * 100, 100, 100, 1));
    Control streak = motion("streakFromSpeed", "Streak From Speed", ControlKind::boolean, 0, 1, 1, 0);
    out.push_back(streak);
}

std::vector<Control> buildControls()
{
    std::vector<Control> out;
    std::string parent;
    for (const RainHostParam& row : Rain::rainHostParams()) {
        if (row.type == HostParamType::groupStart) {
            out.push_back(group(row.label));
            parent = out.back().name;
        } else if (row.type == HostParamType::groupEnd) {
            parent.clear();
        } else if (Rain::holdsValue(row)) {
            out.push_back(fromRainRow(row, parent));
        }
    }
    addMotionControls(out);
    return out;
}

void setMotionField(QrRainMotion& m, const std::string& name, double v)
{
    if (name == "fallSpeed")
        m.fallSpeed = v;
    else if (name == "windVariation")
        m.windVariation = v;
    else if (name == "gustRate")
        m.gustRate = v;
    else if (name == "depthLayers")
        m.depthLayers = int32_t(v);
    else if (name == "depthFalloff")
        m.depthFalloff = v / 100.0;
    else if (name == "streakFromSpeed")
        m.streakFromSpeed = v != 0.0;
}

// The internal type of a rain control, from the effect's control table.
InternalType internalType(const Control& c)
{
    return Rain::findRainHostParam(c.name)->internal;
}

void setRainValue(const Control& c, const ControlValue& v, Wrapper::RainEffect& effect)
{
    switch (internalType(c)) {
    case InternalType::scale: effect.setScaleParam(c.name, Scale(v[0] / 100.0)); break;
    case InternalType::angle: effect.setAngleParam(c.name, Angle(v[0] * std::numbers::pi / 180.0)); break;
    case InternalType::integer: effect.setIntParam(c.name, int(v[0])); break;
    case InternalType::flag: effect.setBoolParam(c.name, v[0] != 0.0); break;
    case InternalType::choice:
        effect.setIntParam(c.name, c.optionValues ? c.optionValues[int(v[0])] : int(v[0]));
        break;
    case InternalType::rgba:
        effect.setRGBAParam(c.name, QrPixelRGBAf {float(v[0]), float(v[1]), float(v[2]), float(v[3])});
        break;
    default: effect.setDoubleParam(c.name, v[0]); break;
    }
}

}  // namespace

const std::vector<Control>& controls()
{
    static const std::vector<Control> table = buildControls();
    return table;
}

const Control* findControl(std::string_view name)
{
    for (const Control& c : controls())
        if (c.name == name)
            return &c;
    return nullptr;
}

double validValue(const Control& control, double value)
{
    if (!std::isfinite(value))
        return control.defaultValue;
    switch (control.kind) {
    case ControlKind::choice: {
        const double last = double(control.options.size()) - 1.0;
        return value < 0.0 || value > last ? control.defaultValue : std::trunc(value);
    }
    case ControlKind::boolean: return value != 0.0 ? 1.0 : 0.0;
    case ControlKind::integer: return std::clamp(std::round(value), control.min, control.max);
    case ControlKind::angle: return value;
    default: return std::clamp(value, control.min, control.max);
    }
}

double validColourComponent(const Control& control, int component, double value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : control.colourDefault[component];
}

ControlValues defaultValues()
{
    ControlValues values;
    for (const Control& c : controls()) {
        if (c.kind == ControlKind::colour)
            values.push_back({c.colourDefault[0], c.colourDefault[1], c.colourDefault[2], c.colourDefault[3]});
        else
            values.push_back({c.defaultValue, 0, 0, 0});
    }
    return values;
}

void applyControls(const ControlValues& values, Wrapper::RainEffect& effect)
{
    QrRainMotion motion;
    int32_t preset = 0;
    const std::vector<Control>& table = controls();
    for (size_t i = 0; i < table.size() && i < values.size(); ++i) {
        const Control& c = table[i];
        ControlValue v = values[i];
        if (c.kind == ControlKind::colour)
            for (int k = 0; k < 4; ++k)
                v[k] = validColourComponent(c, k, v[k]);
        else
            v[0] = validValue(c, v[0]);
        if (c.target == Target::motion)
            setMotionField(motion, c.name, v[0]);
        else if (c.target == Target::rain)
            setRainValue(c, v, effect);
        if (c.name == Rain::Key::presets)
            preset = int32_t(v[0]);
    }
    effect.setMotion(motion);
    effect.applyPreset(preset);
}

EdgeAlphaStep edgeAlphaStep(const Control& changed, double value)
{
    namespace K = Rain::Key;
    if (!std::isfinite(value))
        return {};
    for (const K::Crops& crops : {K::sourceCrops, K::matteCrops}) {
        if (changed.name == crops.edgeColour)
            return {findControl(crops.edgeColourAlpha), std::clamp(value, 0.0, 1.0) * 100.0};
        if (changed.name == crops.edgeColourAlpha)
            return {findControl(crops.edgeColour), std::clamp(value, 0.0, 100.0) / 100.0};
    }
    return {};
}

}  // namespace Quarn::Ofx
