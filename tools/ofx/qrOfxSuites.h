#pragma once
// The host's suites, fetched once when the host introduces itself, and small
// readers and writers over property sets. A failure the plug-in reports to
// the host is a Failure: the OpenFX status and a message for the user.
#include "qrOfxApi.h"

#include <stdexcept>
#include <string>

namespace Quarn::Ofx {

struct Suites {
    const OfxPropertySuiteV1* property = nullptr;
    const OfxImageEffectSuiteV1* effect = nullptr;
    const OfxParameterSuiteV1* parameter = nullptr;
    const OfxMessageSuiteV2* message = nullptr;  // version 2 when the host has it, else 1
    int messageVersion = 0;

    // Whether the suites without which nothing works are there.
    bool complete() const { return property && effect && parameter; }
};

// The suites of the host that loaded the plug-in (all null before).
const Suites& suites();
void fetchSuites(const OfxHost* host);

class Failure : public std::runtime_error {
public:
    Failure(OfxStatus status, const std::string& message) : std::runtime_error(message), status_(status) { }
    OfxStatus status() const { return status_; }

private:
    OfxStatus status_;
};

// A property set: writes ignore what the host does not know (a host may not
// have every optional property); reads give `fallback` when the host has no
// value.
class Props {
public:
    explicit Props(OfxPropertySetHandle handle) : h_(handle) { }
    OfxPropertySetHandle handle() const { return h_; }

    void set(const char* name, const char* value, int index = 0) const;
    void set(const char* name, int value, int index = 0) const;
    void set(const char* name, double value, int index = 0) const;

    std::string getString(const char* name, const std::string& fallback = "", int index = 0) const;
    int getInt(const char* name, int fallback = 0, int index = 0) const;
    double getDouble(const char* name, double fallback = 0.0, int index = 0) const;
    void* getPointer(const char* name) const;
    // Four ints (a rectangle); false when the host has none.
    bool getRect(const char* name, OfxRectI& out) const;

private:
    OfxPropertySetHandle h_;
};

// Shows `text` to the user as an error of `effect`, through the host's
// message suite when it has one, and on standard error.
void reportError(OfxImageEffectHandle effect, const std::string& text);

}  // namespace Quarn::Ofx
