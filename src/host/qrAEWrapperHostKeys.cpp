// The adapter's animation and calculus: key counts and times from the host's
// parameter utilities, integrals and derivatives from values sampled over
// frames. Changing keys is not offered to effects in After Effects.
#include "qrAEWrapperHost.h"

#include "qrAEExceptions.h"

#include <AE_EffectSuites.h>

#include <cmath>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;

namespace {

std::string fn(const char* name)
{
    return std::string("Quarn::AfterEffects::Wrapper::Host::") + name;
}

[[noreturn]] void keysUnsupported(const char* function)
{
    throw Ex::AfterEffects::FeatureUnsupported(
        fn(function).c_str(), kAdapterSource, __LINE__, "key frame changes");
}

// Trapezoidal integral of f over [t0, t1] with samples one frame apart (the
// last step shorter); t1 < t0 integrates backwards.
template <class F> auto integrate(double t0, double t1, F&& f)
{
    const double sign = t1 < t0 ? -1.0 : 1.0;
    const double a = std::min(t0, t1), b = std::max(t0, t1);
    auto total = f(a) * 0.0;
    auto previous = f(a);
    for (double t = a; t < b;) {
        const double next = std::min(t + 1.0, b);
        const auto value = f(next);
        total = total + (previous + value) * (0.5 * (next - t));
        previous = value;
        t = next;
    }
    return total * sign;
}

// Central difference over one frame either side, per frame.
template <class F> auto differentiate(double time, F&& f)
{
    return (f(time + 1.0) - f(time - 1.0)) * 0.5;
}

struct Vec2 {
    double x = 0.0, y = 0.0;
    Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    Vec2 operator*(double s) const { return {x * s, y * s}; }
};

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

bool Host::paramFindKey(const std::string& name, double, int32_t, int32_t)
{
    mapping(name, "paramFindKey");
    keysUnsupported("paramFindKey");
}

void Host::paramSetKey(const std::string& name, double)
{
    mapping(name, "paramSetKey");
    keysUnsupported("paramSetKey");
}

void Host::paramDeleteKey(const std::string& name, double)
{
    mapping(name, "paramDeleteKey");
    keysUnsupported("paramDeleteKey");
}

void Host::paramDeleteKey(const std::string& name, int)
{
    mapping(name, "paramDeleteKey");
    keysUnsupported("paramDeleteKey");
}

void Host::paramDeleteAllKeys(const std::string& name)
{
    mapping(name, "paramDeleteAllKeys");
    keysUnsupported("paramDeleteAllKeys");
}

double Host::integrateDoubleParam(const std::string& name, double t0, double t1)
{
    return integrate(t0, t1, [&](double t) { return getDoubleParam(name, t); });
}

Quarn::Scale Host::integrateScaleParam(const std::string& name, double t0, double t1)
{
    return Quarn::Scale(integrate(t0, t1, [&](double t) { return getScaleParam(name, t).value(); }));
}

double Host::differentiateDoubleParam(const std::string& name, double time)
{
    return differentiate(time, [&](double t) { return getDoubleParam(name, t); });
}

Quarn::Scale Host::differentiateScaleParam(const std::string& name, double time)
{
    return Quarn::Scale(differentiate(time, [&](double t) { return getScaleParam(name, t).value(); }));
}

HvVec2 Host::integrate2DDoubleParam(const std::string& name, double t0, double t1)
{
    const Vec2 v = integrate(t0, t1, [&](double t) {
        const HvVec2 p = get2DDoubleParam(name, t);
        return Vec2 {p.x, p.y};
    });
    return {float(v.x), float(v.y)};
}

HvVec2 Host::differentiate2DDoubleParam(const std::string& name, double time)
{
    const Vec2 v = differentiate(time, [&](double t) {
        const HvVec2 p = get2DDoubleParam(name, t);
        return Vec2 {p.x, p.y};
    });
    return {float(v.x), float(v.y)};
}

}  // namespace Quarn::AfterEffects::Wrapper
