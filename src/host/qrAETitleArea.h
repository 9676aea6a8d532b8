#pragma once
// The "About" control area: its draw event copies the title bitmap into the
// host's canvas; the other events of the area are taken and need nothing.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

inline constexpr PF_ParamIndex kAboutAreaIndex = 1;

PF_Err handleAreaEvent(PF_InData* in, PF_EventExtra* event);

}  // namespace Quarn::AfterEffects
