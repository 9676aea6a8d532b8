// Answers to a host about a live instance: a user's change of a control
// (presets, the edge colour and its alpha slider), and the regions of its
// inputs that a render needs.
#include "qrOfxActions.h"
#include "qrOfxParamIO.h"
#include "qrOfxSuites.h"

#include "effect/qrLocalHost.h"
#include "effect/qrRainKeys.h"

namespace Quarn::Ofx {

namespace {

namespace Key = Wrapper::Rain::Key;

// Writes the four controls preset `preset` sets, as the host shows them,
// then puts the popup back on "...".
void applyPreset(OfxImageEffectHandle instance, int preset)
{
    Wrapper::LocalHost host;
    Wrapper::RainEffect effect(&host, false);
    effect.applyPreset(preset);
    for (const char* key : {Key::density, Key::minThresh, Key::maxThresh})
        writeControl(instance, *findControl(key), {effect.getScaleParam(key, 0.0).value() * 100.0, 0, 0, 0});
    writeControl(instance, *findControl(Key::dropLength), {effect.getDoubleParam(Key::dropLength, 0.0), 0, 0, 0});
    writeControl(instance, *findControl(Key::presets), {0, 0, 0, 0});
}

void keepEdgeAlphaInStep(OfxImageEffectHandle instance, const Control& changed, double time)
{
    const ControlValue value = readControl(instance, changed, time);
    const EdgeAlphaStep step = edgeAlphaStep(changed, changed.kind == ControlKind::colour ? value[3] : value[0]);
    if (!step.partner)
        return;
    ControlValue partner = readControl(instance, *step.partner, time);
    if (step.partner->kind == ControlKind::colour)
        partner[3] = step.value;
    else
        partner[0] = step.value;
    writeControl(instance, *step.partner, partner);
}

void setRegion(const Props& out, const std::string& clip, const OfxRectD& r)
{
    const std::string name = Prop::regionOfInterestPrefix + clip;
    const double v[4] = {r.x1, r.y1, r.x2, r.y2};
    for (int k = 0; k < 4; ++k)
        out.set(name.c_str(), v[k], k);
}

}  // namespace

OfxStatus instanceChanged(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs)
{
    const Props args(inArgs);
    // Our own writes come back as changes too; only the user's are acted on.
    if (args.getString(Prop::type) != Value::typeParameter ||
        args.getString(Prop::changeReason) != Value::changeUserEdited)
        return Status::replyDefault;
    const Control* changed = findControl(args.getString(Prop::name));
    if (!changed)
        return Status::replyDefault;
    const double time = args.getDouble(Prop::time);
    if (changed->name == Key::presets) {
        const int preset = int(validValue(*changed, readControl(instance, *changed, time)[0]));
        if (preset == 0)
            return Status::ok;
        applyPreset(instance, preset);
    } else {
        keepEdgeAlphaInStep(instance, *changed, time);
    }
    return Status::ok;
}

OfxStatus regionsOfInterest(OfxImageEffectHandle instance, OfxPropertySetHandle inArgs, OfxPropertySetHandle outArgs)
{
    const double time = Props(inArgs).getDouble(Prop::time);
    const Props out(outArgs);
    for (const char* clip : {ClipName::source, ClipName::matte}) {
        OfxImageClipHandle handle = nullptr;
        OfxRectD rod {0, 0, 0, 0};
        if (suites().effect->clipGetHandle(instance, clip, &handle, nullptr) == Status::ok &&
            suites().effect->clipGetRegionOfDefinition(handle, time, &rod) == Status::ok)
            setRegion(out, clip, rod);
    }
    return Status::ok;
}

}  // namespace Quarn::Ofx
