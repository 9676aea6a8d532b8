#pragma once
// The rain filter's parameters as a frei0r host sees them: thirteen
// controls, each a double (frei0r's 0..1 convention, mapped onto the rain
// control's real range) or a string naming one entry of a rain popup, each
// mapping onto one internal key of the rain effect; then six controls of the
// drop motion and depth, each a field of the effect's motion settings; then
// the frame rate of the video, which turns the host's time into frames.
#include "effect/qrRainParamTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Quarn::Frei0r {

// How a frei0r value becomes the effect's internal value.
enum class Mapping {
    fraction,  // internal scale = value (1.0 = 100 %)
    linear,  // internal double = value x factor
    angle,  // degrees = value x 360 - 180, internal radians
    seed,  // 0..1 -> 1..100; values above 1 are the seed itself
    choice,  // a string: an entry name of the rain popup, or its menu position
    count,  // 0..1 -> minimum..maximum in whole steps; values above 1 are the count itself
    flag,  // a frei0r bool: 0.5 or more is on (1), else off (0)
    rate,  // value x factor; values above 1 are the rate itself
};

struct FilterParam {
    const char* name;  // frei0r name
    const char* explanation;  // frei0r explanation, with the mapping
    const char* key;  // the rain effect's internal key
    Mapping mapping;
    double factor;  // linear: internal units per frei0r unit
    double minimum, maximum;  // clamp of the internal value (not for angles and choices)
    double defaultValue;  // frei0r units (doubles)
    const char* defaultText;  // choices: the entry name
    int choiceCount;  // choices: the first entries of the popup offered
};

constexpr int kFilterParamCount = 20;

// The key of `frame_rate`, which the filter keeps itself.
inline constexpr const char* kFrameRateKey = "frameRate";

const std::array<FilterParam, kFilterParamCount>& filterParams();

// Index of the parameter called `name`, or -1.
int findFilterParam(std::string_view name);

// The internal value of a double parameter for the frei0r value `value`:
// a fraction, pixels, percent, radians, the seed, a count or a flag, clamped to the control's
// valid range. Non-finite values give the default's.
double internalValue(const FilterParam& param, double value);

// The rain popup entry names of a choice parameter, in menu order.
std::string choiceName(const FilterParam& param, int position);

// The internal value (the popup's mapped value, e.g. a blend method number)
// of the entry that `text` names. Names match ignoring case, spaces, '-' and
// '_' ("screen", "Source Inverse Luminance", "source-alpha"); a plain number
// is the 0-based menu position. Nothing for anything else.
std::optional<int32_t> choiceValue(const FilterParam& param, std::string_view text);

}  // namespace Quarn::Frei0r
