#include "qrAERenderDriver.h"

#include "qrAEExceptions.h"
#include "qrAEFailure.h"
#include "qrAEGlobalData.h"
#include "qrAEInterruptChecker.h"
#include "qrAELayerCheckout.h"
#include "qrAEPresetFile.h"
#include "qrAEWrapperClip.h"
#include "qrAEWrapperHost.h"
#include "effect/qrFrameTextures.h"
#include "effect/qrRainEffect.h"
#include "qrTexture.h"

#include <optional>
#include <string>

namespace Quarn::AfterEffects {

namespace Ex = Quarn::Exceptions;

namespace {

constexpr const char* kFunction = "Quarn::AfterEffects::RenderBitInner::RenderInner";
constexpr const char* kSource = "src/NimbrelAE";
constexpr PF_ParamIndex kInputLayer = 0;
constexpr PF_ParamIndex kMatteLayer = 11;

template <class Component>
constexpr Quarn::Wrapper::RainEffect::Depth depthOf()
{
    if constexpr (std::is_same_v<Component, uint8_t>)
        return Quarn::Wrapper::RainEffect::Depth::eight;
    else if constexpr (std::is_same_v<Component, uint16_t>)
        return Quarn::Wrapper::RainEffect::Depth::sixteen;
    else
        return Quarn::Wrapper::RainEffect::Depth::floating;
}

// The captured values of one "Crops" group ("Source" or "Matte" keys).
Rain::CropSettings cropsOf(Wrapper::Host& host, const std::string& group, double now)
{
    Rain::CropSettings crops;
    crops.left = host.getDoubleParam(group + "Left", now);
    crops.right = host.getDoubleParam(group + "Right", now);
    crops.bottom = host.getDoubleParam(group + "Bottom", now);
    crops.top = host.getDoubleParam(group + "Top", now);
    crops.xMethod = host.getIntParam(group + "XMethod", now);
    crops.yMethod = host.getIntParam(group + "YMethod", now);
    const QrPixelRGBAf edge = host.getRGBAParam(group + "EdgeColour", now);
    const float argb[4] = {edge.a, edge.r, edge.g, edge.b};
    std::copy(argb, argb + 4, crops.edgeColour);
    return crops;
}

bool flagIsOn(Wrapper::Host& host, const char* key, double now)
{
    return host.paramIsDefined(key) && host.getBoolParam(key, now);
}

// Replaces the effect's clip of that name with one bound to the host layer.
void registerClip(Quarn::Wrapper::RainEffect& effect, Wrapper::Host& host, const char* name,
                  QrTexIndexer* texture, PF_SmartRenderExtra* smart)
{
    auto clip = Quarn::auto_ref<Quarn::Wrapper::Clip>(
        new Wrapper::Clip(name, host.getClipID(name), host, smart ? smart->cb : nullptr));
    static_cast<Wrapper::Clip*>(clip.get())->setTexture(texture, host.getTime());
    effect.clips().hsRemoveObject(name);
    effect.clips().hsAddObject(clip);
}

template <class Texture>
Texture wrapWorld(const PF_EffectWorld& world)
{
    return Texture(world.width, world.height, world.data, world.rowbytes);
}

}  // namespace

template <class Pixel, class WorkPixel, class Component, int White>
PF_Err RenderBitInner<Pixel, WorkPixel, Component, White>::RenderInner(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output,
    PF_SmartRenderExtra* smart)
{
    using Texture = QrTexture<Pixel, WorkPixel>;
    InterruptChecker checker(in);
    try {
        // 1. The source, wrapped where the host keeps it.
        std::optional<LayerCheckout> input;
        const PF_EffectWorld* inputWorld = nullptr;
        if (smart) {
            input.emplace(in, kInputLayer, "Source", smart);
            inputWorld = input->world();
        } else if (params && params[kInputLayer]) {
            inputWorld = &params[kInputLayer]->u.ld;
        }
        if (!inputWorld || !inputWorld->data)
            throw Ex::Wrapper::FetchImageFailed(kFunction, kSource, __LINE__, "Source");
        Texture source = wrapWorld<Texture>(*inputWorld);

        // 2. The matte layer at the current time, when one is chosen.
        LayerCheckout matteLayer(in, kMatteLayer, "Matte", smart);
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

        // 6. Crop windows, edge methods and colours.
        const bool expand = flagIsOn(host, "expand", now);
        Rain::applyCrops(source, cropsOf(host, "Source", now), expand);
        if (matte)
            Rain::applyCrops(*matte, cropsOf(host, "Matte", now), expand);

        // 7. The developer's preset file.
        if (flagIsOn(host, "savePreset", now))
            writePresetFile(GlobalData::presetFolder(in), host.presetValues());

        // 8. The matte layer centred on the source.
        if (matte)
            Rain::centreOn(*matte, source.width(), source.height());

        // 9. The effect over the adapter, with its clips and the output.
        {
            Quarn::Wrapper::RainEffect effect(&host);
            registerClip(effect, host, "Source", &source, smart);
            registerClip(effect, host, "Matte", matte ? &*matte : nullptr, smart);
            host.setOutputTexture(&target);
            effect.render(depthOf<Component>());
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

template struct RenderBitInner<Pixel::ARGB8, Pixel::ARGBW255, uint8_t, 255>;
template struct RenderBitInner<Pixel::ARGB16, Pixel::ARGBW32768, uint16_t, 32768>;
template struct RenderBitInner<Pixel::ARGBF, Pixel::ARGBWF, float, 1>;

}  // namespace Quarn::AfterEffects
