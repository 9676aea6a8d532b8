// The AEGP suites: the effect's layer, composition and item, and the
// keyframed streams of its own parameters.
#include "qrHostCallbacks.h"

#include "qrHostServices.h"

#include <cmath>
#include <cstring>

namespace Quarn::Host {

namespace {

EffectHost* currentHost()
{
    return HostCallbacks::current();
}

// A handle is good when it is the current host's own object.
template <typename Body> bool ownedBy(const Body* body)
{
    return body && body->host == currentHost();
}

double toSeconds(const A_Time& t)
{
    return t.scale ? double(t.value) / t.scale : 0.0;
}

A_Time toTime(EffectHost& host, double seconds)
{
    const A_u_long scale = HostSuites::properties(host).timeScale;
    return {static_cast<A_long>(std::lround(seconds * scale)), scale};
}

PF_Err effectLayer(PF_ProgPtr ref, AEGP_LayerH* layer)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !layer)
        return HostSuites::bad(host);
    *layer = &HostSuites::services(*host).layer;
    return PF_Err_NONE;
}

PF_Err newEffect(AEGP_PluginID, PF_ProgPtr ref, AEGP_EffectRefH* effect)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !effect)
        return HostSuites::bad(host);
    return guarded([&] {
        auto made = std::make_unique<AEGP_Effect>(AEGP_Effect {host});
        *effect = made.get();
        HostSuites::services(*host).effects.emplace(made.get(), std::move(made));
        return PF_Err_NONE;
    });
}

PF_Err disposeEffect(AEGP_EffectRefH effect)
{
    if (!ownedBy(effect) || !HostSuites::services(*effect->host).effects.erase(effect))
        return HostSuites::bad(currentHost());
    return PF_Err_NONE;
}

PF_Err effectToCompTime(PF_ProgPtr ref, A_long time, A_u_long scale, A_Time* comp)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !comp)
        return HostSuites::bad(host);
    *comp = {time, scale};  // the effect's layer starts with the composition
    return PF_Err_NONE;
}

PF_Err layerParentComp(AEGP_LayerH layer, AEGP_CompH* comp)
{
    if (!ownedBy(layer) || !comp)
        return HostSuites::bad(currentHost());
    *comp = &HostSuites::services(*layer->host).comp;
    return PF_Err_NONE;
}

PF_Err layerObjectType(AEGP_LayerH layer, AEGP_ObjectType* type)
{
    if (!ownedBy(layer) || !type)
        return HostSuites::bad(currentHost());
    *type = AEGP_ObjectType_AV;
    return PF_Err_NONE;
}

PF_Err compItem(AEGP_CompH comp, AEGP_ItemH* item)
{
    if (!ownedBy(comp) || !item)
        return HostSuites::bad(currentHost());
    *item = &HostSuites::services(*comp->host).item;
    return PF_Err_NONE;
}

PF_Err compFramerate(AEGP_CompH comp, A_FpLong* fps)
{
    if (!ownedBy(comp) || !fps)
        return HostSuites::bad(currentHost());
    const HostProperties& p = HostSuites::properties(*comp->host);
    *fps = p.timeStep ? double(p.timeScale) / p.timeStep : 0.0;
    return PF_Err_NONE;
}

PF_Err itemDimensions(AEGP_ItemH item, A_long* width, A_long* height)
{
    if (!ownedBy(item) || !width || !height)
        return HostSuites::bad(currentHost());
    const auto& source = item->host->param(0).layer();
    *width = source ? source->width() : 0;
    *height = source ? source->height() : 0;
    return PF_Err_NONE;
}

PF_Err itemDuration(AEGP_ItemH item, A_Time* duration)
{
    if (!ownedBy(item) || !duration)
        return HostSuites::bad(currentHost());
    const HostProperties& p = HostSuites::properties(*item->host);
    *duration = {p.totalTime, p.timeScale};
    return PF_Err_NONE;
}

PF_Err lightType(AEGP_LayerH layer, AEGP_LightType* type)
{
    if (!ownedBy(layer) || !type)
        return HostSuites::bad(currentHost());
    *type = AEGP_LightType_NONE;
    return PF_Err_NONE;
}

PF_Err newStream(AEGP_PluginID, AEGP_EffectRefH effect, PF_ParamIndex index, AEGP_StreamRefH* stream)
{
    if (!ownedBy(effect) || !stream || index < 0 || index >= effect->host->paramCount() ||
        !effect->host->param(index).holdsValue())
        return HostSuites::bad(currentHost());
    return guarded([&] {
        auto made = std::make_unique<AEGP_Stream>(AEGP_Stream {effect->host, index});
        *stream = made.get();
        HostSuites::services(*effect->host).streams.emplace(made.get(), std::move(made));
        return PF_Err_NONE;
    });
}

bool live(AEGP_StreamRefH stream)
{
    return ownedBy(stream) && HostSuites::services(*stream->host).streams.count(stream);
}

PF_Err disposeStream(AEGP_StreamRefH stream)
{
    if (!live(stream))
        return HostSuites::bad(currentHost());
    HostSuites::services(*stream->host).streams.erase(stream);
    return PF_Err_NONE;
}

PF_Err isTimevarying(AEGP_StreamRefH stream, A_Boolean* varying)
{
    if (!live(stream) || !varying)
        return HostSuites::bad(currentHost());
    *varying = stream->host->param(stream->index).keyCount() > 0;
    return PF_Err_NONE;
}

PF_Err numKeys(AEGP_StreamRefH stream, A_long* count)
{
    if (!live(stream) || !count)
        return HostSuites::bad(currentHost());
    *count = stream->host->param(stream->index).keyCount();
    return PF_Err_NONE;
}

