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
    const int alphaMode = premultiply ? kAlphaPremultiply : kAlphaAsIs;
    if (std::abs(time - time_) > 1e-6 && !smart_ && host_.frameIsNeeded(layerIndex_, time))
        return fetchOtherFrame(time, dest, alphaMode);
    if (!texture_ || std::abs(time - time_) > 1e-6)
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, name());
    if (!copyTexture(*texture_, dest, alphaMode))
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, "unknown texture pixel type");
}

void Clip::fetchOtherFrame(double time, QrTexIndexer* dest, int alphaMode)
{
    struct CheckedOut {
        Host& host;
        PF_ParamDef def {};
        ~CheckedOut() { host.checkinAEParam(def); }
    } layer {host_};
    host_.checkoutAEParam(layerIndex_, time, layer.def);
    const PF_EffectWorld& w = layer.def.u.ld;
    if (!w.data)
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, name());
    // Checked-out layers have the depth of the command's output.
    const bool copied = (w.world_flags & PF_WorldFlag_DEEP)
        ? copyTexturePixels(QrTexture<Pixel::ARGB16>(w.width, w.height, w.data, w.rowbytes), dest, alphaMode)
        : copyTexturePixels(QrTexture<Pixel::ARGB8>(w.width, w.height, w.data, w.rowbytes), dest, alphaMode);
    if (!copied)
        throw Ex::Wrapper::FetchImageFailed(kFetch, kAdapterSource, __LINE__, "unknown texture pixel type");
}

bool Clip::copyTexureAndPointer(QrTexIndexer* dest) const
{
    return texture_ && shareTexture(*texture_, dest);
}

void Clip::setFramesNeeded(double first, double last)
{
    host_.setFramesNeeded(name(), first, last);
}

Quarn::Wrapper::FrameRange Clip::getFrameRange()
{
    return isConnected() ? host_.getLayerFrameRange() : Quarn::Wrapper::FrameRange {};
}

}  // namespace Quarn::AfterEffects::Wrapper
