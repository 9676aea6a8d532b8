/* The rain motion suite: how our own hosts hand the plug-in the drop motion
 * and depth layers, which are not controls of the plug-in. The plug-in asks
 * for the suite by name and version through the host's basic suite, as for
 * any suite, at every render; a host that does not offer it (any other
 * compositing host) gets the rain of the plug-in's own controls alone, and
 * the plug-in's declared controls, property list and version stay what they
 * are. Both sides include this header: the plug-in (src/host) and our host
 * (tools/host). */
#ifndef NIMBREL_RAIN_MOTION_SUITE_H
#define NIMBREL_RAIN_MOTION_SUITE_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kNimbrelRainMotionSuite "Nimbrel Rain Motion Suite"
#define kNimbrelRainMotionSuiteVersion1 1

/* Every field at its "none" value (0, 0, 4, 1, 0.4, 0) is the rain without
 * motion: a new drop pattern every frame, one layer. */
typedef struct NimbrelRainMotion {
    double fall_speed; /* pixels per frame at full resolution, along the rain direction */
    double wind_variation; /* degrees the direction gusts to either side */
    double gust_rate; /* gusts per 100 frames */
    A_long depth_layers; /* 1 to 4 */
    double depth_falloff; /* 0 to 1: how much smaller, slower, fainter and sparser each farther layer is */
    A_long streak_from_speed; /* 1: streaks half a frame of travel long instead of the drop length */
} NimbrelRainMotion;

typedef struct NimbrelRainMotionSuite1 {
    /* The motion of the effect instance effect_ref for the command running now. */
    PF_Err (*GetRainMotion)(PF_ProgPtr effect_ref, NimbrelRainMotion* motion);
} NimbrelRainMotionSuite1;

#ifdef __cplusplus
}
#endif

#endif