PF_Err keyTime(AEGP_StreamRefH stream, A_long key, A_Time* time)
{
    if (!live(stream) || !time || key < 0 || key >= stream->host->param(stream->index).keyCount())
        return HostSuites::bad(currentHost());
    *time = toTime(*stream->host, stream->host->param(stream->index).keyTime(key));
    return PF_Err_NONE;
}

AEGP_StreamVal streamVal(const HostParam& param, double seconds)
{
    AEGP_StreamVal v {};
    if (param.type() == PF_Param_COLOR) {
        const PF_Pixel p = param.colour(seconds);
        v.color = {p.alpha / 255.0, p.red / 255.0, p.green / 255.0, p.blue / 255.0};
    } else {
        v.one_d = param.number(seconds);
    }
    return v;
}

PF_ParamDefUnion paramValue(const HostParam& param, const AEGP_StreamVal& v)
{
    if (param.type() != PF_Param_COLOR)
        return param.withNumber(v.one_d);
    auto byte = [](double c) { return A_u_char(std::lround(std::fmin(std::fmax(c, 0.0), 1.0) * 255)); };
    PF_ParamDefUnion u = param.definition().u;
    u.cd.value = {byte(v.color.alphaF), byte(v.color.redF), byte(v.color.greenF), byte(v.color.blueF)};
    return u;
}

PF_Err newStreamValue(AEGP_PluginID, AEGP_StreamRefH stream, const A_Time* time, AEGP_StreamValue* value)
{
    if (!live(stream) || !time || !value || time->scale == 0)
        return HostSuites::bad(currentHost());
    value->streamH = stream;
    value->val = streamVal(stream->host->param(stream->index), toSeconds(*time));
    ++HostSuites::services(*stream->host).streamValues;
    return PF_Err_NONE;
}

PF_Err disposeStreamValue(AEGP_StreamValue* value)
{
    EffectHost* host = currentHost();
    if (!host || !value || HostSuites::services(*host).streamValues == 0)
        return HostSuites::bad(host);
    --HostSuites::services(*host).streamValues;
    return PF_Err_NONE;
}

PF_Err setStreamValue(AEGP_PluginID, AEGP_StreamRefH stream, const AEGP_StreamValue* value)
{
    if (!live(stream) || !value)
        return HostSuites::bad(currentHost());
    HostParam& param = HostSuites::param(*stream->host, stream->index);
    if (param.keyCount() > 0)
        return HostSuites::bad(stream->host);
    return guarded([&] {
        param.setValue(paramValue(param, value->val), 0.0);
        return PF_Err_NONE;
    });
}

PF_Err insertKey(AEGP_StreamRefH stream, const A_Time* time, A_long* key)
{
    if (!live(stream) || !time || !key || time->scale == 0)
        return HostSuites::bad(currentHost());
    HostParam& param = HostSuites::param(*stream->host, stream->index);
    if (!param.canTimeVary())
        return HostSuites::bad(stream->host);
    const double seconds = toSeconds(*time);
    return guarded([&] {
        param.setKey(seconds, param.at(seconds).u);
        for (A_long k = 0; k < param.keyCount(); ++k)
            if (param.keyTime(k) == seconds)
                *key = k;
        return PF_Err_NONE;
    });
}

PF_Err setKeyValue(AEGP_StreamRefH stream, A_long key, const AEGP_StreamValue* value)
{
    if (!live(stream) || !value)
        return HostSuites::bad(currentHost());
    HostParam& param = HostSuites::param(*stream->host, stream->index);
    if (key < 0 || key >= param.keyCount())
        return HostSuites::bad(stream->host);
    return guarded([&] {
        param.setKey(param.keyTime(key), paramValue(param, value->val));
        return PF_Err_NONE;
    });
}

PF_Err deleteKey(AEGP_StreamRefH stream, A_long key)
{
    if (!live(stream))
        return HostSuites::bad(currentHost());
    HostParam& param = HostSuites::param(*stream->host, stream->index);
    if (key < 0 || key >= param.keyCount())
        return HostSuites::bad(stream->host);
    return guarded([&] {
        param.deleteKey(key);
        return PF_Err_NONE;
    });
}

const AEGP_PFInterfaceSuite1 kPFInterface {effectLayer, newEffect, disposeEffect, effectToCompTime};
const AEGP_LayerSuite8 kLayer {layerParentComp, layerObjectType};
const AEGP_CompSuite11 kComp {compItem, compFramerate};
const AEGP_ItemSuite9 kItem {itemDimensions, itemDuration};
const AEGP_LightSuite2 kLight {lightType};
const AEGP_StreamSuite5 kStream {newStream, disposeStream, isTimevarying, numKeys, keyTime, newStreamValue,
    disposeStreamValue, setStreamValue, insertKey, setKeyValue, deleteKey};

}  // namespace

const void* HostSuites::findAegp(const char* name, A_long version)
{
    struct Entry {
        const char* name;
        A_long version;
        const void* table;
    };
    static const Entry entries[] = {
        {kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, &kPFInterface},
        {kAEGPLayerSuite, kAEGPLayerSuiteVersion8, &kLayer},
        {kAEGPCompSuite, kAEGPCompSuiteVersion11, &kComp},
        {kAEGPItemSuite, kAEGPItemSuiteVersion9, &kItem},
        {kAEGPLightSuite, kAEGPLightSuiteVersion2, &kLight},
        {kAEGPStreamSuite, kAEGPStreamSuiteVersion5, &kStream},
    };
    for (const Entry& e : entries)
        if (std::strcmp(e.name, name) == 0 && e.version == version)
            return e.table;
    return nullptr;
}

}  // namespace Quarn::Host
