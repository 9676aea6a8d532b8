#include "qrFrei0rParams.h"

#include "effect/qrRainKeys.h"
#include "qrFrei0rMotion.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

namespace Quarn::Frei0r {

namespace {

using Rain = Quarn::Wrapper::Rain::RainHostParam;
namespace K = Quarn::Wrapper::Rain::Key;
namespace M = MotionKey;

constexpr FilterParam number(const char* name, const char* explanation, const char* key, Mapping mapping,
    double factor, double minimum, double maximum, double defaultValue)
{
    return {name, explanation, key, mapping, factor, minimum, maximum, defaultValue, nullptr, 0};
}

constexpr FilterParam choice(
    const char* name, const char* explanation, const char* key, const char* defaultText, int count)
{
    return {name, explanation, key, Mapping::choice, 0.0, 0.0, 0.0, 0.0, defaultText, count};
}

// The real ranges are the rain controls' valid ranges; the 0..1 span covers
// their usual slider range, and larger values reach the rest.
constexpr std::array<FilterParam, kFilterParamCount> kParams = {{
    number("density", "Rain density: 1.0 = 100 % (0.0001 to 50)", K::density, Mapping::fraction, 1.0, 0.0001,
        50.0, 0.6),
    number("drop_length", "Drop length: 1.0 = 500 pixels (0 to 20)", K::dropLength, Mapping::linear, 500.0,
        0.0, 10000.0, 0.1),
    number("direction", "Rain direction: degrees = value x 360 - 180 (0.25 = -90, straight down)", K::angle,
        Mapping::angle, 1.0, 0.0, 0.0, 0.25),
    number("intensity", "Rain intensity: 1.0 = 100 % (0 to 50)", K::intensity, Mapping::fraction, 1.0, 0.0,
        50.0, 1.0),
    number("diffusion_min", "Brightness where highlights start to diffuse along the rain: 1.0 = 100 %",
        K::minThresh, Mapping::fraction, 1.0, 0.0, 1.0, 0.9),
    number("diffusion_max", "Brightness where highlight diffusion is full: 1.0 = 100 %", K::maxThresh,
        Mapping::fraction, 1.0, 0.0, 1.0, 1.0),
    number("seed",
        "Drop pattern seed: 0..1 = 1..100 (value x 99 + 1, rounded); values above 1 are the "
        "seed itself (up to 5000)",
        K::seed, Mapping::seed, 99.0, 1.0, 5000.0, 12.0 / 99.0),
    choice("matte",
        "Where rain shows: None, Source Luminance, Source Inverse Luminance, Source Alpha, "
        "Source Inverse Alpha",
        K::matteChannel, "None", 5),
    choice("blend_method",
        "How the rain combines with the picture: None, Mix, Add, Difference, "
        "Subtract Source, Subtract Effect, Darken, Lighten, Colour, Luminosity, Hue, "
        "Saturation, Screen, Multiply, Overlay, Exclusion, ColourBurn, ColourDodge, "
        "HardLight, LinearBurn, LinearDodge, LinearLight, SoftLight, Composite Effect, "
        "Composite Source",
        K::blendMethod, "None", 25),
    number("blend_mix", "Blend: share of the rain in the blend, 1.0 = 100 %", K::blendMix, Mapping::linear,
        100.0, 0.0, 100.0, 0.5),
    number("source_gain", "Source gain: 1.0 = 200 %, 0.5 = 100 % (0 to 25)", K::blendSrc, Mapping::linear,
        200.0, 0.0, 5000.0, 0.5),
    number("effect_gain", "Effect (rain) gain: 1.0 = 200 %, 0.5 = 100 % (0 to 25)", K::blendEffect,
        Mapping::linear, 200.0, 0.0, 5000.0, 0.5),
    choice("process", "Output alpha: RGB keeps the input's alpha, RGBA gives the rain's own alpha",
        K::process, "RGB", 2),
    // Drop motion and depth (the effect's motion settings).
    number("fall_speed",
        "Fall speed in pixels per frame (25 frames a second): 1.0 = 100 (0 to 20); "
        "0 draws a new drop pattern every frame",
        M::fallSpeed, Mapping::linear, 100.0, 0.0, 2000.0, 0.0),
    number("wind_variation", "Wind gusts: degrees the direction swings to either side, 1.0 = 90 (0 to 2)",
        M::windVariation, Mapping::linear, 90.0, 0.0, 180.0, 0.0),
    number("gust_rate", "How often the gusts change: 1.0 = 25 gusts per 100 frames (0 to 10)", M::gustRate,
        Mapping::linear, 25.0, 0.0, 250.0, 0.16),
    number("depth_layers",
        "Depth layers of drops: 0..1 = 1..4 (value x 3 + 1, rounded); values above 1 "
        "are the count itself",
        M::depthLayers, Mapping::count, 3.0, 1.0, 4.0, 0.0),
    number("depth_falloff",
        "How much smaller, slower, fainter and sparser each farther layer is: 1.0 = 100 %", M::depthFalloff,
        Mapping::fraction, 1.0, 0.0, 1.0, 0.4),
    number("streak_from_speed",
        "Streak length follows the fall speed (half a frame of travel, a 180-degree "
        "shutter) instead of the drop length",
        M::streakFromSpeed, Mapping::flag, 1.0, 0.0, 1.0, 0.0),
    number("frame_rate",
        "Frame rate of the video, which makes the host's time frames: 1.0 = 100 frames a second "
        "(0.25 = 25); values above 1 are the rate itself",
        kFrameRateKey, Mapping::rate, 100.0, 1.0, 1000.0, 0.25),
}};

const Rain& rainControl(const FilterParam& param)
{
    return *Quarn::Wrapper::Rain::findRainHostParam(param.key);
}

// Lower case without spaces, '-' and '_': the form in which names match.
std::string folded(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '-' && c != '_')
            out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> menuPosition(const FilterParam& param, std::string_view text)
{
    int position = 0;
    const char* end = text.data() + text.size();
    if (auto [p, ec] = std::from_chars(text.data(), end, position); ec == std::errc() && p == end)
        return position;
    const std::string wanted = folded(text);
    for (int k = 0; k < param.choiceCount; ++k)
        if (folded(choiceName(param, k)) == wanted)
            return k;
    return std::nullopt;
}

}  // namespace

const std::array<FilterParam, kFilterParamCount>& filterParams()
{
    return kParams;
}

int findFilterParam(std::string_view name)
{
    for (int i = 0; i < kFilterParamCount; ++i)
        if (name == kParams[i].name)
            return i;
    return -1;
}

double internalValue(const FilterParam& param, double value)
{
    if (!std::isfinite(value))
        value = param.defaultValue;
    double internal = value * param.factor;
    switch (param.mapping) {
    case Mapping::angle: return (value * 360.0 - 180.0) * std::numbers::pi / 180.0;
    case Mapping::seed:
    case Mapping::count:
        internal = std::round(value > 1.0 ? value : value * param.factor + param.minimum);
        break;
    case Mapping::flag: internal = value >= 0.5 ? 1.0 : 0.0; break;
    case Mapping::rate: internal = value > 1.0 ? value : internal; break;
    default: break;
    }
    return std::clamp(internal, param.minimum, param.maximum);
}

std::string choiceName(const FilterParam& param, int position)
{
    std::string_view rest = rainControl(param).choices;
    for (int k = 0; k < position && !rest.empty(); ++k) {
        const size_t bar = rest.find('|');
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    return std::string(rest.substr(0, rest.find('|')));
}

std::optional<int32_t> choiceValue(const FilterParam& param, std::string_view text)
{
    const std::optional<int> position = menuPosition(param, text);
    if (!position || *position < 0 || *position >= param.choiceCount)
        return std::nullopt;
    const Rain& control = rainControl(param);
    return control.popupValues ? control.popupValues[*position] : *position;
}

}  // namespace Quarn::Frei0r
