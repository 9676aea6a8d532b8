#pragma once
// The frame render driver: one After Effects render command turned into one
// run of the rain effect at one depth. It wraps the host's worlds in
// textures without copying them, builds the host adapter over the command,
// captures every value at the current time, prepares the source and matte
// layer, runs the effect and turns every failure into a host error code.
#include "qrDepth.h"

#include <AE_Effect.h>

#include <cstdint>

namespace Quarn::AfterEffects {

// `D` is the depth (QrDepth8, QrDepth16, QrDepthF).
template <class D> struct RenderBitInner {
    // `smart` is the smart-render extra of a smart render, null otherwise.
    static PF_Err RenderInner(PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output,
        PF_SmartRenderExtra* smart);
};

using RenderBitInner8 = RenderBitInner<QrDepth8>;
using RenderBitInner16 = RenderBitInner<QrDepth16>;
using RenderBitInnerFloat = RenderBitInner<QrDepthF>;

extern template struct RenderBitInner<QrDepth8>;
extern template struct RenderBitInner<QrDepth16>;
extern template struct RenderBitInner<QrDepthF>;

}  // namespace Quarn::AfterEffects
