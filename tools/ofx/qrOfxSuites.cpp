#include "qrOfxSuites.h"

#include <cstdio>

namespace Quarn::Ofx {

namespace {

Suites gSuites;

template <class T> const T* fetch(const OfxHost* host, const char* name, int version)
{
    return static_cast<const T*>(host->fetchSuite(host->host, name, version));
}

}  // namespace

const Suites& suites()
{
    return gSuites;
}

void fetchSuites(const OfxHost* host)
{
    gSuites = Suites {};
    if (!host || !host->fetchSuite)
        return;
    gSuites.property = fetch<OfxPropertySuiteV1>(host, Suite::property, 1);
    gSuites.effect = fetch<OfxImageEffectSuiteV1>(host, Suite::imageEffect, 1);
    gSuites.parameter = fetch<OfxParameterSuiteV1>(host, Suite::parameter, 1);
    for (int version : {2, 1}) {
        gSuites.message = fetch<OfxMessageSuiteV2>(host, Suite::message, version);
        if (gSuites.message) {
            gSuites.messageVersion = version;
            break;
        }
    }
}

void Props::set(const char* name, const char* value, int index) const
{
    gSuites.property->propSetString(h_, name, index, value);
}

void Props::set(const char* name, int value, int index) const
{
    gSuites.property->propSetInt(h_, name, index, value);
}

void Props::set(const char* name, double value, int index) const
{
    gSuites.property->propSetDouble(h_, name, index, value);
}

std::string Props::getString(const char* name, const std::string& fallback, int index) const
{
    char* value = nullptr;
    if (gSuites.property->propGetString(h_, name, index, &value) != Status::ok || !value)
        return fallback;
    return value;
}

int Props::getInt(const char* name, int fallback, int index) const
{
    int value = 0;
    return gSuites.property->propGetInt(h_, name, index, &value) == Status::ok ? value : fallback;
}

double Props::getDouble(const char* name, double fallback, int index) const
{
    double value = 0.0;
    return gSuites.property->propGetDouble(h_, name, index, &value) == Status::ok ? value : fallback;
}

void* Props::getPointer(const char* name) const
{
    void* value = nullptr;
    return gSuites.property->propGetPointer(h_, name, 0, &value) == Status::ok ? value : nullptr;
}

bool Props::getRect(const char* name, OfxRectI& out) const
{
    int v[4] = {0, 0, 0, 0};
    if (gSuites.property->propGetIntN(h_, name, 4, v) != Status::ok)
        return false;
    out = {v[0], v[1], v[2], v[3]};
    return true;
}

void reportError(OfxImageEffectHandle effect, const std::string& text)
{
    std::fprintf(stderr, "Nimbrel: %s\n", text.c_str());
    if (gSuites.message && gSuites.message->message && effect)
        gSuites.message->message(effect, Value::messageError, nullptr, "%s", text.c_str());
}

}  // namespace Quarn::Ofx
