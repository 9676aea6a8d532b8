#include "effect/qrRainPipeline.h"

#include <algorithm>
#include <cmath>

namespace Quarn::Rain {

RainSettings rainSettings(const FrameValues& v, double white)
{
    RainSettings s;
    s.seed = v.seed;
    s.frame = int32_t(std::trunc(v.time));
    s.pixelAspect = std::max(float(v.pixelAspect), 0.001f);
    s.inversePixelAspect = 1.0f / s.pixelAspect;
    s.density = float(v.density / v.downsampleY);
    s.angle = float(v.angle);
    s.intensity = float(v.intensity * v.downsampleX);
    s.dropLength = float(v.dropLength * v.downsampleY);
    s.minThreshold = float(v.minThresh * white);
    s.maxThreshold = float(v.maxThresh * white);
    s.x0 = v.extent.x1;
    s.y0 = v.extent.y1;
    s.x1 = v.extent.x2 + 1;
    s.y1 = v.extent.y2 + 1;
    return s;
}

FrameValues readHostValues(Wrapper::HostI& host)
{
    FrameValues v;
    v.time = host.getTime();
    host.getDownsample(v.downsampleX, v.downsampleY);
    v.pixelAspect = host.getPixelAspectRatio();
    v.extent = host.getOutputExtent();
    v.interrupt = host.getInterruptRecord();
    return v;
}

void readRainParams(Wrapper::EffectI& effect, FrameValues& v)
{
    const double t = v.time;
    v.seed = effect.getIntParam("seed", t);
    v.minThresh = effect.getScaleParam("minThresh", t).value();
    v.maxThresh = effect.getScaleParam("maxThresh", t).value();
    v.dropLength = effect.getDoubleParam("dropLength", t);
    v.intensity = effect.getScaleParam("intensity", t).value();
    v.density = effect.getScaleParam("density", t).value();
    v.angle = effect.getAngleParam("angle", t).value();
    v.matteChannel = effect.getIntParam("matteChannel", t);
}

}  // namespace Quarn::Rain
