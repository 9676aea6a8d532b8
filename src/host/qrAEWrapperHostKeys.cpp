// The adapter's animation and calculus, from the host's key-frame services:
// key counts and times from the parameter utilities, key changes through
// the parameter's stream, and integrals and derivatives exact over the keys
// where the host joins them by straight lines.
#include "qrAEWrapperHost.h"

#include "qrAEExceptions.h"
#include "qrAEParamStream.h"

#include <AEGP_Suites.h>
#include <AE_EffectSuites.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;

namespace {

std::string fn(const char* name)
{
    return std::string("Quarn::AfterEffects::Wrapper::Host::") + name;
}

// -1, 0 or 1 as time a is before, at or after time b, exactly.
int compareTimes(const A_Time& a, const A_Time& b)
{
    const int64_t left = int64_t(a.value) * int64_t(b.scale);
    const int64_t right = int64_t(b.value) * int64_t(a.scale);
    return left < right ? -1 : (left > right ? 1 : 0);
}

struct Vec2 {
    double x = 0.0, y = 0.0;
    Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    Vec2 operator*(double s) const { return {x * s, y * s}; }
};

// The integral of f over [t0, t1] (negative when t1 < t0), as trapezoids
// between the ends and every key in between: exact for a value that is a
// straight line between keys and constant beyond them.
template <class F> auto integrateOverKeys(const std::vector<double>& keys, double t0, double t1, F&& f)
{
    const double a = std::min(t0, t1), b = std::max(t0, t1);
    std::vector<double> cuts {a};
    for (double k : keys)
        if (k > a && k < b)
            cuts.push_back(k);
    cuts.push_back(b);
    auto total = f(a) * 0.0;
    for (std::size_t i = 1; i < cuts.size(); ++i)
        total = total + (f(cuts[i - 1]) + f(cuts[i])) * (0.5 * (cuts[i] - cuts[i - 1]));
    return total * (t1 < t0 ? -1.0 : 1.0);
}

// The slope per frame at `time` of the line between the keys around it
// (the one starting at a key, at a key); 0 outside the keys and without two.
template <class F> auto differentiateOverKeys(const std::vector<double>& keys, double time, F&& f)
{
    const auto after = std::upper_bound(keys.begin(), keys.end(), time);
    if (after == keys.begin() || after == keys.end())
        return f(time) * 0.0;
    const double t0 = *(after - 1), t1 = *after;
    return (f(t1) - f(t0)) * (1.0 / (t1 - t0));
}

}  // namespace

bool Host::paramIsDefined(const std::string& name)
{
    return mappings_.count(name) != 0;
}

bool Host::paramIsAnimating(const std::string& name)
{
    return paramNumKeys(name) > 0;
}

int Host::paramNumKeys(const std::string& name)
{
    const int32_t index = mapping(name, "paramNumKeys").index;
    const auto& utils =
        suiteAs<PF_ParamUtilsSuite3>(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, "paramNumKeys");
    A_long count = 0;
    if (utils.PF_GetKeyframeCount(in_->effect_ref, index, &count) != PF_Err_NONE)
        throw Ex::AfterEffects::ParamCheckoutFailed(
            fn("paramNumKeys").c_str(), kAdapterSource, __LINE__, name);
    return int(count);
}

double Host::paramKeyTime(const std::string& name, int keyIndex)
{
    const int32_t index = mapping(name, "paramKeyTime").index;
    const auto& utils =
        suiteAs<PF_ParamUtilsSuite3>(kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3, "paramKeyTime");
    A_long time = 0;
    A_u_long scale = 0;
    if (utils.PF_KeyIndexToTime(in_->effect_ref, index, keyIndex, &time, &scale) != PF_Err_NONE)
        throw Ex::AfterEffects::ParamCheckoutFailed(
            fn("paramKeyTime").c_str(), kAdapterSource, __LINE__, name, keyIndex);
    return frames(time, scale);
}

std::vector<double> Host::keyFrames(const std::string& name)
{
    std::vector<double> keys;
    const int count = paramNumKeys(name);
    for (int k = 0; k < count; ++k)
        keys.push_back(paramKeyTime(name, k));
    return keys;
}

void Host::refreshCurrentValue(const std::string& name)
{
    const int32_t index = mapping(name, "refreshCurrentValue").index;
    PF_ParamDef def {};
    checkoutAEParam(index, getTime(), def);
    cache_[index] = def;
    checkinAEParam(def);
}

