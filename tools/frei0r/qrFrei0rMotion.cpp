#include "qrFrei0rMotion.h"

#include <cmath>

namespace Quarn::Frei0r {

bool setMotionValue(QrRainMotion& motion, std::string_view key, double value)
{
    if (key == "fallSpeed")
        motion.fallSpeed = value;
    else if (key == "windVariation")
        motion.windVariation = value;
    else if (key == "gustRate")
        motion.gustRate = value;
    else if (key == "depthLayers")
        motion.depthLayers = int32_t(std::lround(value));
    else if (key == "depthFalloff")
        motion.depthFalloff = value;
    else if (key == "streakFromSpeed")
        motion.streakFromSpeed = value != 0.0;
    else
        return false;
    return true;
}

}  // namespace Quarn::Frei0r
