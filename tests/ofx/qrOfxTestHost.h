#pragma once
// A small OpenFX host for the tests: it loads the built bundle with dlopen,
// takes the effect through load, describe, describe-in-context and instance
// creation, keeps every property and parameter the plug-in defines, and
// renders images the test hands it, so that a test can drive the plug-in at
// any depth, window, scale and time and see exactly the pixels it returns.
#include "qrOfxApi.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

namespace Quarn::Ofx::Testing {

using PropValue = std::variant<int, double, std::string, void*>;

struct PropSet {
    std::map<std::string, std::vector<PropValue>> values;
    bool has(const std::string& name) const { return values.count(name) != 0; }
    std::string str(const std::string& name, size_t i = 0) const;
    double num(const std::string& name, size_t i = 0) const;
};

struct Param {
    std::string type;
    PropSet props;
    std::vector<double> value;  // one entry, four for colours
};

// A host image: RGBA (or RGB) rows, bottom row first as the standard lays
// them out, at one of the standard's depths.
struct Image {
    std::string depth = Value::depthByte;
    std::string components = Value::componentsRGBA;
    std::string premultiplication = Value::premultiplied;
    OfxRectI bounds {0, 0, 0, 0};
    double pixelAspect = 1.0;
    std::vector<unsigned char> bytes;
    int bytesPerComponent() const;
    int channels() const { return components == Value::componentsRGB ? 3 : 4; }
    std::ptrdiff_t rowBytes() const;
    // An image of `bounds` with every byte zero.
    static Image blank(const OfxRectI& bounds, const std::string& depth, const std::string& components = Value::componentsRGBA);
};

struct Clip {
    PropSet props;
};

struct Effect {
    PropSet props;
    std::map<std::string, Param> params;
    std::vector<std::string> paramOrder;
    std::map<std::string, Clip> clips;
};

class TestHost {
public:
    // Loads the bundle at `binary` and makes one instance in `context`.
    TestHost(const std::string& binary, const std::string& context = Value::contextFilter);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    const OfxPlugin& plugin() const { return *plugin_; }
    Effect& effect() { return effect_; }
    Param& param(const std::string& name) { return effect_.params.at(name); }

    OfxStatus call(const char* action, PropSet* in = nullptr, PropSet* out = nullptr);
    // Renders `window` of the output at `time` and render scale `scale`.
    // Renders may run on several threads at once, each with its own images.
    OfxStatus render(Image& source, Image& output, double time, const OfxRectI& window, double scale = 1.0,
        Image* matte = nullptr);
    // Tells the plug-in the user changed `name` (after setting its value).
    OfxStatus userChanged(const std::string& name, double time = 0.0);

    // Answers to the plug-in's abort polls, and what it told the user.
    std::atomic<bool> abortRequested {false};
    std::atomic<int> abortPolls {0};
    std::vector<std::string> messages;  // under messageLock
    std::mutex messageLock;
    std::atomic<int> imagesOut {0};  // images fetched and not yet released

private:
    void* library_ = nullptr;
    OfxPlugin* plugin_ = nullptr;
    Effect effect_;
};

}  // namespace Quarn::Ofx::Testing
