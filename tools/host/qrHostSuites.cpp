// The PF suites: worlds, parameter UI and keyframes, colours, the app.
#include "qrHostCallbacks.h"

#include "qrCommandState.h"
#include "qrHostServices.h"

#include <AE_EffectSuites.h>

#include <cmath>
#include <cstring>
#include <new>

namespace Quarn::Host {

namespace {

EffectHost* currentHost()
{
    return HostCallbacks::current();
}

bool sameName(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}

std::optional<Depth> depthOf(PF_PixelFormat format)
{
    for (Depth d : {Depth::Bits8, Depth::Bits16, Depth::Float})
        if (pixelFormat(d) == format)
            return d;
    return std::nullopt;
}

PF_Err newWorld(
    PF_ProgPtr ref, A_long width, A_long height, PF_Boolean, PF_PixelFormat format, PF_EffectWorld* world)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    const auto depth = depthOf(format);
    if (!host || !world || !depth || width < 0 || height < 0)
        return HostSuites::bad(host);
    try {
        auto made = std::make_unique<HostWorld>(width, height, *depth);
        *world = made->world();
        HostSuites::services(*host).pluginWorlds.emplace(world->data, std::move(made));
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
    return PF_Err_NONE;
}

PF_Err disposeWorld(PF_ProgPtr ref, PF_EffectWorld* world)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !world)
        return HostSuites::bad(host);
    if (HostSuites::services(*host).pluginWorlds.erase(world->data) == 0)
        return HostSuites::bad(host);
    world->data = nullptr;
    return PF_Err_NONE;
}

// Finds a world the host lent or made by its pixel address.
const HostWorld* lentWorld(EffectHost& host, const void* data)
{
    const CommandState& s = HostCallbacks::state(host);
    for (const HostWorld* w : {s.input, s.output})
        if (w && w->world().data == data)
            return w;
    if (auto it = s.layerWorlds.find(data); it != s.layerWorlds.end())
        return it->second.get();
    for (const auto& [id, w] : s.smartPixels)
        if (w && w->world().data == data)
            return w.get();
    const auto& made = HostSuites::services(host).pluginWorlds;
    if (auto it = made.find(data); it != made.end())
        return it->second.get();
    return nullptr;
}

PF_Err getPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format)
{
    EffectHost* host = currentHost();
    if (!host || !world || !format || !world->data)
        return HostSuites::bad(host);
    const HostWorld* found = lentWorld(*host, world->data);
    if (!found)
        return HostSuites::bad(host);
    const auto forced = HostSuites::outputFormat(*host);
    const bool isOutput = found == HostCallbacks::state(*host).output;
    *format = isOutput && forced ? *forced : found->format();
    return PF_Err_NONE;
}

PF_Err updateParamUI(PF_ProgPtr ref, PF_ParamIndex index, const PF_ParamDef* def)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !def || index < 0 || index >= host->paramCount())
        return HostSuites::bad(host);
    HostParam& param = HostSuites::param(*host, index);
    if (def->param_type != param.type())
        return HostSuites::bad(host);
    param.setUIFlags(def->ui_flags);
    if (def->uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) {
        try {
            param.setValue(def->u, host->currentSeconds());
        } catch (...) {
            return HostSuites::bad(host);
        }
    }
    HostSuites::noteUIUpdate(*host, index);
    return PF_Err_NONE;
}

PF_Err keyframeCount(PF_ProgPtr ref, PF_ParamIndex index, A_long* count)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !count || index < 0 || index >= host->paramCount())
        return HostSuites::bad(host);
    *count = host->param(index).keyCount();
    return PF_Err_NONE;
}

PF_Err keyIndexToTime(PF_ProgPtr ref, PF_ParamIndex index, A_long key, A_long* time, A_u_long* scale)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !time || !scale || index < 0 || index >= host->paramCount() || key < 0 ||
        key >= host->param(index).keyCount())
        return HostSuites::bad(host);
    *scale = HostSuites::properties(*host).timeScale;
    *time = static_cast<A_long>(std::lround(host->param(index).keyTime(key) * *scale));
    return PF_Err_NONE;
}

PF_Err floatColour(PF_ProgPtr ref, const PF_ParamDef* def, PF_PixelFloat* colour)
{
    EffectHost* host = HostCallbacks::hostOf(ref);
    if (!host || !def || !colour || def->param_type != PF_Param_COLOR)
        return HostSuites::bad(host);
    const PF_Pixel& p = def->u.cd.value;
    *colour = {p.alpha / 255.0f, p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
    return PF_Err_NONE;
}

PF_Err mainWindow(PF_HostWindow** window)
{
    EffectHost* host = currentHost();
    if (!host || !window)
        return HostSuites::bad(host);
    *window = &HostSuites::services(*host).window;
    return PF_Err_NONE;
}

PF_Err backgroundColour(PF_Pixel* colour)
{
    if (!colour)
        return HostSuites::bad(currentHost());
    *colour = {255, 64, 64, 64};
    return PF_Err_NONE;
}

const PF_WorldSuite2 kWorldSuite {newWorld, disposeWorld, getPixelFormat};
const PF_ParamUtilsSuite3 kParamUtilsSuite {updateParamUI, keyframeCount, keyIndexToTime};
const PF_ColorParamSuite1 kColorParamSuite {floatColour};
const PF_AppSuite4 kAppSuite {mainWindow, backgroundColour};

}  // namespace

const void* HostSuites::find(const char* name, A_long version)
{
    struct Entry {
        const char* name;
        A_long version;
        const void* table;
    };
    static const Entry entries[] = {
        {kPFWorldSuite, kPFWorldSuiteVersion2, &kWorldSuite},
        {kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, &kParamUtilsSuite},
        {kPFColorParamSuite, kPFColorParamSuiteVersion1, &kColorParamSuite},
        {kPFAppSuite, kPFAppSuiteVersion4, &kAppSuite},
    };
    for (const Entry& e : entries)
        if (sameName(e.name, name) && e.version == version)
            return e.table;
    if (const void* aegp = findAegp(name, version))
        return aegp;
    return findRainMotion(name, version);
}

}  // namespace Quarn::Host
