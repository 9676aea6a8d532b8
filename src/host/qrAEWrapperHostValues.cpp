// The adapter's value family: reads at a time (the cache at the current
// time, a checkout otherwise) and writes, each with its unit conversion.
#include "qrAEWrapperHost.h"

#include "qrAEExceptions.h"
#include "qrAEInterruptChecker.h"
#include "effect/qrRainParamTable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;
namespace Rain = Quarn::Wrapper::Rain;

namespace {

constexpr double kFixedOne = 65536.0;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

std::string fn(const char* name)
{
    return std::string("Quarn::AfterEffects::Wrapper::Host::") + name;
}

PF_Fixed toFixed(double v)
{
    return PF_Fixed(std::llround(v * kFixedOne));
}

uint8_t toByte(float v)
{
    return uint8_t(std::clamp(std::lround(double(v) * 255.0), 0L, 255L));
}

[[noreturn]] void unsupported(const char* function, const std::string& what)
{
    throw Ex::AfterEffects::FeatureUnsupported(fn(function).c_str(), kAdapterSource, __LINE__, what);
}

}  // namespace

void Host::checkoutAEParam(int32_t index, double time, PF_ParamDef& def) const
{
    const PF_Err err = PF_CHECKOUT_PARAM(in_, index, hostTime(time), in_->time_step, in_->time_scale, &def);
    if (err == PF_Interrupt_CANCEL)
        throw Ex::AfterEffects::InterruptedCritical(
            fn("checkoutAEParam").c_str(), kAdapterSource, __LINE__, "checkout");
    if (err != PF_Err_NONE)
        throw Ex::AfterEffects::ParamCheckoutFailed(
            fn("checkoutAEParam").c_str(), kAdapterSource, __LINE__, index, int32_t(err));
}

void Host::checkinAEParam(PF_ParamDef& def) const
{
    PF_CHECKIN_PARAM(in_, &def);
}

PF_ParamDef Host::valueAt(int32_t index, double time) const
{
    if (isCurrentTime(time)) {
        if (auto it = cache_.find(index); it != cache_.end())
            return it->second;
        if (index < in_->num_params && params_[index])
            return *params_[index];
    }
    PF_ParamDef def {};
    checkoutAEParam(index, time, def);
    const PF_ParamDef copy = def;
    checkinAEParam(def);
    return copy;
}

void Host::captureValues(bool checkout)
{
    // Every control that holds a value; layers, groups and the about area
    // have none.
    const auto& table = Rain::rainHostParams();
    std::vector<int32_t> indices;
    for (const auto& [key, m] : mappings_)
        if (m.index >= 0 && m.index < int32_t(table.size()) && Rain::holdsValue(table[m.index]))
            indices.push_back(m.index);
    std::sort(indices.begin(), indices.end());
    for (int32_t index : indices) {
        if (!checkout && index < in_->num_params && params_[index]) {
            cache_[index] = *params_[index];
            continue;
        }
        PF_ParamDef def {};
        checkoutAEParam(index, getTime(), def);
        cache_[index] = def;
        checkinAEParam(def);
    }
}

void Host::store(int32_t index, const PF_ParamDefUnion& value)
{
    if (index < in_->num_params && params_[index]) {
        params_[index]->u = value;
        params_[index]->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
    if (auto it = cache_.find(index); it != cache_.end())
        it->second.u = value;
}

// ---- reads ---------------------------------------------------------------

double Host::getDoubleParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeDouble}, "double", "getDoubleParam");
    return valueAt(m.index, time).u.fs_d.value / kFixedOne;
}

Quarn::Scale Host::getScaleParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeScale}, "scale", "getScaleParam");
    return Quarn::Scale(valueAt(m.index, time).u.fs_d.value / kFixedOne / 100.0);
}

Quarn::Angle Host::getAngleParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeAngle}, "angle", "getAngleParam");
    return Quarn::Angle(valueAt(m.index, time).u.ad.value / kFixedOne / kDegreesPerRadian);
}

int Host::getIntParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeInt, kTypeChoice}, "int", "getIntParam");
    const PF_ParamDef def = valueAt(m.index, time);
    if (m.type == kTypeChoice)
        return getForwardPopupMapping(name, def.u.pd.value - 1);
    return def.u.sd.value;
}

bool Host::getBoolParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeBool}, "bool", "getBoolParam");
    return valueAt(m.index, time).u.bd.value != 0;
}

QrPixelRGBf Host::getRGBParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeRGB}, "RGB colour", "getRGBParam");
    const PF_Pixel p = valueAt(m.index, time).u.cd.value;
    return {p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
}

QrPixelRGBAf Host::getRGBAParam(const std::string& name, double time)
{
    const Mapping& m = typed(name, {kTypeRGBA}, "RGBA colour", "getRGBAParam");
    const PF_Pixel p = valueAt(m.index, time).u.cd.value;
    return {p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f, p.alpha / 255.0f};
}

// The host API this effect speaks has no two-dimensional, rectangle, text,
// shape, gradient, light or camera parameters: these reads can only fail.
std::string& Host::getStringParam(const std::string& name, std::string&, double)
{
    mapping(name, "getStringParam");
    unsupported("getStringParam", "string parameters");
}

HvVec2 Host::get2DDoubleParam(const std::string& name, double)
{
    mapping(name, "get2DDoubleParam");
    unsupported("get2DDoubleParam", "2D parameters");
}

