#pragma once
// A layer parameter's world checked out for one frame and checked back in
// when the holder ends: through the parameter checkout of a classic render
// or the layer pixels of a smart render (by the layer's index as checkout
// id). A user cancel raises InterruptedCritical, any other refusal
// ClipCheckoutFailed naming the clip and "checkout".
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

class LayerCheckout {
public:
    LayerCheckout(PF_InData* in, PF_ParamIndex index, const char* clipName, PF_SmartRenderExtra* smart);
    ~LayerCheckout();
    LayerCheckout(const LayerCheckout&) = delete;
    LayerCheckout& operator=(const LayerCheckout&) = delete;

    // The layer's world, null when no layer is chosen.
    PF_EffectWorld* world() const { return world_; }

private:
    PF_InData* in_;
    PF_ParamIndex index_;
    PF_SmartRenderExtra* smart_;
    PF_ParamDef def_ {};
    bool checkedOut_ = false;
    PF_EffectWorld* world_ = nullptr;
};

}  // namespace Quarn::AfterEffects
