// The frei0r entry points of the rain filter. Every call is a C boundary:
// nothing thrown inside gets out. A frame that fails to render is passed
// through unchanged, with one line on standard error.
#include "qrException.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"
#include "qrFrei0rFilter.h"

// frei0r.h declares the entry points without C linkage of its own.
extern "C" {
#include <frei0r.h>
}

#include <cstdio>
#include <cstring>
#include <exception>

using Quarn::Frei0r::Filter;
using Quarn::Frei0r::filterParams;
using Quarn::Frei0r::kFilterParamCount;
using Quarn::Frei0r::Mapping;

namespace {

void report(const char* what, const char* detail)
{
    std::fprintf(stderr, "nimbrel: %s: %s\n", what, detail);
}

// Formatting the message may itself fail (no memory left): the class name
// says enough then.
void report(const char* what, const Quarn::Exceptions::ExceptionI& e)
{
    try {
        report(what, e.message().c_str());
    } catch (...) {
        report(what, e.name());
    }
}

template <class F> bool guarded(const char* what, F&& f)
{
    try {
        f();
        return true;
    } catch (const Quarn::Exceptions::OutOfMemory&) {
        report(what, "not enough memory for the frame's images");
    } catch (const Quarn::Exceptions::ExceptionI& e) {
        report(what, e);
    } catch (const std::exception& e) {
        report(what, e.what());
    } catch (...) {
        report(what, "internal error");
    }
    // What the failure left on this thread's exception record goes with it:
    // the next frame starts clean.
    try {
        Quarn::Exceptions::Stack::clear();
    } catch (...) {
    }
    return false;
}

Filter* filterOf(f0r_instance_t instance)
{
    return static_cast<Filter*>(instance);
}

}  // namespace

extern "C" {

int f0r_init()
{
    // The error texts, so that a failed frame can say what went wrong.
    guarded("init", [] { Quarn::Errors::Initialise(); });
    return 1;
}

void f0r_deinit()
{
}

void f0r_get_plugin_info(f0r_plugin_info_t* info)
{
    info->name = "Nimbrel";
    info->author = "Nimbrel developers";
    info->plugin_type = F0R_PLUGIN_TYPE_FILTER;
    info->color_model = F0R_COLOR_MODEL_RGBA8888;
    info->frei0r_version = FREI0R_MAJOR_VERSION;
    // The project's version, so that hosts that show it show the package's.
    info->major_version = NIMBREL_VERSION_MAJOR;
    info->minor_version = NIMBREL_VERSION_MINOR;
    info->num_params = kFilterParamCount;
    info->explanation = "Rain: drops streaked along the rain direction, with highlights diffused "
                        "along the rain and a blend with the picture";
}

void f0r_get_param_info(f0r_param_info_t* info, int index)
{
    if (index < 0 || index >= kFilterParamCount)
        return;
    const auto& p = filterParams()[index];
    info->name = p.name;
    info->type = p.mapping == Mapping::choice ? F0R_PARAM_STRING
        : p.mapping == Mapping::flag          ? F0R_PARAM_BOOL
                                              : F0R_PARAM_DOUBLE;
    info->explanation = p.explanation;
}

f0r_instance_t f0r_construct(unsigned int width, unsigned int height)
{
    Filter* filter = nullptr;
    if (width == 0 || height == 0 || width > 65536 || height > 65536)
        return nullptr;
    // The host's time unit, found once: the process does not change host.
    static const Quarn::Frei0r::TimeUnit unit =
        Quarn::Frei0r::hostTimeUnit(Quarn::Frei0r::loadedHostLibraries());
    guarded("construct", [&] { filter = new Filter(int32_t(width), int32_t(height), unit); });
    return filter;
}

void f0r_destruct(f0r_instance_t instance)
{
    guarded("destruct", [&] { delete filterOf(instance); });
}

void f0r_set_param_value(f0r_instance_t instance, f0r_param_t param, int index)
{
    if (!instance || !param || index < 0 || index >= kFilterParamCount)
        return;
    Filter* filter = filterOf(instance);
    guarded("set parameter", [&] {
        if (filterParams()[index].mapping == Mapping::choice)
            filter->setText(index, *static_cast<f0r_param_string*>(param));
        else
            filter->setNumber(index, *static_cast<f0r_param_double*>(param));
    });
}

void f0r_get_param_value(f0r_instance_t instance, f0r_param_t param, int index)
{
    if (!instance || !param || index < 0 || index >= kFilterParamCount)
        return;
    const Filter* filter = filterOf(instance);
    // The string stays the filter's: frei0r hosts must not free it.
    if (filterParams()[index].mapping == Mapping::choice)
        *static_cast<f0r_param_string*>(param) = const_cast<char*>(filter->text(index));
    else
        *static_cast<f0r_param_double*>(param) = filter->number(index);
}

void f0r_update(f0r_instance_t instance, double time, const uint32_t* inframe, uint32_t* outframe)
{
    if (!instance || !inframe || !outframe)
        return;
    Filter* filter = filterOf(instance);
    const bool rendered = guarded("render", [&] { filter->update(time, inframe, outframe); });
    if (!rendered && inframe != outframe)
        std::memcpy(outframe, inframe, size_t(filter->width()) * size_t(filter->height()) * 4);
}

}  // extern "C"
