#include "qrOfxParamIO.h"

#include "qrOfxSuites.h"

namespace Quarn::Ofx {

namespace {

const char* paramType(ControlKind kind)
{
    switch (kind) {
    case ControlKind::group: return ParamType::group;
    case ControlKind::choice: return ParamType::choice;
    case ControlKind::integer: return ParamType::integer;
    case ControlKind::boolean: return ParamType::boolean;
    case ControlKind::colour: return ParamType::rgba;
    default: return ParamType::number;
    }
}

bool isIntegral(ControlKind kind)
{
    return kind == ControlKind::choice || kind == ControlKind::integer || kind == ControlKind::boolean;
}

// Default, ranges and display of a control that holds one number.
void describeValue(const Props& p, const Control& c)
{
    const bool ranged = c.min != c.max;
    if (isIntegral(c.kind)) {
        p.set(Prop::paramDefault, int(c.defaultValue));
        if (c.kind == ControlKind::integer) {
            p.set(Prop::paramMin, int(c.min));
            p.set(Prop::paramMax, int(c.max));
            p.set(Prop::paramDisplayMin, int(c.displayMin));
            p.set(Prop::paramDisplayMax, int(c.displayMax));
        }
        return;
    }
    p.set(Prop::paramDefault, c.defaultValue);
    p.set(Prop::paramDoubleType, c.kind == ControlKind::angle ? Value::doubleTypeAngle : Value::doubleTypePlain);
    p.set(Prop::paramDigits, c.digits);
    if (ranged) {
        p.set(Prop::paramMin, c.min);
        p.set(Prop::paramMax, c.max);
        p.set(Prop::paramDisplayMin, c.displayMin);
        p.set(Prop::paramDisplayMax, c.displayMax);
    }
}

OfxParamHandle handleOf(OfxImageEffectHandle instance, const Control& control)
{
    OfxParamSetHandle set = nullptr;
    OfxParamHandle param = nullptr;
    if (suites().effect->getParamSet(instance, &set) != Status::ok ||
        suites().parameter->paramGetHandle(set, control.name.c_str(), &param, nullptr) != Status::ok)
        return nullptr;
    return param;
}

}  // namespace

void defineControls(OfxImageEffectHandle descriptor)
{
    OfxParamSetHandle set = nullptr;
    if (suites().effect->getParamSet(descriptor, &set) != Status::ok)
        throw Failure(Status::errBadHandle, "the host gave no parameter set to describe");
    for (const Control& c : controls()) {
        OfxPropertySetHandle handle = nullptr;
        const OfxStatus status = suites().parameter->paramDefine(set, paramType(c.kind), c.name.c_str(), &handle);
        if (status != Status::ok || !handle)
            throw Failure(status == Status::ok ? Status::failed : status, "the host refused the control \"" + c.label + "\"");
        const Props p(handle);
        p.set(Prop::label, c.label.c_str());
        p.set(Prop::paramScriptName, c.name.c_str());
        if (!c.parent.empty())
            p.set(Prop::paramParent, c.parent.c_str());
        if (c.kind == ControlKind::group)
            continue;
        p.set(Prop::paramAnimates, c.animates ? 1 : 0);
        for (size_t k = 0; k < c.options.size(); ++k)
            p.set(Prop::paramChoiceOption, c.options[k].c_str(), int(k));
        if (c.kind == ControlKind::colour) {
            for (int k = 0; k < 4; ++k)
                p.set(Prop::paramDefault, c.colourDefault[k], k);
            continue;
        }
        describeValue(p, c);
    }
}

ControlValue readControl(OfxImageEffectHandle instance, const Control& c, double time)
{
    ControlValue v = c.kind == ControlKind::colour
        ? ControlValue {c.colourDefault[0], c.colourDefault[1], c.colourDefault[2], c.colourDefault[3]}
        : ControlValue {c.defaultValue, 0, 0, 0};
    const OfxParamHandle param = c.kind == ControlKind::group ? nullptr : handleOf(instance, c);
    const auto get = suites().parameter->paramGetValueAtTime;
    if (!param || !get)
        return v;
    if (c.kind == ControlKind::colour) {
        get(param, time, &v[0], &v[1], &v[2], &v[3]);
    } else if (isIntegral(c.kind)) {
        int i = int(c.defaultValue);
        if (get(param, time, &i) == Status::ok)
            v[0] = i;
    } else {
        get(param, time, &v[0]);
    }
    return v;
}

ControlValues readControls(OfxImageEffectHandle instance, double time)
{
    ControlValues values;
    for (const Control& c : controls())
        values.push_back(readControl(instance, c, time));
    return values;
}

void writeControl(OfxImageEffectHandle instance, const Control& c, const ControlValue& v)
{
    const OfxParamHandle param = handleOf(instance, c);
    const auto set = suites().parameter->paramSetValue;
    if (!param || !set)
        return;
    if (c.kind == ControlKind::colour)
        set(param, v[0], v[1], v[2], v[3]);
    else if (isIntegral(c.kind))
        set(param, int(v[0]));
    else
        set(param, v[0]);
}

}  // namespace Quarn::Ofx
