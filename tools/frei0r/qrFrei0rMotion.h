#pragma once
// The filter's drop motion and depth parameters: they set the rain effect's
// motion settings, which have no host control of their own.
#include "motion/qrRainMotion.h"

#include <string_view>

namespace Quarn::Frei0r {

// Sets the field `key` of `motion` to `value` (internal units); false, and
// nothing changed, when `key` is not a motion field.
bool setMotionValue(QrRainMotion& motion, std::string_view key, double value);

}  // namespace Quarn::Frei0r
