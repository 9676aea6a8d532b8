#include "qrFrei0rMotion.h"

#include <cmath>

namespace Quarn::Frei0r {

bool setMotionValue(QrRainMotion& motion, std::string_view key, double value)
{
    if (key == MotionKey::fallSpeed)
        motion.fallSpeed = value;
    else if (key == MotionKey::windVariation)
        motion.windVariation = value;
    else if (key == MotionKey::gustRate)
        motion.gustRate = value;
    else if (key == MotionKey::depthLayers)
        motion.depthLayers = int32_t(std::lround(value));
    else if (key == MotionKey::depthFalloff)
        motion.depthFalloff = value;
    else if (key == MotionKey::streakFromSpeed)
        motion.streakFromSpeed = value != 0.0;
    else
        return false;
    return true;
}

}  // namespace Quarn::Frei0r
