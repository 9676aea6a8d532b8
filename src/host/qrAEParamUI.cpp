#include "qrAEParamUI.h"

#include "qrAESuite.h"

#include <AE_EffectSuites.h>

namespace Quarn::AfterEffects {

bool updateParamUI(PF_InData* in, PF_ParamIndex index, const PF_ParamDef& def)
{
    Suite<PF_ParamUtilsSuite3> utils(in, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3);
    return !utils.null() && utils->PF_UpdateParamUI(in->effect_ref, index, &def) == PF_Err_NONE;
}

}  // namespace Quarn::AfterEffects
