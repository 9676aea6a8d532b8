// The two functions an OpenFX host looks up in the bundle, and the plug-in's
// main entry. Every call is a C boundary: whatever is thrown inside becomes
// a status (and a message to the user where there is something to say).
#include "qrOfxActions.h"
#include "qrOfxSuites.h"

#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

#include <cstring>
#include <exception>
#include <new>

using namespace Quarn::Ofx;

namespace {

// Runs `f` and turns what it throws into a status, telling the user why.
template <class F> OfxStatus guarded(OfxImageEffectHandle effect, F&& f)
{
    OfxStatus status = Status::failed;
    try {
        return f();
    } catch (const Failure& e) {
        status = e.status();
        if (*e.what())
            reportError(effect, e.what());
    } catch (const Quarn::Exceptions::OutOfMemory&) {
        status = Status::errMemory;
        reportError(effect, "Nimbrel out of memory.");
    } catch (const std::bad_alloc&) {
        status = Status::errMemory;
        reportError(effect, "Nimbrel out of memory.");
    } catch (const Quarn::Exceptions::ExceptionI& e) {
        try {
            reportError(effect, e.message());
        } catch (...) {
            reportError(effect, e.name());
        }
    } catch (const std::exception& e) {
        reportError(effect, e.what());
    } catch (...) {
        reportError(effect, "internal error");
    }
    // What the failure left on this thread's exception record goes with it.
    try {
        Quarn::Exceptions::Stack::clear();
    } catch (...) {
    }
    return status;
}

OfxStatus dispatch(const char* action, OfxImageEffectHandle effect, OfxPropertySetHandle in, OfxPropertySetHandle out)
{
    const auto is = [action](const char* name) { return std::strcmp(action, name) == 0; };
    if (is(Action::load)) {
        if (!suites().complete())
            throw Failure(Status::errMissingHostFeature, "the host lacks the property, effect or parameter suite");
        Quarn::Errors::Initialise();
        return Status::ok;
    }
    if (is(Action::unload) || is(Action::createInstance) || is(Action::destroyInstance))
        return Status::ok;
    if (!effect)
        return Status::errBadHandle;
    if (is(Action::describe)) {
        describe(effect);
        return Status::ok;
    }
    if (is(Action::describeInContext)) {
        describeInContext(effect, in);
        return Status::ok;
    }
    if (is(Action::render)) {
        render(effect, in);
        return Status::ok;
    }
    if (is(Action::instanceChanged))
        return instanceChanged(effect, in);
    if (is(Action::regionsOfInterest))
        return regionsOfInterest(effect, in, out);
    return Status::replyDefault;
}

void setHost(OfxHost* host)
{
    fetchSuites(host);
}

OfxStatus mainEntry(const char* action, const void* handle, OfxPropertySetHandle in, OfxPropertySetHandle out)
{
    auto* effect = static_cast<OfxImageEffectHandle>(const_cast<void*>(handle));
    if (!action)
        return Status::errBadHandle;
    return guarded(effect, [&] { return dispatch(action, effect, in, out); });
}

OfxPlugin gPlugin = {kImageEffectApi, 1, kPluginIdentifier, 2, 1, &setHost, &mainEntry};

}  // namespace

#ifdef _WIN32
#define NIMBREL_OFX_EXPORT __declspec(dllexport)
#else
#define NIMBREL_OFX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

NIMBREL_OFX_EXPORT int OfxGetNumberOfPlugins()
{
    return 1;
}

NIMBREL_OFX_EXPORT OfxPlugin* OfxGetPlugin(int nth)
{
    return nth == 0 ? &gPlugin : nullptr;
}

}  // extern "C"
