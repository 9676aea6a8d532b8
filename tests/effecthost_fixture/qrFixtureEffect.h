// A small effect plug-in for the host tests. Parameters (host indices):
//   1 "About"       custom area, 40 x 10, supervised
//   2 "Preset"      popup "...|Bright|Dim", supervised: sets Gain, rests at "..."
//   3 "Gain"        fixed slider, percent, valid 0..400, slider 0..200, default 100
//   4 "Level"       integer slider, valid 0..1000, slider 0..255, default 10
//   5 "Angle"       angle, default -90
//   6 "Tinting"     group start
//   7 "Use Tint"    check box "Tint the frame", off
//   8 "Tint"        colour, opaque red
//   9               group end
//  10 "Matte Layer" layer
// The render writes, per pixel: the tint when "Use Tint" is on, otherwise
// the input colour x Gain / 100 (clamped) with the input's alpha, or the
// matte layer's alpha where a matte is chosen and covers the pixel.
#pragma once

#include <AE_Effect.h>

namespace Fixture {

enum Index {
    kAbout = 1,
    kPreset,
    kGain,
    kLevel,
    kAngle,
    kTintGroup,
    kUseTint,
    kTint,
    kTintGroupEnd,
    kMatte,
    kParamCount
};

// Renders rows of `output` from `input` (and `matte`, may be null) at the
// depth of `Pixel`, polling progress once a row; returns the host's cancel.
PF_Err renderWorld(PF_InData* in_data, PF_PixelFormat format, const PF_EffectWorld& input,
    const PF_EffectWorld* matte, PF_EffectWorld& output, double gain, bool useTint, PF_Pixel tint);

}  // namespace Fixture
