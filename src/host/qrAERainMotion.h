#pragma once
// The drop motion that the host offers through the rain motion suite, as the
// rain effect's motion settings; the rain without motion when the host has
// no such suite (every host but ours) or cannot answer.
#include "motion/qrRainMotion.h"

#include <AE_Effect.h>

namespace Quarn::AfterEffects {

QrRainMotion hostRainMotion(PF_InData* in);

}  // namespace Quarn::AfterEffects
