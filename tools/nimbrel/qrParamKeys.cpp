#include "qrParamKeys.h"

namespace Quarn::Cli {

const std::vector<ParamKey>& paramKeys()
{
    static const std::vector<ParamKey> keys = {
        {"postAlphaYesNoNo", 2},
        {"presets", 3},
        {"dropLength", 4},
        {"angle", 5},
        {"intensity", 6},
        {"density", 7},
        {"minThresh", 8},
        {"maxThresh", 9},
        {"matteChannel", 10},
        {"seed", 12},
        {"blendMethod", 14},
        {"blendMix", 15},
        {"blendEffect", 16},
        {"blendSrc", 17},
        {"clampBlendAtFloat", 18},
        {"SourceXMethod", 21},
        {"SourceYMethod", 22},
        {"SourceEdgeColour", 23},
        {"SourceEdgeColourAlpha", 24},
        {"SourceLeft", 25},
        {"SourceRight", 26},
        {"SourceBottom", 27},
        {"SourceTop", 28},
        {"MatteXMethod", 31},
        {"MatteYMethod", 32},
        {"MatteEdgeColour", 33},
        {"MatteEdgeColourAlpha", 34},
        {"MatteLeft", 35},
        {"MatteRight", 36},
        {"MatteBottom", 37},
        {"MatteTop", 38},
    };
    return keys;
}

std::string_view keyOfIndex(int index)
{
    for (const ParamKey& k : paramKeys())
        if (k.index == index)
            return k.key;
    return "";
}

}  // namespace Quarn::Cli
