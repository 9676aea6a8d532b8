#pragma once
// A clip of the effect bound to one host layer parameter ("Source" 0,
// "Matte" 11). The render driver gives it the texture that wraps the
// layer's world for the frame; fetches at that frame copy (or share) it
// into the effect's texture. Without a texture the clip asks the host
// whether a layer is chosen.
#include "qrClip.h"

#include <AE_Effect.h>

#include <cstdint>
#include <string>

class QrTexIndexer;

namespace Quarn::AfterEffects::Wrapper {

class Host;

class Clip : public Quarn::Wrapper::Clip {
public:
    // `smart` is the smart-render callbacks of a smart render, else null.
    Clip(std::string name, int32_t layerIndex, Host& host, PF_SmartRenderCallbacks* smart);

    // The texture wrapping the layer at frame `time` (null: no layer).
    // The driver keeps it alive for the clip's lifetime.
    void setTexture(QrTexIndexer* texture, double time);
    QrTexIndexer* texture() const { return texture_; }
    double time() const { return time_; }
    int32_t layerIndex() const { return layerIndex_; }
    bool isSmartRender() const { return smart_ != nullptr; }

    // `dest` becomes the clip's texture itself, sharing its pixels; false
    // without a texture or for a destination of another pixel type.
    bool copyTexureAndPointer(QrTexIndexer* dest) const;

    QrRectI getRegionOfDefinition(double time) override;
    bool isConnected() override;
    Quarn::Wrapper::BitDepth getDepth() override;
    // At the clip's own time, its texture; at another frame the effect said
    // it needs (classic render), the layer as the host gives it at that
    // time. FetchImageFailed otherwise, or when the texture or the
    // destination is of no known pixel type.
    void fetchImageRaw(double time, QrTexIndexer* dest) override;
    // Tells the host adapter which frames the effect will fetch.
    void setFramesNeeded(double first, double last) override;
    // The frames of the effect's layer while a layer is connected.
    Quarn::Wrapper::FrameRange getFrameRange() override;

private:
    bool layerIsChosen();
    // The layer checked out at `time`, copied into `dest` and checked in.
    void fetchOtherFrame(double time, QrTexIndexer* dest, int alphaMode);

    QrTexIndexer* texture_ = nullptr;
    double time_ = 0.0;
    int32_t layerIndex_;
    Host& host_;
    PF_SmartRenderCallbacks* smart_;
};

}  // namespace Quarn::AfterEffects::Wrapper
