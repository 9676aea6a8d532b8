#include "qrAEWrapperClip.h"

#include "qrAEExceptions.h"
#include "qrAEImageCopy.h"
#include "qrAEWrapperHost.h"
#include "qrTexture.h"

#include <cmath>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;

namespace {
constexpr const char* kFetch = "Quarn::AfterEffects::Wrapper::Clip::fetchImageRaw";
constexpr const char* kConnected = "Quarn::AfterEffects::Wrapper::Clip::isConnected";
}  // namespace

Clip::Clip(std::string name, int32_t layerIndex, Host& host, PF_SmartRenderCallbacks* smart)
    : Quarn::Wrapper::Clip(std::move(name)), layerIndex_(layerIndex), host_(host), smart_(smart)
{
}

void Clip::setTexture(QrTexIndexer* texture, double time)
{
    texture_ = texture;
    time_ = time;
}

QrRectI Clip::getRegionOfDefinition(double)
{
    return texture_ ? QrRectI {0, 0, texture_->width(), texture_->height()} : QrRectI {};
}

bool Clip::isConnected()
{
    return texture_ != nullptr || layerIsChosen();
}

bool Clip::layerIsChosen()
{
    PF_InData* in = host_.inData();
    if (smart_) {
        PF_Boolean connected = 0;
        const PF_Err err = smart_->is_layer_connected(in->effect_ref, layerIndex_, &connected);
        if (err == PF_Interrupt_CANCEL)
            throw Ex::AfterEffects::InterruptedCritical(
                kConnected, kAdapterSource, __LINE__, name(), "checkout");
        return err == PF_Err_NONE && connected;
    }
    PF_ParamDef def {};
    host_.checkoutAEParam(layerIndex_, host_.getTime(), def);
    const bool chosen = def.u.ld.data != nullptr;
    host_.checkinAEParam(def);
    return chosen;
}

Quarn::Wrapper::BitDepth Clip::getDepth()
{
    using Quarn::Wrapper::BitDepth;
    if (dynamic_cast<const QrTexture<Pixel::ARGB16>*>(texture_))
        return BitDepth::sixteen;
    if (dynamic_cast<const QrTexture<Pixel::ARGBF>*>(texture_))
        return BitDepth::floating;
    return BitDepth::eight;
}

void Clip::fetchImageRaw(double time, QrTexIndexer* dest)
{
    const bool premultiply =
        host_.paramIsDefined("premultiply") && host_.getBoolParam("premultiply", host_.getTime());
    if (!texture_ || std::abs(time - time_) > 1e-6)
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, name());
    if (!copyTexture(*texture_, dest, premultiply ? kAlphaPremultiply : kAlphaAsIs))
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, "unknown texture pixel type");
}

}  // namespace Quarn::AfterEffects::Wrapper
