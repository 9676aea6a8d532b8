#include "effect/qrRainEffect.h"

#include "effect/qrRainKeys.h"
#include "effect/qrRainParamSet.h"
#include "effect/qrRainPipeline.h"

namespace Quarn::Wrapper {

namespace {

struct PresetValues {
    double density;  // fraction
    double dropLength;  // pixels
    double minThresh;
    double maxThresh;
};

// Indexed by preset number - 1: Drizzle, Rain, Shower, Downpour, Cats and
// Dogs, Night Time.
constexpr PresetValues kPresets[] = {
    {0.35, 45.0, 0.9, 1.0},
    {0.6, 50.0, 0.9, 1.0},
    {0.7, 70.0, 0.9, 1.0},
    {0.85, 85.0, 0.9, 1.0},
    {1.0, 100.0, 0.9, 1.0},
    {0.6, 50.0, 0.8, 1.0},
};

}  // namespace

RainEffect::RainEffect(HostI* host, bool forwardToHost) : EffectI(forwardToHost), host_(host)
{
    setName("Nimbrel");
    Rain::declareRainParameters(*this);
    setHost(host);
}

void RainEffect::applyPreset(int32_t preset)
{
    if (preset < kDrizzle || preset > kNightTime)
        return;
    const PresetValues& p = kPresets[preset - kDrizzle];
    setScaleParam(Rain::Key::density, Scale(p.density));
    setDoubleParam(Rain::Key::dropLength, p.dropLength);
    setScaleParam(Rain::Key::minThresh, Scale(p.minThresh));
    setScaleParam(Rain::Key::maxThresh, Scale(p.maxThresh));
}

void RainEffect::attachClip(const auto_ref<Clip>& clip)
{
    if (clips().hsIsDefined(clip->name()))
        clips().hsRemoveObject(clip->name());
    clips().hsAddObject(clip);
}

void RainEffect::render(Depth depth)
{
    HostI& host = *host_;
    switch (depth) {
    case Depth::eight: Quarn::Rain::renderFrame<QrDepth8>(*this, host, motion_); break;
    case Depth::sixteen: Quarn::Rain::renderFrame<QrDepth16>(*this, host, motion_); break;
    case Depth::floating: Quarn::Rain::renderFrame<QrDepthF>(*this, host, motion_); break;
    }
}

}  // namespace Quarn::Wrapper
