// The adapter's set-up: construction, mappings, lookups, host time and
// geometry, suites and messages.
#include "qrAEWrapperHost.h"

#include "qrAEExceptions.h"
#include "qrAEImageCopy.h"
#include "qrAEInterruptChecker.h"
#include "effect/qrRainParamTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;
namespace Rain = Quarn::Wrapper::Rain;

namespace {

constexpr const char* kClass = "Quarn::AfterEffects::Wrapper::Host::";

std::string fn(const char* name)
{
    return std::string(kClass) + name;
}

int32_t typeCodeOf(Rain::InternalType type)
{
    switch (type) {
    case Rain::InternalType::integer: return kTypeInt;
    case Rain::InternalType::number: return kTypeDouble;
    case Rain::InternalType::scale: return kTypeScale;
    case Rain::InternalType::angle: return kTypeAngle;
    case Rain::InternalType::choice: return kTypeChoice;
    case Rain::InternalType::rgba: return kTypeRGBA;
    case Rain::InternalType::flag: return kTypeBool;
    case Rain::InternalType::none: break;
    }
    return 0;
}

double ratio(const PF_RationalScale& r)
{
    return r.den ? double(r.num) / double(r.den) : 1.0;
}

}  // namespace

Host::Host(
    PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef* output, InterruptChecker* checker)
    : in_(in), out_(out), params_(params), output_(output), checker_(checker)
{
    const std::string function = fn("Host");
    if (!in)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "in_data");
    if (!out)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "out_data");
    if (!params)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "params");
    if (!output)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "output");
}

Host::Host(PF_InData* in, PF_OutData* out, PF_ParamDef* params[])
    : in_(in), out_(out), params_(params), output_(nullptr), checker_(nullptr)
{
    const std::string function = fn("Host");
    if (!in)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "in_data");
    if (!out)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "out_data");
    if (!params)
        throw Ex::NullPointer(function.c_str(), kAdapterSource, __LINE__, "params");
}

Host::~Host()
{
    for (auto& [name, handle] : suites_)
        handle.release();
}

void Host::addParamMapping(int32_t index, const std::string& key, int32_t type, PopupTable popup)
{
    if (mappings_.count(key))
        throw Ex::AfterEffects::ParameterAlreadyDefined(
            fn("addParamMapping").c_str(), kAdapterSource, __LINE__, key);
    mappings_.emplace(key, Mapping {index, type, std::move(popup)});
}

void Host::addClipMapping(const std::string& name, int32_t layerIndex)
{
    if (clips_.count(name))
        throw Ex::AfterEffects::ClipAlreadyDefined(
            fn("addClipMapping").c_str(), kAdapterSource, __LINE__, name);
    clips_.emplace(name, layerIndex);
}

void Host::bindRainMappings()
{
    for (const Rain::RainHostParam& p : Rain::rainHostParams()) {
        if (p.type == Rain::HostParamType::inputLayer || p.type == Rain::HostParamType::layer)
            addClipMapping(p.key, p.index);
        else if (p.key && p.internal != Rain::InternalType::none)
            addParamMapping(p.index, p.key, typeCodeOf(p.internal), Rain::rainPopupTable(p));
    }
}

const Host::Mapping& Host::mapping(const std::string& key, const char* function) const
{
    auto it = mappings_.find(key);
    if (it == mappings_.end())
        throw Ex::Wrapper::ParameterUndefined(fn(function).c_str(), kAdapterSource, __LINE__, key);
    return it->second;
}

const Host::Mapping& Host::typed(const std::string& key, std::initializer_list<int32_t> types,
    const char* kind, const char* function) const
{
    const Mapping& m = mapping(key, function);
    if (std::find(types.begin(), types.end(), m.type) == types.end())
        throw Ex::WrongType(fn(function).c_str(), kAdapterSource, __LINE__, kind);
    return m;
}

int32_t Host::getParamID(const std::string& key) const
{
    return mapping(key, "getParamID").index;
}

PF_ParamDef* Host::getParam(const std::string& key) const
{
    const int32_t index = mapping(key, "getParam").index;
    return index < in_->num_params ? params_[index] : nullptr;
}

int32_t Host::getParameterType(const std::string& key) const
{
    return mapping(key, "getParameterType").type;
}

