#pragma once
// The about box: the splash picture ("Splash.bmp" beside the plug-in, or a
// 500 x 500 white rectangle), the product name, the effect description
// wrapped to the box and the version line at the bottom, shown modally over
// the host's main window.
#include "qrDrawBitmap.h"

#include <AE_Effect.h>

#include <string>

namespace Quarn::AfterEffects {

inline constexpr const char* kAboutTitle = "About...";
inline constexpr const char* kAboutVersion = "Version 2.2v5";
inline constexpr int kSplashFallbackSide = 500;

// The box's content, with the splash read from `folder` (the plug-in's own).
Platform::DrawBitmap drawAboutBox(const std::string& folder);
// Shows the box over the host's main window; the return message is emptied.
PF_Err showAboutBox(PF_InData* in, PF_OutData* out);

}  // namespace Quarn::AfterEffects
