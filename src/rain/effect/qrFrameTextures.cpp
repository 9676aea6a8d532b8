#include "effect/qrFrameTextures.h"

namespace Quarn::Rain {

CropSettings readCrops(Wrapper::EffectI& effect, const Wrapper::Rain::Key::Crops& keys, double time)
{
    CropSettings crops;
    crops.left = effect.getDoubleParam(keys.left, time);
    crops.right = effect.getDoubleParam(keys.right, time);
    crops.bottom = effect.getDoubleParam(keys.bottom, time);
    crops.top = effect.getDoubleParam(keys.top, time);
    crops.xMethod = effect.getIntParam(keys.xMethod, time);
    crops.yMethod = effect.getIntParam(keys.yMethod, time);
    const QrPixelRGBAf edge = effect.getRGBAParam(keys.edgeColour, time);
    const float argb[4] = {edge.a, edge.r, edge.g, edge.b};
    std::copy(argb, argb + 4, crops.edgeColour);
    return crops;
}

}  // namespace Quarn::Rain
