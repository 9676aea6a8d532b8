#pragma once
// The rain effect's host parameters: the forty controls a host shows, in the
// order the effect declares them (index 0 is the host's own input layer), as
// one table of data. The host adapter declares and maps the controls from
// it; declareRainParameters builds the effect's internal parameters from it.
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace Quarn::Wrapper::Rain {

// What kind of control the host shows. The plug-in maps these to the host
// API's own parameter types.
enum class HostParamType {
    inputLayer,  // the host's own input, index 0
    customArea,  // a drawn area without data
    popup,
    floatSlider,  // fixed point: value x 65536
    angle,  // degrees, fixed point
    intSlider,
    layer,
    groupStart,
    groupEnd,
    checkBox,
    colour,
};

// The parameter type the effect's own parameter set uses for the key.
enum class InternalType {
    none,  // no internal parameter (layout, layers, the about area)
    integer,
    number,  // a plain double, in the host's units
    scale,  // a fraction: host percent / 100
    angle,  // radians: host degrees x pi / 180
    choice,
    rgba,  // components 0..1: host 8-bit / 255
    flag,
};

// Host flag words.
constexpr uint32_t kFlagCannotTimeVary = 0x02;
constexpr uint32_t kFlagStartCollapsed = 0x20;
constexpr uint32_t kFlagSupervise = 0x40;

// An 8-bit colour as the host holds it.
struct HostColour8 {
    uint8_t alpha, red, green, blue;
};

struct RainHostParam {
    int index = 0;
    const char* label = "";  // empty for the check box, whose text is checkBoxText
    HostParamType type = HostParamType::customArea;
    const char* key = nullptr;  // internal key, or the clip name for layers
    InternalType internal = InternalType::none;
    double defaultValue = 0.0;  // host units: slider, angle (degrees), 1-based popup, check box 0 / 1
    double sliderMin = 0.0, sliderMax = 0.0;
    double validMin = 0.0, validMax = 0.0;
    uint32_t flags = 0;
    int precision = 0;  // decimals a float slider shows; 0 otherwise
    bool percent = false;  // the slider shows a percentage
    const char* choices = nullptr;  // popup entries separated by '|'
    int choiceCount = 0;
    int popupDefault = 0;  // 1-based host value
    const int* popupValues = nullptr;  // internal value per menu position; null when position = value
    const char* checkBoxText = nullptr;
    HostColour8 colourDefault {0, 0, 0, 0};
};

constexpr int kRainHostParamCount = 40;

const std::array<RainHostParam, kRainHostParamCount>& rainHostParams();

// The row of an internal key (or clip name), or null.
const RainHostParam* findRainHostParam(std::string_view key);
// The host index of the control with that key (or clip name); -1 for none.
int rainHostIndex(std::string_view key);
// Whether the control holds a value the effect reads (not a layer, a group
// or the about area).
constexpr bool holdsValue(const RainHostParam& param)
{
    return param.internal != InternalType::none;
}

// A popup's (menu position, internal value) pairs, positions 0-based; empty
// for other controls.
std::vector<std::pair<int, int>> rainPopupTable(const RainHostParam& param);

// Decimals a float slider shows: 2 when its slider maximum is 10 or less.
constexpr int sliderPrecision(double sliderMax)
{
    return sliderMax <= 10.0 ? 2 : 1;
}

}  // namespace Quarn::Wrapper::Rain