int32_t Host::getClipID(const std::string& name) const
{
    auto it = clips_.find(name);
    if (it == clips_.end())
        throw Ex::Wrapper::ClipUndefined(fn("getClipID").c_str(), kAdapterSource, __LINE__, name);
    return it->second;
}

int32_t Host::getForwardPopupMapping(const std::string& key, int32_t position) const
{
    const Mapping& m = mapping(key, "getForwardPopupMapping");
    for (const auto& [k, v] : m.popup)
        if (k == position)
            return v;
    throw Ex::AfterEffects::ForwardMappingUndefined(
        fn("getForwardPopupMapping").c_str(), kAdapterSource, __LINE__, key, position);
}

int32_t Host::getBackwardPopupMapping(const std::string& key, int32_t value) const
{
    const Mapping& m = mapping(key, "getBackwardPopupMapping");
    for (const auto& [k, v] : m.popup)
        if (v == value)
            return k;
    throw Ex::AfterEffects::BackwardMappingUndefined(
        fn("getBackwardPopupMapping").c_str(), kAdapterSource, __LINE__, key, value);
}

A_long Host::hostTime(double frameTime) const
{
    const A_long step = in_->local_time_step ? in_->local_time_step : in_->time_step;
    return A_long(std::llround(frameTime * double(step ? step : 1)));
}

double Host::frames(A_long time, A_u_long scale) const
{
    // A time in `scale` units, moved to the command's scale and into frames.
    const double local = scale && scale != in_->time_scale
        ? double(time) * double(in_->time_scale) / double(scale)
        : double(time);
    const A_long step = in_->local_time_step ? in_->local_time_step : in_->time_step;
    return local / double(step ? step : 1);
}

double Host::getTime()
{
    return frames(in_->current_time, in_->time_scale);
}

bool Host::isCurrentTime(double time) const
{
    return hostTime(time) == in_->current_time;
}

double Host::getFrameRate()
{
    const A_long step = in_->local_time_step ? in_->local_time_step : in_->time_step;
    return step ? double(in_->time_scale) / double(step) : 0.0;
}

double Host::getPixelAspectRatio()
{
    return ratio(in_->pixel_aspect_ratio);
}

void Host::getDownsample(double& x, double& y)
{
    x = ratio(in_->downsample_x);
    y = ratio(in_->downsample_y);
}

void Host::getImageSize(int32_t& width, int32_t& height)
{
    width = in_->width;
    height = in_->height;
}

QrRectI Host::getOutputExtent()
{
    const PF_Rect& e = output_ ? output_->extent_hint : in_->extent_hint;
    return {e.left + in_->output_origin_x, e.top + in_->output_origin_y, e.right + in_->output_origin_x,
        e.bottom + in_->output_origin_y};
}

QrInterruptRecord* Host::getInterruptRecord()
{
    return checker_ ? checker_->record() : nullptr;
}

bool Host::fetchOutputImageRaw(QrTexIndexer* dest)
{
    if (!outputTexture_)
        return false;
    if (!copyTexture(*outputTexture_, dest, 1))
        throw Ex::Wrapper::FetchImageFailed(
            fn("fetchOutputImageRaw").c_str(), kAdapterSource, __LINE__, "unknown texture pixel type");
    return true;
}

void Host::sendMessage(Message::Severity, const std::string& title, const std::string& text)
{
    const std::string message = title.empty() ? text : title + "\n" + text;
    const std::size_t n = std::min(message.size(), sizeof out_->return_msg - 1);
    std::memcpy(out_->return_msg, message.data(), n);
    out_->return_msg[n] = '\0';
    out_->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}

const void* Host::suite(const char* name, A_long version, const char* function)
{
    auto it = suites_.find(name);
    if (it == suites_.end()) {
        SuiteHandle handle(in_, name, version);
        if (handle.null())
            throw Ex::AfterEffects::SuiteFailed(
                fn(function).c_str(), kAdapterSource, __LINE__, "Couldn't load suite.");
        it = suites_.emplace(name, std::move(handle)).first;
    }
    return it->second.table();
}

void Host::releaseSuites()
{
    bool refused = false;
    for (auto& [name, handle] : suites_)
        refused = !handle.release() || refused;
    suites_.clear();
    if (refused)
        throw Ex::AfterEffects::SuiteFailed(
            fn("releaseSuites").c_str(), kAdapterSource, __LINE__, "Failed to release suite.");
}

}  // namespace Quarn::AfterEffects::Wrapper
