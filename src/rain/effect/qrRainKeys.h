#pragma once
// The internal keys of the rain controls and the names of its clips: the
// names by which the control table declares them and every reader (the
// pipeline, the presets, both host adapters) asks for them.
namespace Quarn::Wrapper::Rain::Key {

inline constexpr const char* process = "postAlphaYesNoNo";
inline constexpr const char* presets = "presets";
inline constexpr const char* dropLength = "dropLength";
inline constexpr const char* angle = "angle";
inline constexpr const char* intensity = "intensity";
inline constexpr const char* density = "density";
inline constexpr const char* minThresh = "minThresh";
inline constexpr const char* maxThresh = "maxThresh";
inline constexpr const char* matteChannel = "matteChannel";
inline constexpr const char* seed = "seed";
inline constexpr const char* blendMethod = "blendMethod";
inline constexpr const char* blendMix = "blendMix";
inline constexpr const char* blendEffect = "blendEffect";
inline constexpr const char* blendSrc = "blendSrc";
inline constexpr const char* clampBlendAtFloat = "clampBlendAtFloat";

// The two clips; each layer control carries its clip's name as its key.
inline constexpr const char* sourceClip = "Source";
inline constexpr const char* matteClip = "Matte";

// The keys of one "Crops" group.
struct Crops {
    const char* xMethod;
    const char* yMethod;
    const char* edgeColour;
    const char* edgeColourAlpha;
    const char* left;
    const char* right;
    const char* bottom;
    const char* top;
};

inline constexpr Crops sourceCrops {"SourceXMethod", "SourceYMethod", "SourceEdgeColour",
    "SourceEdgeColourAlpha", "SourceLeft", "SourceRight", "SourceBottom", "SourceTop"};
inline constexpr Crops matteCrops {"MatteXMethod", "MatteYMethod", "MatteEdgeColour", "MatteEdgeColourAlpha",
    "MatteLeft", "MatteRight", "MatteBottom", "MatteTop"};

}  // namespace Quarn::Wrapper::Rain::Key
