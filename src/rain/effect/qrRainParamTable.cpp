#include "effect/qrRainParamTable.h"

#include "effect/qrRainKeys.h"

#include <cstring>

namespace Quarn::Wrapper::Rain {

namespace {

using T = HostParamType;
using I = InternalType;
namespace K = Key;

constexpr uint32_t kCTV = kFlagCannotTimeVary;
constexpr uint32_t kSC = kFlagStartCollapsed;
constexpr uint32_t kSup = kFlagSupervise;

constexpr const char* kProcessChoices = "RGB|RGBA";
constexpr const char* kPresetChoices = "...|Drizzle|Rain|Shower|Downpour|Cats and Dogs|Night Time";
constexpr const char* kMatteChoices =
    "None|Source Luminance|Source Inverse Luminance|Source Alpha|Source Inverse Alpha|"
    "Matte Layer Luminance|Matte Layer Inverse Luminance|Matte Layer Alpha|Matte Layer Inverse Alpha";
constexpr const char* kEdgeChoices = "Colour|Repeat|Reflect|Wrap";
constexpr const char* kMethodChoices =
    "None|Mix|Add|Difference|Subtract Source|Subtract Effect|Darken|Lighten|Colour|Luminosity|Hue|"
    "Saturation|Screen|Multiply|Overlay|Exclusion|ColourBurn|ColourDodge|HardLight|LinearBurn|"
    "LinearDodge|LinearLight|SoftLight|Composite Effect|Composite Source";

// The "Method" menu lists blend methods in menu order; the internal value is
// the blend method's own number.
constexpr int kMethodValues[25] = {
    0, 19, 22, 5, 21, 20, 4, 9, 1, 13, 8, 16, 17, 14, 15, 6, 2, 3, 7, 10, 11, 12, 18, 26, 25};

constexpr RainHostParam plain(int index, const char* label, T type, const char* key, uint32_t flags)
{
    return {.index = index, .label = label, .type = type, .key = key, .flags = flags};
}

constexpr RainHostParam popup(int index, const char* label, const char* key, const char* choices, int count,
    int popupDefault, uint32_t flags, const int* values = nullptr)
{
    return {.index = index,
        .label = label,
        .type = T::popup,
        .key = key,
        .internal = I::choice,
        .defaultValue = double(popupDefault),
        .flags = flags,
        .choices = choices,
        .choiceCount = count,
        .popupDefault = popupDefault,
        .popupValues = values};
}

constexpr RainHostParam slider(int index, const char* label, const char* key, I internal, bool percent,
    double value, double sliderMin, double sliderMax, double validMin, double validMax, uint32_t flags)
{
    return {.index = index,
        .label = label,
        .type = T::floatSlider,
        .key = key,
        .internal = internal,
        .defaultValue = value,
        .sliderMin = sliderMin,
        .sliderMax = sliderMax,
        .validMin = validMin,
        .validMax = validMax,
        .flags = flags,
        .precision = sliderPrecision(sliderMax),
        .percent = percent};
}

constexpr RainHostParam percent(int index, const char* label, const char* key, double value, double validMax,
    uint32_t flags, double sliderMax = 100.0)
{
    return slider(index, label, key, I::number, true, value, 0.0, sliderMax, 0.0, validMax, flags);
}

constexpr RainHostParam colour(int index, const char* key)
{
    return {.index = index,
        .label = "Edge Colour",
        .type = T::colour,
        .key = key,
        .internal = I::rgba,
        .flags = kSup,
        .colourDefault = {255, 0, 0, 0}};
}

constexpr std::array<RainHostParam, kRainHostParamCount> kTable = {{
    plain(0, "", T::inputLayer, K::sourceClip, 0),
    plain(1, "About", T::customArea, nullptr, kSup | kCTV),
    popup(2, "Process", K::process, kProcessChoices, 2, 1, kCTV),
    popup(3, "Presets", K::presets, kPresetChoices, 7, 1, kSup | kCTV),
    slider(4, "Drop Length", K::dropLength, I::number, false, 50, 0, 500, 0, 10000, kSC),
    {.index = 5,
        .label = "Rain Direction",
        .type = T::angle,
        .key = K::angle,
        .internal = I::angle,
        .defaultValue = -90.0},
    slider(6, "Rain Intensity", K::intensity, I::scale, true, 100, 0, 100, 0, 5000, kSC),
    slider(7, "Rain Density", K::density, I::scale, true, 60, 0.01, 100, 0.01, 5000, kSC),
    slider(8, "Diffusion Min", K::minThresh, I::scale, true, 90, 0, 100, 0, 100, kSC),
    slider(9, "Diffusion Max", K::maxThresh, I::scale, true, 100, 0, 100, 0, 100, kSC),
    popup(10, "Matte", K::matteChannel, kMatteChoices, 9, 3, kCTV),
    plain(11, "Matte Layer", T::layer, K::matteClip, 0),
    {.index = 12,
        .label = "Seed",
        .type = T::intSlider,
        .key = K::seed,
        .internal = I::integer,
        .defaultValue = 13,
        .sliderMin = 1,
        .sliderMax = 100,
        .validMin = 1,
        .validMax = 5000,
        .flags = kSC | kCTV},
    plain(13, "Blending", T::groupStart, nullptr, 0),
    popup(14, "Method", K::blendMethod, kMethodChoices, 25, 1, kCTV, kMethodValues),
    percent(15, "Blend", K::blendMix, 50, 100, 0),
    percent(16, "Effect Gain", K::blendEffect, 100, 5000, 0, 200),
    percent(17, "Source Gain", K::blendSrc, 100, 5000, 0, 200),
    {.index = 18,
        .label = "",
        .type = T::checkBox,
        .key = K::clampBlendAtFloat,
        .internal = I::flag,
        .checkBoxText = "Clamp 0-1 (32 bpc)"},
    plain(19, "", T::groupEnd, nullptr, 0),
    plain(20, "Source Crops", T::groupStart, nullptr, 0),
    popup(21, "X Method", K::sourceCrops.xMethod, kEdgeChoices, 4, 3, kCTV),
    popup(22, "Y Method", K::sourceCrops.yMethod, kEdgeChoices, 4, 3, kCTV),
    colour(23, K::sourceCrops.edgeColour),
    percent(24, "Edge Colour Alpha", K::sourceCrops.edgeColourAlpha, 100, 100, kSup | kSC | kCTV),
    percent(25, "Left", K::sourceCrops.left, 0, 100, 0),
    percent(26, "Right", K::sourceCrops.right, 100, 100, 0),
    percent(27, "Bottom", K::sourceCrops.bottom, 0, 100, 0),
    percent(28, "Top", K::sourceCrops.top, 100, 100, 0),
    plain(29, "", T::groupEnd, nullptr, 0),
    plain(30, "Matte Layer Crops", T::groupStart, nullptr, 0),
    popup(31, "X Method", K::matteCrops.xMethod, kEdgeChoices, 4, 3, kCTV),
    popup(32, "Y Method", K::matteCrops.yMethod, kEdgeChoices, 4, 3, kCTV),
    colour(33, K::matteCrops.edgeColour),
    percent(34, "Edge Colour Alpha", K::matteCrops.edgeColourAlpha, 100, 100, kSup | kSC | kCTV),
    percent(35, "Left", K::matteCrops.left, 0, 100, 0),
    percent(36, "Right", K::matteCrops.right, 100, 100, 0),
    percent(37, "Bottom", K::matteCrops.bottom, 0, 100, 0),
    percent(38, "Top", K::matteCrops.top, 100, 100, 0),
    plain(39, "", T::groupEnd, nullptr, 0),
}};

}  // namespace

const std::array<RainHostParam, kRainHostParamCount>& rainHostParams()
{
    return kTable;
}

const RainHostParam* findRainHostParam(std::string_view key)
{
    for (const RainHostParam& p : kTable)
        if (p.key && key == p.key)
            return &p;
    return nullptr;
}

int rainHostIndex(std::string_view key)
{
    const RainHostParam* row = findRainHostParam(key);
    return row ? row->index : -1;
}

std::vector<std::pair<int, int>> rainPopupTable(const RainHostParam& param)
{
    std::vector<std::pair<int, int>> table;
    if (param.type != HostParamType::popup)
        return table;
    for (int k = 0; k < param.choiceCount; ++k)
        table.emplace_back(k, param.popupValues ? param.popupValues[k] : k);
    return table;
}

}  // namespace Quarn::Wrapper::Rain
