#include "effect/qrRainPipeline.h"

#include "effect/qrRainKeys.h"

#include <algorithm>
#include <cmath>

namespace Quarn::Rain {

namespace Key = Wrapper::Rain::Key;

QrRainSettings rainSettings(const FrameValues& v, double white)
{
    QrRainSettings s;
    s.seed = v.seed;
    s.frame = int32_t(std::trunc(v.time));
    s.pixelAspect = std::max(float(v.pixelAspect), 0.001f);
    s.density = float(v.density / v.downsampleY);
    s.angle = float(v.angle);
    s.intensity = float(v.intensity * v.downsampleX);
    s.dropLength = float(v.dropLength * v.downsampleY);
    s.minThreshold = float(v.minThresh * white);
    s.maxThreshold = float(v.maxThresh * white);
    s.region = QrRect {v.extent.x1, v.extent.y1, v.extent.x2 + 1, v.extent.y2 + 1};
    s.motion = v.motion.scaled(v.downsampleY);
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
    v.seed = effect.getIntParam(Key::seed, t);
    v.minThresh = effect.getScaleParam(Key::minThresh, t).value();
    v.maxThresh = effect.getScaleParam(Key::maxThresh, t).value();
    v.dropLength = effect.getDoubleParam(Key::dropLength, t);
    v.intensity = effect.getScaleParam(Key::intensity, t).value();
    v.density = effect.getScaleParam(Key::density, t).value();
    v.angle = effect.getAngleParam(Key::angle, t).value();
    v.matteChannel = effect.getIntParam(Key::matteChannel, t);
}

}  // namespace Quarn::Rain
