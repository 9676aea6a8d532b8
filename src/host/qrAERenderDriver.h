#pragma once
// The frame render driver: one After Effects render command turned into one
// run of the rain effect at one depth. It wraps the host's worlds in
// textures without copying them, builds the host adapter over the command,
// captures every value at the current time, prepares the source and matte
// layer, runs the effect and turns every failure into a host error code.
#include "qrPixel.h"

#include <AE_Effect.h>

#include <cstdint>

namespace Quarn::AfterEffects {

template <class Pixel, class WorkPixel, class Component, int White>
struct RenderBitInner {
    // `smart` is the smart-render extra of a smart render, null otherwise.
    static PF_Err RenderInner(PF_InData* in, PF_OutData* out, PF_ParamDef* params[],
                              PF_LayerDef* output, PF_SmartRenderExtra* smart);
};

using RenderBitInner8 = RenderBitInner<Pixel::ARGB8, Pixel::ARGBW255, uint8_t, 255>;
using RenderBitInner16 = RenderBitInner<Pixel::ARGB16, Pixel::ARGBW32768, uint16_t, 32768>;
using RenderBitInnerFloat = RenderBitInner<Pixel::ARGBF, Pixel::ARGBWF, float, 1>;

extern template struct RenderBitInner<Pixel::ARGB8, Pixel::ARGBW255, uint8_t, 255>;
extern template struct RenderBitInner<Pixel::ARGB16, Pixel::ARGBW32768, uint16_t, 32768>;
extern template struct RenderBitInner<Pixel::ARGBF, Pixel::ARGBWF, float, 1>;

}  // namespace Quarn::AfterEffects
