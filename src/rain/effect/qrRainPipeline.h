#pragma once
// One frame of the rain effect at one pixel depth, after the host adapter has
// wrapped its images: the host values and parameters are read in a fixed
// order, the matte is made, QrRainProc draws the rain into the output, then
// the alpha is clamped, the source blended in, and the alpha settled by
// "Process". The clamp and the alpha steps run as one pass when no blend
// comes between them, and that pass runs on each row inside the rain pass,
// while the row is in cache, where the result is the same.
// `D` is the depth (QrDepth8, QrDepth16 or QrDepthF).
#include "qrColourBlendProc.h"
#include "qrEffect.h"
#include "qrFunctorProc.h"
#include "matte/qrMatte.h"
#include "motion/qrRainMotion.h"
#include "qrPixelFunctor.h"
#include "proc/qrRainProc.h"
#include "effect/qrRainKeys.h"
#include "effect/qrSettleAlpha.h"
#include "effect/qrSettleAlphaProc.h"
#include "blur/qrVectorBlurPasses.h"
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

// Draws the rain of `source` into `output` (stage 2's processor run), with
// `finish` (when set) applied to each row as soon as the rain is on it.
template <class D>
void drawRain(const typename D::Texture& source, typename D::Texture& output,
    const typename D::MatteTexture* matte, const QrRainSettings& settings, QrInterruptRecord* interrupt,
    typename QrRainProc<D>::RowFinish finish = {})
{
    QrRainProc<D> rain(settings, matte, interrupt);
    rain.setLayerInOutput(true);
    rain.setRowFinish(std::move(finish));
    rain.process(source, output);
}

// Stage 4: blends the source (first input) with the rain in `output` by
// `method` (not 0). A blend needs the alpha clamped first, so it does the
// clamp `settle` holds and takes it out of `settle`.
template <class D>
void blendStage(Wrapper::EffectI& effect, double time, int32_t method, const typename D::Texture& source,
    typename D::Texture& output, int32_t premultiplied, SettleAlpha<typename D::Storage>& settle,
    QrInterruptRecord* interrupt)
{
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
}

// Stage 5: adds to `settle` the alpha steps of "Process" (0 RGB, 1 RGBA) for
// an output whose premultiplication state is `premultiplied`.
template <class P>
void addProcessAlpha(Wrapper::EffectI& effect, Wrapper::HostI& host, double time, int32_t premultiplied,
    SettleAlpha<P>& settle)
{
    using Settle = SettleAlpha<P>;
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
}

// Runs what `settle` holds over the whole of `output` in one pass.
template <class D>
void settleOutput(const typename D::Texture& source, typename D::Texture& output,
    const SettleAlpha<typename D::Storage>& settle, QrInterruptRecord* interrupt)
{
    if (settle.changesNothing())
        return;
    SettleAlphaProc<typename D::Storage> proc(settle, interrupt);
    proc.process(settle.readsSource() ? source : output, output);
}

// Whether the alpha steps can run on each row as the rain pass finishes it
// and give what a pass over the whole output after the rain gives: the rain,
// once its region is fitted to the output as every run fits it (a host's
// extent reaches one pixel past the image), covers exactly what that pass
// would (the output's data window), and no row of the source is the
// output's own, which the rain pass changes.
template <class Tex> bool canSettleInRainPass(const Tex& source, const Tex& output, const QrRainSettings& settings)
{
    if (!settings.region)
        return false;
    QrProcRegion rain;
    rain.set(*settings.region);
    rain.fitTo(output);
    return rain.rect == QrProcRegion::dataWindow(output) && !qrSharesMemory(source, output);
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
    const QrRainSettings settings = rainSettings(v, double(D::kWhite));

    // The rain's alpha is clamped to white before the blend or the alpha
    // stage, whichever comes first.
    SettleAlpha<typename D::Storage> settle;
    settle.clamp = settle.clampCanChange();
    const int32_t premultiplied = host.getPremultiplicationState();
    const int32_t method = effect.getIntParam(Key::blendMethod, v.time);
    if (method == 0) {
        // Nothing comes between the rain and the alpha steps: settle each row
        // while the rain pass still has it in cache when that is the same.
        addProcessAlpha(effect, host, v.time, premultiplied, settle);
        typename QrRainProc<D>::RowFinish finish;
        if (!settle.changesNothing() && canSettleInRainPass(source, output, settings))
            finish = [&settle, &source](int32_t y, typename D::Storage* row, int32_t x0, int32_t x1) {
                settle.settleRow(source, y, x0, x1, row);
            };
        drawRain<D>(source, output, hasMatte ? &matte : nullptr, settings, v.interrupt, finish);
        if (!finish)
            settleOutput<D>(source, output, settle, v.interrupt);
        return;
    }
    drawRain<D>(source, output, hasMatte ? &matte : nullptr, settings, v.interrupt);
    blendStage<D>(effect, v.time, method, source, output, premultiplied, settle, v.interrupt);
    addProcessAlpha(effect, host, v.time, 1, settle);  // a blend leaves the output premultiplied
    settleOutput<D>(source, output, settle, v.interrupt);
}

}  // namespace Quarn::Rain
