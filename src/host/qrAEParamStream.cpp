#include "qrAEParamStream.h"

#include "qrAEExceptions.h"

#include <utility>

namespace Quarn::AfterEffects::Wrapper {

namespace {

// An effect is not an AEGP plug-in and has no id of its own to give.
constexpr AEGP_PluginID kEffectPluginId = 0;

}  // namespace

ParamStream::ParamStream(PF_InData* in, const AEGP_PFInterfaceSuite1& effects,
    const AEGP_StreamSuite5& streams, PF_ParamIndex index, std::string function, std::string key)
    : effects_(effects), streams_(streams), function_(std::move(function)), key_(std::move(key))
{
    check(effects_.AEGP_GetNewEffectForEffect(kEffectPluginId, in->effect_ref, &effect_));
    if (const PF_Err err = streams_.AEGP_GetNewEffectStreamByIndex(kEffectPluginId, effect_, index, &stream_)) {
        effects_.AEGP_DisposeEffect(effect_);
        check(err);
    }
}

ParamStream::~ParamStream()
{
    // Nothing can be reported from here; a refusal leaves the host's count
    // of held streams to tell.
    streams_.AEGP_DisposeStream(stream_);
    effects_.AEGP_DisposeEffect(effect_);
}

void ParamStream::check(PF_Err err) const
{
    if (err != PF_Err_NONE)
        throw Exceptions::AfterEffects::ParamCheckoutFailed(function_.c_str(), kAdapterSource, __LINE__, key_);
}

int ParamStream::keyCount() const
{
    A_long count = 0;
    check(streams_.AEGP_GetStreamNumKFs(stream_, &count));
    return int(count);
}

A_Time ParamStream::keyTime(int key) const
{
    A_Time time {};
    check(streams_.AEGP_GetKeyframeTime(stream_, key, &time));
    return time;
}

int ParamStream::insertKey(const A_Time& time)
{
    A_long key = 0;
    check(streams_.AEGP_InsertKeyframe(stream_, &time, &key));
    return int(key);
}

void ParamStream::deleteKey(int key)
{
    check(streams_.AEGP_DeleteKeyframe(stream_, key));
}

AEGP_StreamVal ParamStream::valueAt(const A_Time& time) const
{
    AEGP_StreamValue value {};
    check(streams_.AEGP_GetNewStreamValue(kEffectPluginId, stream_, &time, &value));
    const AEGP_StreamVal val = value.val;
    check(streams_.AEGP_DisposeStreamValue(&value));
    return val;
}

void ParamStream::setValue(const AEGP_StreamVal& val)
{
    AEGP_StreamValue value {stream_, val};
    check(streams_.AEGP_SetStreamValue(kEffectPluginId, stream_, &value));
}

}  // namespace Quarn::AfterEffects::Wrapper