HvBox2 Host::getRectDParam(const std::string& name, double)
{
    mapping(name, "getRectDParam");
    unsupported("getRectDParam", "rectangle parameters");
}

QrRectI Host::getRectIParam(const std::string& name, double)
{
    mapping(name, "getRectIParam");
    unsupported("getRectIParam", "rectangle parameters");
}

bool Host::getRotoParam(const std::string& name, int32_t, double)
{
    mapping(name, "getRotoParam");
    unsupported("getRotoParam", "roto parameters");
}

QrColGradDescription Host::getGradParam(const std::string& name, double)
{
    mapping(name, "getGradParam");
    unsupported("getGradParam", "gradient parameters");
}

void Host::getLightParam(const std::string& name, LightBase&, double)
{
    mapping(name, "getLightParam");
    unsupported("getLightParam", "light parameters");
}

void Host::getCameraParam(const std::string& name, CameraBase&, double)
{
    mapping(name, "getCameraParam");
    unsupported("getCameraParam", "camera parameters");
}

// ---- writes --------------------------------------------------------------

void Host::setDoubleParam(const std::string& name, double value)
{
    const Mapping& m = typed(name, {kTypeDouble}, "double", "setDoubleParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.fs_d.value = toFixed(value);
    store(m.index, u);
}

void Host::setScaleParam(const std::string& name, Quarn::Scale value)
{
    const Mapping& m = typed(name, {kTypeScale}, "scale", "setScaleParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.fs_d.value = toFixed(value.value() * 100.0);
    store(m.index, u);
}

void Host::setAngleParam(const std::string& name, Quarn::Angle value)
{
    const Mapping& m = typed(name, {kTypeAngle}, "angle", "setAngleParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.ad.value = toFixed(value.value() * kDegreesPerRadian);
    store(m.index, u);
}

void Host::setIntParam(const std::string& name, int value)
{
    const Mapping& m = typed(name, {kTypeInt, kTypeChoice}, "int", "setIntParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    if (m.type == kTypeChoice)
        u.pd.value = getBackwardPopupMapping(name, value) + 1;
    else
        u.sd.value = value;
    store(m.index, u);
}

void Host::setBoolParam(const std::string& name, bool value)
{
    const Mapping& m = typed(name, {kTypeBool}, "bool", "setBoolParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.bd.value = value ? 1 : 0;
    store(m.index, u);
}

void Host::setRGBParam(const std::string& name, const QrPixelRGBf& value)
{
    const Mapping& m = typed(name, {kTypeRGB}, "RGB colour", "setRGBParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.cd.value.red = toByte(value.r);
    u.cd.value.green = toByte(value.g);
    u.cd.value.blue = toByte(value.b);
    store(m.index, u);
}

void Host::setRGBAParam(const std::string& name, const QrPixelRGBAf& value)
{
    const Mapping& m = typed(name, {kTypeRGBA}, "RGBA colour", "setRGBAParam");
    PF_ParamDefUnion u = valueAt(m.index, getTime()).u;
    u.cd.value = {toByte(value.a), toByte(value.r), toByte(value.g), toByte(value.b)};
    store(m.index, u);
}

void Host::setStringParam(const std::string& name, const std::string&)
{
    mapping(name, "setStringParam");
    unsupported("setStringParam", "string parameters");
}

void Host::set2DDoubleParam(const std::string& name, const HvVec2&)
{
    mapping(name, "set2DDoubleParam");
    unsupported("set2DDoubleParam", "2D parameters");
}

void Host::setRectDParam(const std::string& name, const HvBox2&)
{
    mapping(name, "setRectDParam");
    unsupported("setRectDParam", "rectangle parameters");
}

void Host::setRectIParam(const std::string& name, const QrRectI&)
{
    mapping(name, "setRectIParam");
    unsupported("setRectIParam", "rectangle parameters");
}

void Host::setRotoParam(const std::string& name, const RotoShape&)
{
    mapping(name, "setRotoParam");
    unsupported("setRotoParam", "roto parameters");
}

void Host::setGradParam(const std::string& name, const QrColGradDescription&)
{
    mapping(name, "setGradParam");
    unsupported("setGradParam", "gradient parameters");
}

std::vector<PresetValue> Host::presetValues()
{
    std::vector<PresetValue> values;
    const double now = getTime();
    for (const auto& [key, m] : mappings_) {
        PresetValue v {key, m.type, {0, 0, 0, 0}};
        switch (m.type) {
        case kTypeBool: v.value[0] = getBoolParam(key, now); break;
        case kTypeDouble: v.value[0] = getDoubleParam(key, now); break;
        case kTypeInt: v.value[0] = getIntParam(key, now); break;
        case kTypeScale: v.value[0] = getScaleParam(key, now).value(); break;
        case kTypeAngle: v.value[0] = getAngleParam(key, now).value(); break;
        case kTypeRGB: {
            const QrPixelRGBf c = getRGBParam(key, now);
            v.value[0] = c.r, v.value[1] = c.g, v.value[2] = c.b;
            break;
        }
        case kTypeRGBA: {
            const QrPixelRGBAf c = getRGBAParam(key, now);
            v.value[0] = c.r, v.value[1] = c.g, v.value[2] = c.b, v.value[3] = c.a;
            break;
        }
        default: break;  // choices and the rest have no line
        }
        values.push_back(std::move(v));
    }
    return values;
}

}  // namespace Quarn::AfterEffects::Wrapper
