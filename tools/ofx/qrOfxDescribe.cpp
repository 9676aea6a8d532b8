// The effect as a host first sees it: its properties, its clips in each
// context, its controls.
#include "qrOfxActions.h"
#include "qrOfxParamIO.h"
#include "qrOfxSuites.h"

#include <cstring>

namespace Quarn::Ofx {

namespace {

Props propsOf(OfxImageEffectHandle effect)
{
    OfxPropertySetHandle handle = nullptr;
    if (suites().effect->getPropertySet(effect, &handle) != Status::ok || !handle)
        throw Failure(Status::errBadHandle, "the host gave no effect properties");
    return Props(handle);
}

void defineClip(OfxImageEffectHandle descriptor, const char* name, bool optional)
{
    OfxPropertySetHandle handle = nullptr;
    if (suites().effect->clipDefine(descriptor, name, &handle) != Status::ok || !handle)
        throw Failure(Status::failed, std::string("the host refused the clip \"") + name + "\"");
    const Props p(handle);
    p.set(Prop::supportedComponents, Value::componentsRGBA, 0);
    p.set(Prop::supportedComponents, Value::componentsRGB, 1);
    p.set(Prop::supportsTiles, 0);
    p.set(Prop::temporalClipAccess, 0);
    if (optional)
        p.set(Prop::clipOptional, 1);
}

}  // namespace

void describe(OfxImageEffectHandle descriptor)
{
    const Props p = propsOf(descriptor);
    p.set(Prop::label, "Nimbrel");
    p.set(Prop::grouping, "Brastor 4");
    p.set(Prop::pluginDescription,
        "Rain: drops streaked along the rain direction, highlights diffused along the rain, "
        "and a blend with the picture");
    p.set(Prop::versionLabel, "2.1.0");
    p.set(Prop::supportedContexts, Value::contextFilter, 0);
    p.set(Prop::supportedContexts, Value::contextGeneral, 1);
    p.set(Prop::supportedPixelDepths, Value::depthByte, 0);
    p.set(Prop::supportedPixelDepths, Value::depthShort, 1);
    p.set(Prop::supportedPixelDepths, Value::depthFloat, 2);
    p.set(Prop::singleInstance, 0);
    // A render keeps nothing between calls and the effect splits each pass
    // over its own worker threads: any number of renders may run at once,
    // and the host need not split frames for us.
    p.set(Prop::renderThreadSafety, Value::renderFullySafe);
    p.set(Prop::hostFrameThreading, 0);
    p.set(Prop::supportsMultiResolution, 1);
    // Streaks reach across the whole frame: the effect renders whole frames
    // (a window smaller than the frame still gets every pixel right).
    p.set(Prop::supportsTiles, 0);
    p.set(Prop::temporalClipAccess, 0);
    p.set(Prop::multipleClipDepths, 0);
}

void describeInContext(OfxImageEffectHandle descriptor, OfxPropertySetHandle inArgs)
{
    const std::string context = Props(inArgs).getString(Prop::context);
    const bool general = context == Value::contextGeneral;
    if (!general && context != Value::contextFilter)
        throw Failure(Status::errUnsupported, "the context " + context + " is not supported");
    defineClip(descriptor, ClipName::source, false);
    defineClip(descriptor, ClipName::output, false);
    if (general)
        defineClip(descriptor, ClipName::matte, true);
    defineControls(descriptor);
}

}  // namespace Quarn::Ofx
