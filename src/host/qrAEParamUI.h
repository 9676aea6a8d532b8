#pragma once
// Refreshing host controls: a new definition (value and greying) handed to
// the host's parameter utilities at once.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

// Asks the host to redraw control `index` from `def`; false when the host
// has no parameter utilities or refuses.
bool updateParamUI(PF_InData* in, PF_ParamIndex index, const PF_ParamDef& def);

}  // namespace Quarn::AfterEffects