ParamStream Host::keyStream(const std::string& name, const char* function)
{
    const int32_t index = mapping(name, function).index;
    return ParamStream(in_,
        suiteAs<AEGP_PFInterfaceSuite1>(kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1, function),
        suiteAs<AEGP_StreamSuite5>(kAEGPStreamSuite, kAEGPStreamSuiteVersion5, function), index, fn(function),
        name);
}

A_Time Host::keyTimeOf(double frameTime) const
{
    return {hostTime(frameTime), A_u_long(in_->time_scale)};
}

// `direction` < 0 looks for a key before `time`, > 0 for one after it, and
// 0 for one exactly at it; a non-zero `atTimeToo` lets a key at `time`
// count for either direction.
bool Host::paramFindKey(const std::string& name, double time, int32_t direction, int32_t atTimeToo)
{
    const ParamStream stream = keyStream(name, "paramFindKey");
    const A_Time at = keyTimeOf(time);
    for (int k = 0, count = stream.keyCount(); k < count; ++k) {
        const int order = compareTimes(stream.keyTime(k), at);
        if (order == 0 && (direction == 0 || atTimeToo))
            return true;
        if (direction != 0 && order != 0 && (order < 0) == (direction < 0))
            return true;
    }
    return false;
}

void Host::paramSetKey(const std::string& name, double time)
{
    {
        ParamStream stream = keyStream(name, "paramSetKey");
        stream.insertKey(keyTimeOf(time));
    }
    refreshCurrentValue(name);
}

void Host::paramDeleteKey(const std::string& name, double time)
{
    {
        ParamStream stream = keyStream(name, "paramDeleteKey");
        const A_Time at = keyTimeOf(time);
        for (int k = stream.keyCount() - 1; k >= 0; --k)
            if (compareTimes(stream.keyTime(k), at) == 0)
                stream.deleteKey(k);
    }
    refreshCurrentValue(name);
}

void Host::paramDeleteKey(const std::string& name, int keyIndex)
{
    {
        ParamStream stream = keyStream(name, "paramDeleteKey");
        stream.deleteKey(keyIndex);
    }
    refreshCurrentValue(name);
}

// As a user turning the animation off: the value at the current time stays.
void Host::paramDeleteAllKeys(const std::string& name)
{
    {
        ParamStream stream = keyStream(name, "paramDeleteAllKeys");
        const AEGP_StreamVal now = stream.valueAt(keyTimeOf(getTime()));
        for (int k = stream.keyCount() - 1; k >= 0; --k)
            stream.deleteKey(k);
        stream.setValue(now);
    }
    refreshCurrentValue(name);
}

double Host::integrateDoubleParam(const std::string& name, double t0, double t1)
{
    return integrateOverKeys(keyFrames(name), t0, t1,
        [&](double t) { return getDoubleParam(name, t); });
}

Quarn::Scale Host::integrateScaleParam(const std::string& name, double t0, double t1)
{
    return Quarn::Scale(integrateOverKeys(keyFrames(name), t0, t1,
        [&](double t) { return getScaleParam(name, t).value(); }));
}

double Host::differentiateDoubleParam(const std::string& name, double time)
{
    return differentiateOverKeys(keyFrames(name), time,
        [&](double t) { return getDoubleParam(name, t); });
}

Quarn::Scale Host::differentiateScaleParam(const std::string& name, double time)
{
    return Quarn::Scale(differentiateOverKeys(keyFrames(name), time,
        [&](double t) { return getScaleParam(name, t).value(); }));
}

HvVec2 Host::integrate2DDoubleParam(const std::string& name, double t0, double t1)
{
    const Vec2 v = integrateOverKeys(keyFrames(name), t0, t1, [&](double t) {
        const HvVec2 p = get2DDoubleParam(name, t);
        return Vec2 {p.x, p.y};
    });
    return {float(v.x), float(v.y)};
}

HvVec2 Host::differentiate2DDoubleParam(const std::string& name, double time)
{
    const Vec2 v = differentiateOverKeys(keyFrames(name), time, [&](double t) {
        const HvVec2 p = get2DDoubleParam(name, t);
        return Vec2 {p.x, p.y};
    });
    return {float(v.x), float(v.y)};
}

}  // namespace Quarn::AfterEffects::Wrapper
