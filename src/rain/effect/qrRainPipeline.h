#pragma once
// One frame of the rain effect at one pixel depth, after the host adapter has
// wrapped its images: the host values and parameters are read in a fixed
// order, the matte is made, QrRainProc draws the rain into the output, then
// the alpha is clamped, the source blended in, and the alpha settled by
// "Process" (the clamp and the alpha steps in one pass when no blend comes
// between them). `D` is the depth (QrDepth8, QrDepth16 or QrDepthF).
#include "qrColourBlendProc.h"
#include "qrEffect.h"
#include "qrFunctorProc.h"
#include "matte/qrMatte.h"
#include "motion/qrRainMotion.h"
#include "qrPixelFunctor.h"
#include "proc/qrRainProc.h"
#include "effect/qrRainKeys.h"
#include "effect/qrSettleAlpha.h"
#include "qrWrapperHost.h"

#include <cstdint>

namespace Quarn::Rain {

namespace Key = Wrapper::Rain::Key;

// Host values and parameters of one frame, as the effect reads them.
struct FrameValues {
    double time = 0.0;
    double downsampleX = 1.0;
    double downsampleY = 1.0;
    double pixelAspect = 1.0;
    QrRectI extent;  // inclusive of x2, y2 as the host gives it
    QrInterruptRecord* interrupt = nullptr;
    int32_t seed = 13;
    double minThresh = 0.9;  // fractions of white
    double maxThresh = 1.0;
    double dropLength = 50.0;  // pixels at full resolution
    double intensity = 1.0;
    double density = 0.6;
    double angle = -1.5707963267948966;  // radians
    int32_t matteChannel = 0;
    QrRainMotion motion;  // at full resolution; the effect's own, not a host control
};

// What the rain processor is given for a frame at a depth whose white is
// `white`: resolution-dependent values (the motion's speeds too) scaled by the
// downsample factors, the region the host's output extent.
QrRainSettings rainSettings(const FrameValues& values, double white);

// The host's time, downsample, pixel aspect, extent and interrupt record.
FrameValues readHostValues(Wrapper::HostI& host);
// The rain parameters at `values.time`, in the order the effect reads them.
void readRainParams(Wrapper::EffectI& effect, FrameValues& values);

// Runs one functor processor over the whole of `image`.
template <class F, class Tex> void applyInPlace(Tex& image, const F& functor, QrInterruptRecord* interrupt)
{
    Processor::Functor1<typename Tex::StoragePixel, F> proc(functor, interrupt);
    proc.process(image);
}

template <class F, class Tex>
void applyFrom(Tex& image, const Tex& other, const F& functor, QrInterruptRecord* interrupt)
{
    Processor::Functor2<typename Tex::StoragePixel, typename Tex::StoragePixel, F> proc(functor, interrupt);
    proc.process(other, image);
}

// Draws the rain of `source` into `output` (stage 2's processor run).
template <class D>
void drawRain(const typename D::Texture& source, typename D::Texture& output,
    const typename D::MatteTexture* matte, const QrRainSettings& settings, QrInterruptRecord* interrupt)
{
    QrRainProc<D> rain(settings, matte, interrupt);
    rain.setLayerInOutput(true);
    rain.process(source, output);
}

// Stage 4: blends the source (first input) with the rain in `output`. A
// blend needs the alpha clamped first, so it does the clamp `settle` holds
// and takes it out of `settle`. Returns the premultiplication state of the
// output afterwards.
template <class D>
int32_t blendStage(Wrapper::EffectI& effect, double time, const typename D::Texture& source,
    typename D::Texture& output, int32_t premultiplied, SettleAlpha<typename D::Storage>& settle,
    QrInterruptRecord* interrupt)
{
    const int32_t method = effect.getIntParam(Key::blendMethod, time);
    if (method == 0)
        return premultiplied;
    if (settle.clamp)
        applyInPlace(output, PixelFunctor::ClampChannel {0.0f, float(D::kWhite), 0}, interrupt);
    settle.clamp = false;
    QrColourBlendProc<typename D::Storage> blend(method,
        float(effect.getDoubleParam(Key::blendSrc, time) / 100.0),
        float(effect.getDoubleParam(Key::blendEffect, time) / 100.0),
        float(effect.getDoubleParam(Key::blendMix, time) / 100.0));
    blend.setInterruptRecord(interrupt);
    blend.setPremultiplySource(1);
    blend.setPremultiplyEffect(premultiplied);
    blend.setUnpremultiplyResult(1);
    blend.setClampInputs(effect.getBoolParam(Key::clampBlendAtFloat, time));
    blend.process(source, output);
    return 1;
}

// Stage 5: the output's alpha by "Process" (0 RGB, 1 RGBA), in one pass with
// whatever `settle` already holds.
template <class D>
void processAlphaStage(Wrapper::EffectI& effect, Wrapper::HostI& host, double time,
    const typename D::Texture& source, typename D::Texture& output, int32_t premultiplied,
    SettleAlpha<typename D::Storage> settle, QrInterruptRecord* interrupt)
{
    using Settle = SettleAlpha<typename D::Storage>;
    const int32_t process = effect.getIntParam(Key::process, time);
    if (process == 1 && premultiplied != 1)
        settle.scale = Settle::Scale::unmultiply;
    if (process == 0 && premultiplied == 1)
        settle.scale = Settle::Scale::multiply;
    switch (host.forwardPopupMapping(Key::process, process)) {
    case 0: settle.take = Settle::Take::sourceAlpha; break;
    case 2: settle.take = Settle::Take::opaque; break;
    case 3: settle.take = Settle::Take::sourceColour; break;
    default: break;  // 1: the rain's own alpha stays
    }
    if (settle.readsSource())
        applyFrom(output, source, settle, interrupt);
    else if (!settle.changesNothing())
        applyInPlace(output, settle, interrupt);
}

// Stages 2 to 5 of one frame at depth D, with the rain moving by `motion`
// (given at full resolution).
template <class D>
void renderFrame(Wrapper::EffectI& effect, Wrapper::HostI& host, const QrRainMotion& motion)
{
    FrameValues v = readHostValues(host);
    typename D::Texture output;
    if (!host.fetchOutputImageRaw(&output))
        throw Exceptions::Wrapper::FetchImageFailed(
            "Quarn::Wrapper::RainEffect::render", "src/rain/effect/qrRainPipeline.h", __LINE__, "output");
    readRainParams(effect, v);
    v.motion = motion;
    typename D::Texture source;
    effect.clips().hsGetObject(Key::sourceClip, true)->fetchImageRaw(v.time, &source);

    typename D::MatteTexture matte;
    bool hasMatte = false;
    if (v.matteChannel > 0 && effect.clips().isConnected(Key::matteClip))
        hasMatte = makeMatte(effect.clips(), v.time, source, matte, v.matteChannel, v.interrupt);
    drawRain<D>(source, output, hasMatte ? &matte : nullptr, rainSettings(v, double(D::kWhite)), v.interrupt);

    // The rain's alpha is clamped to white before the blend or the alpha
    // stage, whichever comes first.
    SettleAlpha<typename D::Storage> settle;
    settle.clamp = settle.clampCanChange();
    int32_t premultiplied = host.getPremultiplicationState();
    premultiplied = blendStage<D>(effect, v.time, source, output, premultiplied, settle, v.interrupt);
    processAlphaStage<D>(effect, host, v.time, source, output, premultiplied, settle, v.interrupt);
}

}  // namespace Quarn::Rain
