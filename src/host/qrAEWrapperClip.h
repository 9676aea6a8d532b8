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

    QrRectI getRegionOfDefinition(double time) override;
    bool isConnected() override;
    Quarn::Wrapper::BitDepth getDepth() override;
    // FetchImageFailed when the clip has no image at `time` or its texture
    // or the destination is of no known pixel type.
    void fetchImageRaw(double time, QrTexIndexer* dest) override;

private:
    bool layerIsChosen();

    QrTexIndexer* texture_ = nullptr;
    double time_ = 0.0;
    int32_t layerIndex_;
    Host& host_;
    PF_SmartRenderCallbacks* smart_;
};

}  // namespace Quarn::AfterEffects::Wrapper
