#pragma once
// Getting a frame's input images ready before the effect runs, the same for
// every host adapter: the crop controls read once (readCrops), the crop
// window of a layer (from the four crop sliders and the two edge-method
// popups, or the whole image when `expand` is on), its edge colour, and the
// centring of the matte layer on the source.
#include "effect/qrRainKeys.h"
#include "qrEffect.h"
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>

namespace Quarn::Rain {

// The values of one "Crops" group as the host shows them: edges in percent
// (Bottom and Top measured from the bottom edge), edge methods as codes
// 0 Colour, 1 Repeat, 2 Reflect, 3 Wrap, and the edge colour as 0..1 ARGB.
struct CropSettings {
    double left = 0.0;
    double right = 100.0;
    double bottom = 0.0;
    double top = 100.0;
    int32_t xMethod = 2;
    int32_t yMethod = 2;
    float edgeColour[4] = {1.0f, 0.0f, 0.0f, 0.0f};
};

// The values of the "Crops" group `keys` (Key::sourceCrops or
// Key::matteCrops) at `time`, as the effect reads them.
CropSettings readCrops(Wrapper::EffectI& effect, const Wrapper::Rain::Key::Crops& keys, double time);

// Crop range of a layer `width` x `height`: x from trunc(left% of width) to
// trunc(right% of width), y (rows count downward) from trunc((1 - top%) of
// height) to trunc((1 - bottom%) of height). setCrop clamps to the image.
template <class S, class W> void applyCrops(QrTexture<S, W>& layer, const CropSettings& crops, bool expand)
{
    const int32_t w = layer.width(), h = layer.height();
    if (expand) {
        layer.setCrop(0, w, 0, h);
        layer.setEdgeMethods(0, 0);
        layer.setEdgeColour(S {});
        return;
    }
    layer.setCrop(int32_t(crops.left * w / 100.0), int32_t(crops.right * w / 100.0),
        int32_t((1.0 - crops.top / 100.0) * h), int32_t((1.0 - crops.bottom / 100.0) * h));
    layer.setEdgeMethods(crops.xMethod, crops.yMethod);
    W colour;
    for (int c = 0; c < 4; ++c)
        colour[c] = float(crops.edgeColour[c] * W::kWhite);
    layer.setEdgeColour(Quarn::Pixel::convert<S>(colour));
}

// Places a matte layer centred on a source `sourceWidth` x `sourceHeight`:
// a smaller layer sits inside it, a larger one hangs over every edge.
template <class S, class W> void centreOn(QrTexture<S, W>& layer, int32_t sourceWidth, int32_t sourceHeight)
{
    layer.setOrigin(int32_t((sourceWidth - layer.width()) / 2), int32_t((sourceHeight - layer.height()) / 2));
}

}  // namespace Quarn::Rain
