#include "qrAERainMotion.h"

#include "qrAESuite.h"
#include "qrRainMotionSuite.h"

namespace Quarn::AfterEffects {

QrRainMotion hostRainMotion(PF_InData* in)
{
    const Suite<NimbrelRainMotionSuite1> suite(in, kNimbrelRainMotionSuite, kNimbrelRainMotionSuiteVersion1);
    if (suite.null() || !suite->GetRainMotion)
        return {};
    NimbrelRainMotion m {};
    if (suite->GetRainMotion(in->effect_ref, &m) != PF_Err_NONE)
        return {};
    QrRainMotion motion;
    motion.fallSpeed = m.fall_speed;
    motion.windVariation = m.wind_variation;
    motion.gustRate = m.gust_rate;
    motion.depthLayers = m.depth_layers;
    motion.depthFalloff = m.depth_falloff;
    motion.streakFromSpeed = m.streak_from_speed != 0;
    return motion;
}

}  // namespace Quarn::AfterEffects
