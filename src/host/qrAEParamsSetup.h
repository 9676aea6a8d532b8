#pragma once
// Declares the effect's host parameters, indices 1 to 39, from the rain
// effect's host table, and tells the host there are 40 of them.
#include "effect/qrRainParamTable.h"

#include <AE_Effect.h>

namespace Quarn::AfterEffects {

// The host definition of one table row. `titleWidth` x `titleHeight` is the
// size of the "About" control area.
PF_ParamDef hostDefinition(const Quarn::Wrapper::Rain::RainHostParam& row, int titleWidth, int titleHeight);

// Adds every row but the input layer, in order, appending; stops at the
// first refusal of the host and returns it.
PF_Err declareParameters(PF_InData* in, PF_OutData* out);

}  // namespace Quarn::AfterEffects
