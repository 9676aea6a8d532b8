#include "qrAELayerCheckout.h"

#include "qrAEExceptions.h"

namespace Quarn::AfterEffects {

namespace Ex = Quarn::Exceptions;

namespace {
constexpr const char* kFunction = "Quarn::AfterEffects::LayerCheckout::LayerCheckout";
constexpr const char* kSource = "src/host/qrAELayerCheckout.cpp";
}  // namespace

LayerCheckout::LayerCheckout(
    PF_InData* in, PF_ParamIndex index, const char* clipName, PF_SmartRenderExtra* smart)
    : in_(in), index_(index), smart_(smart)
{
    PF_Err err = PF_Err_NONE;
    if (smart) {
        err = smart->cb->checkout_layer_pixels(in->effect_ref, index, &world_);
    } else {
        err = PF_CHECKOUT_PARAM(in, index, in->current_time, in->time_step, in->time_scale, &def_);
        if (err == PF_Err_NONE && def_.u.ld.data)
            world_ = &def_.u.ld;
    }
    if (err == PF_Interrupt_CANCEL)
        throw Ex::AfterEffects::InterruptedCritical(kFunction, kSource, __LINE__, clipName, "checkout");
    if (err != PF_Err_NONE)
        throw Ex::AfterEffects::ClipCheckoutFailed(kFunction, kSource, __LINE__, clipName, "checkout");
    checkedOut_ = true;
}

LayerCheckout::~LayerCheckout()
{
    if (!checkedOut_)
        return;
    if (smart_)
        smart_->cb->checkin_layer_pixels(in_->effect_ref, index_);
    else
        PF_CHECKIN_PARAM(in_, &def_);
}

}  // namespace Quarn::AfterEffects
