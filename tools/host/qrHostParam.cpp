#include "qrHostParam.h"

#include "qrHostError.h"

#include <algorithm>
#include <cmath>

namespace Quarn::Host {

namespace {

std::vector<std::string> splitChoices(const std::string& names)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = names.find('|', start);
        out.push_back(names.substr(start, bar - start));
        if (bar == std::string::npos)
            return out;
        start = bar + 1;
    }
}

template <typename T> T clampIfRange(T value, T low, T high)
{
    return low <= high ? std::clamp(value, low, high) : value;
}

A_long lerpRound(A_long a, A_long b, double f)
{
    return static_cast<A_long>(std::lround(a + (double(b) - a) * f));
}

A_u_char lerpByte(A_u_char a, A_u_char b, double f)
{
    return static_cast<A_u_char>(std::lround(a + (double(b) - a) * f));
}

}  // namespace

const char* paramTypeName(PF_ParamType type)
{
    switch (type) {
    case PF_Param_LAYER: return "layer";
    case PF_Param_SLIDER: return "slider";
    case PF_Param_FIX_SLIDER: return "fixed slider";
    case PF_Param_ANGLE: return "angle";
    case PF_Param_CHECKBOX: return "check box";
    case PF_Param_COLOR: return "colour";
    case PF_Param_POPUP: return "popup";
    case PF_Param_NO_DATA: return "custom area";
    case PF_Param_GROUP_START: return "group start";
    case PF_Param_GROUP_END: return "group end";
    }
    return "unknown";
}

HostParam::HostParam(int index, const PF_ParamDef& declared) : index_(index), def_(declared)
{
    def_.name[PF_MAX_EFFECT_PARAM_NAME_LEN] = '\0';
    def_.uu.change_flags = PF_ChangeFlag_NONE;
    switch (def_.param_type) {
    case PF_Param_POPUP:
        if (!declared.u.pd.namesptr)
            throw HostError("popup without choice names");
        names_ = declared.u.pd.namesptr;
        choices_ = splitChoices(names_);
        def_.u.pd.namesptr = names_.c_str();
        def_.u.pd.value = def_.u.pd.dephault;
        break;
    case PF_Param_CHECKBOX:
        checkBoxText_ = declared.u.bd.nameptr ? declared.u.bd.nameptr : "";
        def_.u.bd.nameptr = checkBoxText_.c_str();
        def_.u.bd.value = def_.u.bd.dephault ? 1 : 0;
        break;
    case PF_Param_SLIDER: def_.u.sd.value = def_.u.sd.dephault; break;
    case PF_Param_FIX_SLIDER: def_.u.fs_d.value = def_.u.fs_d.dephault; break;
    case PF_Param_ANGLE: def_.u.ad.value = def_.u.ad.dephault; break;
    case PF_Param_COLOR: def_.u.cd.value = def_.u.cd.dephault; break;
    case PF_Param_LAYER: def_.u.ld.data = nullptr; break;
    case PF_Param_NO_DATA:
    case PF_Param_GROUP_START:
    case PF_Param_GROUP_END: break;
    default: throw HostError("unsupported parameter type " + std::to_string(def_.param_type));
    }
    def_.u = clamped(def_.u);
}

std::string HostParam::shownLabel() const
{
    if (type() == PF_Param_CHECKBOX && label().empty())
        return "\"" + checkBoxText_ + "\"";
    return label();
}

std::string HostParam::path() const
{
    return group_.empty() ? shownLabel() : group_ + "/" + shownLabel();
}

bool HostParam::holdsValue() const
{
    switch (def_.param_type) {
    case PF_Param_SLIDER:
    case PF_Param_FIX_SLIDER:
    case PF_Param_ANGLE:
    case PF_Param_CHECKBOX:
    case PF_Param_COLOR:
    case PF_Param_POPUP: return true;
    }
    return false;
}

bool HostParam::canTimeVary() const
{
    return holdsValue() && !(def_.flags & PF_ParamFlag_CANNOT_TIME_VARY);
}

PF_ParamDefUnion HostParam::clamped(PF_ParamDefUnion v) const
{
    switch (def_.param_type) {
    case PF_Param_SLIDER:
        v.sd.value = clampIfRange(v.sd.value, def_.u.sd.valid_min, def_.u.sd.valid_max);
        break;
    case PF_Param_FIX_SLIDER:
        v.fs_d.value = clampIfRange(v.fs_d.value, def_.u.fs_d.valid_min, def_.u.fs_d.valid_max);
        break;
    case PF_Param_ANGLE:
        // An angle without a declared range (both limits zero) is free.
        if (def_.u.ad.valid_min < def_.u.ad.valid_max)
            v.ad.value = std::clamp(v.ad.value, def_.u.ad.valid_min, def_.u.ad.valid_max);
        break;
    case PF_Param_POPUP:
        v.pd.value = std::clamp<PF_ParamValue>(v.pd.value, 1, std::max<A_long>(1, def_.u.pd.num_choices));
        break;
    case PF_Param_CHECKBOX: v.bd.value = v.bd.value ? 1 : 0; break;
    }
    return v;
}

