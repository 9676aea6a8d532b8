// The effect's internal parameter keys and the host index each one sits at,
// so that users can name a control by the key the effect reads it under.
#pragma once

#include <string_view>
#include <vector>

namespace Quarn::Cli {

struct ParamKey {
    std::string_view key;
    int index;  // host parameter index
};

// Every key in host order.
const std::vector<ParamKey>& paramKeys();
// The key of a host index, or "" for controls without one (layers, groups).
std::string_view keyOfIndex(int index);

// Host indices the renderer treats specially.
inline constexpr int kPresetsIndex = 3;
inline constexpr int kMatteChannelIndex = 10;
inline constexpr int kMatteLayerIndex = 11;
// Matte choices as 1-based popup values: "None", then the source-based
// ones, then from this value on those that read the matte layer.
inline constexpr int kNoMatteChoice = 1;
inline constexpr int kFirstMatteLayerChoice = 6;

}  // namespace Quarn::Cli
