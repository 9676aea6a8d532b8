#pragma once
// The controls of qrOfxControls.h through the host's parameter suite:
// declared when the host describes the effect, read at a render's time, and
// written when one control keeps another in step.
#include "qrOfxApi.h"
#include "qrOfxControls.h"

namespace Quarn::Ofx {

// Declares every control on the parameter set of `descriptor`.
void defineControls(OfxImageEffectHandle descriptor);

// Every control's value at `time` (controls the host does not have read as
// their defaults).
ControlValues readControls(OfxImageEffectHandle instance, double time);

// The value of one control at `time`, and a new value for it.
ControlValue readControl(OfxImageEffectHandle instance, const Control& control, double time);
void writeControl(OfxImageEffectHandle instance, const Control& control, const ControlValue& value);

}  // namespace Quarn::Ofx
