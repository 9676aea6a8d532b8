#pragma once
// The filter's drop motion and depth parameters: they set the rain effect's
// motion settings, which have no host control of their own, so their keys
// are the filter's own (named like the effect's keys) and live here.
#include "motion/qrRainMotion.h"

#include <string_view>

namespace Quarn::Frei0r {

namespace MotionKey {
inline constexpr const char* fallSpeed = "fallSpeed";
inline constexpr const char* windVariation = "windVariation";
inline constexpr const char* gustRate = "gustRate";
inline constexpr const char* depthLayers = "depthLayers";
inline constexpr const char* depthFalloff = "depthFalloff";
inline constexpr const char* streakFromSpeed = "streakFromSpeed";
}  // namespace MotionKey

// Sets the field `key` of `motion` to `value` (internal units); false, and
// nothing changed, when `key` is not a motion field.
bool setMotionValue(QrRainMotion& motion, std::string_view key, double value);

}  // namespace Quarn::Frei0r