PF_ParamDefUnion HostParam::interpolate(const Key& a, const Key& b, double seconds) const
{
    const double f = (seconds - a.seconds) / (b.seconds - a.seconds);
    PF_ParamDefUnion v = a.value;
    switch (def_.param_type) {
    case PF_Param_SLIDER: v.sd.value = lerpRound(a.value.sd.value, b.value.sd.value, f); break;
    case PF_Param_FIX_SLIDER: v.fs_d.value = lerpRound(a.value.fs_d.value, b.value.fs_d.value, f); break;
    case PF_Param_ANGLE: v.ad.value = lerpRound(a.value.ad.value, b.value.ad.value, f); break;
    case PF_Param_COLOR: {
        const PF_Pixel& p = a.value.cd.value;
        const PF_Pixel& q = b.value.cd.value;
        v.cd.value = {lerpByte(p.alpha, q.alpha, f), lerpByte(p.red, q.red, f), lerpByte(p.green, q.green, f),
            lerpByte(p.blue, q.blue, f)};
        break;
    }
    default: break;  // popups and check boxes hold the earlier key's value
    }
    return v;
}

PF_ParamDef HostParam::at(double seconds) const
{
    PF_ParamDef def = def_;
    if (keys_.empty())
        return def;
    auto after = std::find_if(keys_.begin(), keys_.end(), [&](const Key& k) { return k.seconds > seconds; });
    if (after == keys_.begin())
        def.u = keys_.front().value;
    else if (after == keys_.end())
        def.u = keys_.back().value;
    else
        def.u = interpolate(*(after - 1), *after, seconds);
    return def;
}

PF_ParamDefUnion HostParam::valueOnly(const PF_ParamDefUnion& value) const
{
    // Ranges, defaults and strings stay as declared; only the value moves.
    PF_ParamDefUnion u = def_.u;
    switch (def_.param_type) {
    case PF_Param_SLIDER: u.sd.value = value.sd.value; break;
    case PF_Param_FIX_SLIDER: u.fs_d.value = value.fs_d.value; break;
    case PF_Param_ANGLE: u.ad.value = value.ad.value; break;
    case PF_Param_CHECKBOX: u.bd.value = value.bd.value; break;
    case PF_Param_COLOR: u.cd.value = value.cd.value; break;
    case PF_Param_POPUP: u.pd.value = value.pd.value; break;
    default: throw HostError("parameter " + std::to_string(index_) + " holds no value");
    }
    return clamped(u);
}

void HostParam::setValue(const PF_ParamDefUnion& value, double seconds)
{
    if (keys_.empty())
        def_.u = valueOnly(value);
    else
        setKey(seconds, value);
}

void HostParam::setKey(double seconds, const PF_ParamDefUnion& value)
{
    if (!canTimeVary())
        throw HostError("parameter " + std::to_string(index_) + " cannot time-vary");
    const PF_ParamDefUnion v = valueOnly(value);
    auto it = std::lower_bound(
        keys_.begin(), keys_.end(), seconds, [](const Key& k, double s) { return k.seconds < s; });
    if (it != keys_.end() && it->seconds == seconds)
        it->value = v;
    else
        keys_.insert(it, Key {seconds, v});
}

void HostParam::deleteKey(int key)
{
    if (key < 0 || key >= keyCount())
        throw HostError("no key " + std::to_string(key));
    // The last key's value becomes the parameter's one value.
    if (keyCount() == 1)
        def_.u = keys_.front().value;
    keys_.erase(keys_.begin() + key);
}

double HostParam::number(double seconds) const
{
    const PF_ParamDefUnion u = at(seconds).u;
    switch (def_.param_type) {
    case PF_Param_SLIDER: return u.sd.value;
    case PF_Param_FIX_SLIDER: return u.fs_d.value / 65536.0;
    case PF_Param_ANGLE: return u.ad.value / 65536.0;
    case PF_Param_CHECKBOX: return u.bd.value;
    case PF_Param_POPUP: return u.pd.value;
    }
    throw HostError("parameter " + std::to_string(index_) + " has no numeric value");
}

PF_ParamDefUnion HostParam::withNumber(double number) const
{
    PF_ParamDefUnion u = def_.u;
    switch (def_.param_type) {
    case PF_Param_SLIDER: u.sd.value = static_cast<A_long>(std::lround(number)); break;
    case PF_Param_FIX_SLIDER: u.fs_d.value = static_cast<PF_Fixed>(std::lround(number * 65536.0)); break;
    case PF_Param_ANGLE: u.ad.value = static_cast<PF_Fixed>(std::lround(number * 65536.0)); break;
    case PF_Param_CHECKBOX: u.bd.value = number != 0.0; break;
    case PF_Param_POPUP: u.pd.value = static_cast<A_long>(std::lround(number)); break;
    default: throw HostError("parameter " + std::to_string(index_) + " has no numeric value");
    }
    return u;
}

}  // namespace Quarn::Host
