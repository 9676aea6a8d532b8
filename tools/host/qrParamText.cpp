#include "qrParamText.h"

#include "qrHostError.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string>

namespace Quarn::Host {

namespace {

std::string formatNumber(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// In the notation parseColour reads, so a printed colour can be typed back:
// #RRGGBB when opaque, #RRGGBBAA otherwise.
std::string formatColour(const PF_Pixel& p)
{
    char text[16];
    if (p.alpha == 255)
        std::snprintf(text, sizeof text, "#%02X%02X%02X", p.red, p.green, p.blue);
    else
        std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", p.red, p.green, p.blue, p.alpha);
    return text;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

[[noreturn]] void reject(const HostParam& param, std::string_view text)
{
    throw HostError("\"" + std::string(text) + "\" is not a value of " + param.label());
}

double parseNumber(const HostParam& param, std::string_view text)
{
    try {
        std::size_t used = 0;
        const double value = std::stod(std::string(text), &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    reject(param, text);
}

// #RRGGBB (the alpha stays `current`'s) or #RRGGBBAA.
PF_Pixel parseColour(const HostParam& param, std::string_view text, PF_Pixel current)
{
    if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9))
        reject(param, text);
    unsigned bytes[4] = {0, 0, 0, current.alpha};  // red, green, blue, alpha
    for (std::size_t i = 0; i < (text.size() - 1) / 2; ++i) {
        const char* start = text.data() + 1 + i * 2;
        auto [end, ec] = std::from_chars(start, start + 2, bytes[i], 16);
        if (ec != std::errc() || end != start + 2)
            reject(param, text);
    }
    return {A_u_char(bytes[3]), A_u_char(bytes[0]), A_u_char(bytes[1]), A_u_char(bytes[2])};
}

double parsePopup(const HostParam& param, std::string_view text)
{
    const auto& choices = param.choices();
    for (bool exact : {true, false})
        for (std::size_t i = 0; i < choices.size(); ++i)
            if (exact ? choices[i] == text : equalNoCase(choices[i], text))
                return double(i + 1);
    const double number = parseNumber(param, text);
    if (number < 1 || number > double(choices.size()))
        reject(param, text);
    return number;
}

double parseCheckBox(const HostParam& param, std::string_view text)
{
    for (const char* on : {"on", "true", "yes", "1"})
        if (equalNoCase(text, on))
            return 1;
    for (const char* off : {"off", "false", "no", "0"})
        if (equalNoCase(text, off))
            return 0;
    reject(param, text);
}

}  // namespace

std::string formatValue(const HostParam& param, double seconds)
{
    const PF_ParamDef def = param.at(seconds);
    switch (param.type()) {
    case PF_Param_SLIDER: return std::to_string(def.u.sd.value);
    case PF_Param_FIX_SLIDER: return formatNumber(param.number(seconds), def.u.fs_d.precision);
    case PF_Param_ANGLE: return formatNumber(param.number(seconds), 1);
    case PF_Param_CHECKBOX: return def.u.bd.value ? "on" : "off";
    case PF_Param_COLOR: return formatColour(def.u.cd.value);
    case PF_Param_POPUP: {
        const auto& choices = param.choices();
        const std::size_t i = static_cast<std::size_t>(def.u.pd.value - 1);
        return i < choices.size() ? choices[i] : std::to_string(def.u.pd.value);
    }
    case PF_Param_LAYER:
        return param.layer()
            ? std::to_string(param.layer()->width()) + "x" + std::to_string(param.layer()->height())
            : "none";
    }
    return "";
}

PF_ParamDefUnion parseValue(const HostParam& param, std::string_view text, double seconds)
{
    switch (param.type()) {
    case PF_Param_SLIDER:
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE: return param.withNumber(parseNumber(param, text));
    case PF_Param_CHECKBOX: return param.withNumber(parseCheckBox(param, text));
    case PF_Param_POPUP: return param.withNumber(parsePopup(param, text));
    case PF_Param_COLOR: {
        PF_ParamDefUnion u = param.definition().u;
        u.cd.value = parseColour(param, text, param.colour(seconds));
        return u;
    }
    }
    throw HostError(param.label() + " takes no typed value");
}

}  // namespace Quarn::Host
