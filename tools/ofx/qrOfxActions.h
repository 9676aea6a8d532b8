#pragma once
// What the plug-in does for each OpenFX action it answers. Each may throw a
// Failure (or any exception); the entry point turns them into statuses.
#include "qrOfxApi.h"

namespace Quarn::Ofx {

// The reverse-domain identifier hosts know the effect by.
inline constexpr const char* kPluginIdentifier = "org.nimbrel.rain";

void describe(OfxImageEffectHandle descriptor);
void describeInContext(OfxImageEffectHandle descriptor, OfxPropertySetHandle inArgs);
// Renders the frame at the time and window `inArgs` give.
void render(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs);
// Keeps the controls that go together in step after the user changed one.
OfxStatus instanceChanged(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs);
// Streaks reach in from anywhere along the rain: every input is needed whole.
OfxStatus regionsOfInterest(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs, OfxPropertySetHandle outArgs);

}  // namespace Quarn::Ofx
