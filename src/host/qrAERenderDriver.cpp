#include "qrAERenderDriver.h"

#include "qrAEExceptions.h"
#include "qrAEFailure.h"
#include "qrAEGlobalData.h"
#include "qrAEInterruptChecker.h"
#include "qrAELayerCheckout.h"
#include "qrAEPresetFile.h"
#include "qrAERainMotion.h"
#include "qrAEWrapperClip.h"
#include "qrAEWrapperHost.h"
#include "effect/qrFrameTextures.h"
#include "effect/qrRainEffect.h"
#include "effect/qrRainKeys.h"
#include "effect/qrRainParamTable.h"
#include "qrTexture.h"

#include <optional>

namespace Quarn::AfterEffects {

namespace Ex = Quarn::Exceptions;
namespace Key = Quarn::Wrapper::Rain::Key;

namespace {

constexpr const char* kFunction = "Quarn::AfterEffects::RenderBitInner::RenderInner";
constexpr const char* kSource = "src/host/qrAERenderDriver.cpp";

template <class D> constexpr Quarn::Wrapper::RainEffect::Depth depthOf()
{
    if constexpr (std::is_same_v<D, QrDepth8>)
        return Quarn::Wrapper::RainEffect::Depth::eight;
    else if constexpr (std::is_same_v<D, QrDepth16>)
        return Quarn::Wrapper::RainEffect::Depth::sixteen;
    else
        return Quarn::Wrapper::RainEffect::Depth::floating;
}

PF_ParamIndex hostIndex(const char* key)
{
    return PF_ParamIndex(Quarn::Wrapper::Rain::rainHostIndex(key));
}

bool flagIsOn(Wrapper::Host& host, const char* key, double now)
{
    return host.paramIsDefined(key) && host.getBoolParam(key, now);
}

// A clip bound to the host layer of that name, showing `texture`.
Quarn::auto_ref<Quarn::Wrapper::Clip> layerClip(
    Wrapper::Host& host, const char* name, QrTexIndexer* texture, PF_SmartRenderExtra* smart)
{
    auto* clip = new Wrapper::Clip(name, host.getClipID(name), host, smart ? smart->cb : nullptr);
    clip->setTexture(texture, host.getTime());
    return Quarn::auto_ref<Quarn::Wrapper::Clip>(clip);
}

template <class Texture> Texture wrapWorld(const PF_EffectWorld& world)
{
    return Texture(world.width, world.height, world.data, world.rowbytes);
}

}  // namespace

template <class D>
PF_Err RenderBitInner<D>::RenderInner(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output, PF_SmartRenderExtra* smart)
{
    using Texture = typename D::Texture;
    InterruptChecker checker(in);
    const PF_ParamIndex inputLayer = hostIndex(Key::sourceClip);
    try {
        // 1. The source, wrapped where the host keeps it.
        std::optional<LayerCheckout> input;
        const PF_EffectWorld* inputWorld = nullptr;
        if (smart) {
            input.emplace(in, inputLayer, Key::sourceClip, smart);
            inputWorld = input->world();
        } else if (params && params[inputLayer]) {
            inputWorld = &params[inputLayer]->u.ld;
        }
        if (!inputWorld || !inputWorld->data)
            throw Ex::Wrapper::FetchImageFailed(kFunction, kSource, __LINE__, Key::sourceClip);
        Texture source = wrapWorld<Texture>(*inputWorld);

        // 2. The matte layer at the current time, when one is chosen.
        LayerCheckout matteLayer(in, hostIndex(Key::matteClip), Key::matteClip, smart);
        std::optional<Texture> matte;
        if (matteLayer.world())
            matte = wrapWorld<Texture>(*matteLayer.world());

        // 3. The output.
        if (!output || !output->data)
            throw Ex::OutOfMemory(kFunction, kSource, __LINE__, "AE Output buffer is null!");
        Texture target = wrapWorld<Texture>(*output);

        // 4, 5. The adapter and every value at the current time.
        Wrapper::Host host(in, out, params, output, &checker);
        host.bindRainMappings();
        host.captureValues(smart != nullptr);
        const double now = host.getTime();

        // 6 to 9. The effect over the adapter: it reads the crops, then
        // renders with its clips and the output.
        {
            Quarn::Wrapper::RainEffect effect(&host);
            const bool expand = flagIsOn(host, "expand", now);
            Rain::applyCrops(source, Rain::readCrops(effect, Key::sourceCrops, now), expand);
            if (matte)
                Rain::applyCrops(*matte, Rain::readCrops(effect, Key::matteCrops, now), expand);

            // The developer's preset file.
            if (flagIsOn(host, "savePreset", now))
                writePresetFile(GlobalData::presetFolder(in), host.presetValues());

            if (matte)
                Rain::centreOn(*matte, source.width(), source.height());
            effect.attachClip(layerClip(host, Key::sourceClip, &source, smart));
            effect.attachClip(layerClip(host, Key::matteClip, matte ? &*matte : nullptr, smart));
            host.setOutputTexture(&target);
            effect.setMotion(hostRainMotion(in));
            effect.render(depthOf<D>());
        }
        // 10. The effect is gone; the adapter gives its suites back, and the
        // layers are checked in as their holders end.
        host.releaseSuites();
    } catch (...) {
        return translateFailure(out, kFunction, kSource, __LINE__);
    }
    // 11. Nothing was thrown: the interrupt checker decides.
    return checker.resultCode();
}

template struct RenderBitInner<QrDepth8>;
template struct RenderBitInner<QrDepth16>;
template struct RenderBitInner<QrDepthF>;

}  // namespace Quarn::AfterEffects
