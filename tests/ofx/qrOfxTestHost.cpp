#include "qrOfxTestHost.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace Quarn::Ofx::Testing {

namespace {

TestHost* gHost = nullptr;
// The images of the render running on this thread, by clip.
thread_local std::map<const Clip*, Image*> tImages;

Image* imageOf(const Clip* clip)
{
    auto it = tImages.find(clip);
    return it == tImages.end() ? nullptr : it->second;
}

PropSet* P(OfxPropertySetHandle h)
{
    return reinterpret_cast<PropSet*>(h);
}
OfxPropertySetHandle H(PropSet* p)
{
    return reinterpret_cast<OfxPropertySetHandle>(p);
}
Effect* E(const void* h)
{
    return static_cast<Effect*>(const_cast<void*>(h));
}

template <class T> OfxStatus setOne(OfxPropertySetHandle h, const char* name, int index, T value)
{
    if (!h || index < 0)
        return Status::errBadHandle;
    auto& v = P(h)->values[name];
    if (v.size() <= size_t(index))
        v.resize(size_t(index) + 1, PropValue(T {}));
    v[size_t(index)] = value;
    return Status::ok;
}

template <class T> OfxStatus getOne(OfxPropertySetHandle h, const char* name, int index, T* out)
{
    if (!h)
        return Status::errBadHandle;
    auto it = P(h)->values.find(name);
    if (it == P(h)->values.end())
        return Status::errUnknown;
    if (index < 0 || size_t(index) >= it->second.size())
        return Status::errBadIndex;
    const PropValue& v = it->second[size_t(index)];
    if (const T* t = std::get_if<T>(&v)) {
        *out = *t;
        return Status::ok;
    }
    if constexpr (std::is_same_v<T, double>)
        if (const int* i = std::get_if<int>(&v)) {
            *out = *i;
            return Status::ok;
        }
    return Status::errValue;
}

OfxStatus getString(OfxPropertySetHandle h, const char* name, int index, char** out)
{
    auto it = P(h)->values.find(name);
    if (it == P(h)->values.end() || index < 0 || size_t(index) >= it->second.size())
        return Status::errUnknown;
    auto* s = std::get_if<std::string>(&it->second[size_t(index)]);
    if (!s)
        return Status::errValue;
    *out = s->data();
    return Status::ok;
}

template <class T> OfxStatus getN(OfxPropertySetHandle h, const char* name, int count, T* out)
{
    for (int i = 0; i < count; ++i)
        if (OfxStatus s = getOne(h, name, i, out + i); s != Status::ok)
            return s;
    return Status::ok;
}

OfxStatus dimension(OfxPropertySetHandle h, const char* name, int* count)
{
    auto it = P(h)->values.find(name);
    *count = it == P(h)->values.end() ? 0 : int(it->second.size());
    return it == P(h)->values.end() ? Status::errUnknown : Status::ok;
}

const OfxPropertySuiteV1 kPropertySuite = {
    [](OfxPropertySetHandle h, const char* n, int i, void* v) { return setOne(h, n, i, v); },
    [](OfxPropertySetHandle h, const char* n, int i, const char* v) { return setOne(h, n, i, std::string(v)); },
    [](OfxPropertySetHandle h, const char* n, int i, double v) { return setOne(h, n, i, v); },
    [](OfxPropertySetHandle h, const char* n, int i, int v) { return setOne(h, n, i, v); },
    nullptr, nullptr, nullptr, nullptr,
    [](OfxPropertySetHandle h, const char* n, int i, void** v) { return getOne(h, n, i, v); },
    &getString,
    [](OfxPropertySetHandle h, const char* n, int i, double* v) { return getOne(h, n, i, v); },
    [](OfxPropertySetHandle h, const char* n, int i, int* v) { return getOne(h, n, i, v); },
    nullptr, nullptr,
    [](OfxPropertySetHandle h, const char* n, int c, double* v) { return getN(h, n, c, v); },
    [](OfxPropertySetHandle h, const char* n, int c, int* v) { return getN(h, n, c, v); },
    nullptr,
    &dimension,
};

Clip* findClip(OfxImageEffectHandle effect, const char* name)
{
    auto& clips = E(effect)->clips;
    auto it = clips.find(name);
    return it == clips.end() ? nullptr : &it->second;
}

OfxStatus clipGetImage(OfxImageClipHandle handle, OfxTime, const OfxRectD*, OfxPropertySetHandle* out)
{
    Image* found = imageOf(reinterpret_cast<Clip*>(handle));
    if (!found)
        return Status::failed;
    Image& image = *found;
    auto* p = new PropSet;
    p->values[Prop::imageData] = {static_cast<void*>(image.bytes.data())};
    p->values[Prop::imageBounds] = {image.bounds.x1, image.bounds.y1, image.bounds.x2, image.bounds.y2};
    p->values[Prop::imageRowBytes] = {int(image.rowBytes())};
    p->values[Prop::pixelDepth] = {image.depth};
    p->values[Prop::components] = {image.components};
    p->values[Prop::premultiplication] = {image.premultiplication};
    p->values[Prop::pixelAspectRatio] = {image.pixelAspect};
    *out = H(p);
    ++gHost->imagesOut;
    return Status::ok;
}

const OfxImageEffectSuiteV1 kEffectSuite = {
    [](OfxImageEffectHandle e, OfxPropertySetHandle* p) { return *p = H(&E(e)->props), Status::ok; },
    [](OfxImageEffectHandle e, OfxParamSetHandle* s) {
        return *s = reinterpret_cast<OfxParamSetHandle>(e), Status::ok;
    },
    [](OfxImageEffectHandle e, const char* name, OfxPropertySetHandle* p) {
        return *p = H(&E(e)->clips[name].props), Status::ok;
    },
    [](OfxImageEffectHandle e, const char* name, OfxImageClipHandle* c, OfxPropertySetHandle* p) {
        Clip* clip = findClip(e, name);
        if (!clip)
            return Status::errUnknown;
        *c = reinterpret_cast<OfxImageClipHandle>(clip);
        if (p)
            *p = H(&clip->props);
        return Status::ok;
    },
    [](OfxImageClipHandle c, OfxPropertySetHandle* p) {
        return *p = H(&reinterpret_cast<Clip*>(c)->props), Status::ok;
    },
    &clipGetImage,
    [](OfxPropertySetHandle image) {
        delete P(image);
        --gHost->imagesOut;
        return Status::ok;
    },
    [](OfxImageClipHandle c, OfxTime, OfxRectD* rod) {
        const Image* image = imageOf(reinterpret_cast<Clip*>(c));
        if (!image)
            return Status::failed;
        *rod = {double(image->bounds.x1), double(image->bounds.y1), double(image->bounds.x2), double(image->bounds.y2)};
        return Status::ok;
    },
    [](OfxImageEffectHandle) {
        ++gHost->abortPolls;
        return gHost->abortRequested ? 1 : 0;
    },
    nullptr, nullptr, nullptr, nullptr,
};

Param* paramOf(OfxParamHandle h)
{
    return reinterpret_cast<Param*>(h);
}
bool isIntegral(const std::string& type)
{
    return type == ParamType::integer || type == ParamType::boolean || type == ParamType::choice;
}

OfxStatus getValueAtTime(OfxParamHandle h, OfxTime time, ...)
{
    Param* p = paramOf(h);
    va_list ap;
    va_start(ap, time);
    for (double v : p->value) {
        if (isIntegral(p->type))
            *va_arg(ap, int*) = int(v);
        else
            *va_arg(ap, double*) = v;
    }
    va_end(ap);
    return Status::ok;
}

OfxStatus setValue(OfxParamHandle h, ...)
{
    Param* p = paramOf(h);
    va_list ap;
    va_start(ap, h);
    for (double& v : p->value)
        v = isIntegral(p->type) ? double(va_arg(ap, int)) : va_arg(ap, double);
    va_end(ap);
    return Status::ok;
}

const OfxParameterSuiteV1 kParamSuite = {
    [](OfxParamSetHandle s, const char* type, const char* name, OfxPropertySetHandle* props) {
        Effect* e = E(s);
        if (e->params.count(name))
            return Status::errExists;
        Param& p = e->params[name];
        p.type = type;
        e->paramOrder.push_back(name);
        *props = H(&p.props);
        return Status::ok;
    },
    [](OfxParamSetHandle s, const char* name, OfxParamHandle* h, OfxPropertySetHandle* props) {
        auto& params = E(s)->params;
        auto it = params.find(name);
        if (it == params.end())
            return Status::errUnknown;
        *h = reinterpret_cast<OfxParamHandle>(&it->second);
        if (props)
            *props = H(&it->second.props);
        return Status::ok;
    },
    nullptr, nullptr, nullptr,
    &getValueAtTime,
    nullptr, nullptr,
    &setValue,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

OfxStatus message(void*, const char*, const char*, const char* format, ...)
{
    char text[1024];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    const std::lock_guard<std::mutex> lock(gHost->messageLock);
    gHost->messages.emplace_back(text);
    return Status::ok;
}

const OfxMessageSuiteV2 kMessageSuite = {&message, nullptr, nullptr};

const void* fetchSuite(OfxPropertySetHandle, const char* name, int version)
{
    const std::string n(name);
    if (n == Suite::property && version == 1)
        return &kPropertySuite;
    if (n == Suite::imageEffect && version == 1)
        return &kEffectSuite;
    if (n == Suite::parameter && version == 1)
        return &kParamSuite;
    if (n == Suite::message && version == 1)
        return &kMessageSuite;
    return nullptr;
}

PropSet gHostProps;
OfxHost gOfxHost = {H(&gHostProps), &fetchSuite};

}  // namespace

std::string PropSet::str(const std::string& name, size_t i) const
{
    return std::get<std::string>(values.at(name).at(i));
}

double PropSet::num(const std::string& name, size_t i) const
{
    const PropValue& v = values.at(name).at(i);
    return std::holds_alternative<int>(v) ? std::get<int>(v) : std::get<double>(v);
}

int Image::bytesPerComponent() const
{
    return depth == Value::depthByte ? 1 : depth == Value::depthShort ? 2 : 4;
}

std::ptrdiff_t Image::rowBytes() const
{
    return std::ptrdiff_t(bounds.x2 - bounds.x1) * channels() * bytesPerComponent();
}

Image Image::blank(const OfxRectI& bounds, const std::string& depth, const std::string& components)
{
    Image image;
    image.bounds = bounds;
    image.depth = depth;
    image.components = components;
    image.bytes.assign(size_t(image.rowBytes()) * size_t(bounds.y2 - bounds.y1), 0);
    return image;
}

TestHost::TestHost(const std::string& binary, const std::string& context)
{
    gHost = this;
    library_ = dlopen(binary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_)
        throw std::runtime_error(dlerror());
    auto count = reinterpret_cast<int (*)()>(dlsym(library_, "OfxGetNumberOfPlugins"));
    auto get = reinterpret_cast<OfxPlugin* (*)(int)>(dlsym(library_, "OfxGetPlugin"));
    if (!count || !get || count() != 1 || !(plugin_ = get(0)))
        throw std::runtime_error("the bundle does not offer one plug-in");
    plugin_->setHost(&gOfxHost);
    PropSet in;
    in.values[Prop::context] = {context};
    for (const char* action : {Action::load, Action::describe, Action::describeInContext, Action::createInstance})
        if (OfxStatus s = call(action, std::strcmp(action, Action::describeInContext) == 0 ? &in : nullptr); s != Status::ok)
            throw std::runtime_error(std::string(action) + " answered " + std::to_string(s));
    for (auto& [name, p] : effect_.params) {
        if (p.type == ParamType::group)
            continue;
        const size_t n = p.type == ParamType::rgba ? 4 : 1;
        for (size_t i = 0; i < n; ++i)
            p.value.push_back(p.props.num(Prop::paramDefault, i));
    }
}

TestHost::~TestHost()
{
    gHost = this;
    call(Action::destroyInstance);
    call(Action::unload);
    if (library_)
        dlclose(library_);
    gHost = nullptr;
}

OfxStatus TestHost::call(const char* action, PropSet* in, PropSet* out)
{
    return plugin_->mainEntry(action, &effect_, in ? H(in) : nullptr, out ? H(out) : nullptr);
}

OfxStatus TestHost::render(Image& source, Image& output, double time, const OfxRectI& window, double scale, Image* matte)
{
    tImages = {{&effect_.clips.at(ClipName::source), &source}, {&effect_.clips.at(ClipName::output), &output}};
    if (effect_.clips.count(ClipName::matte))
        tImages[&effect_.clips.at(ClipName::matte)] = matte;
    PropSet in;
    in.values[Prop::time] = {time};
    in.values[Prop::renderWindow] = {window.x1, window.y1, window.x2, window.y2};
    in.values[Prop::renderScale] = {scale, scale};
    return call(Action::render, &in);
}

OfxStatus TestHost::userChanged(const std::string& name, double time)
{
    PropSet in;
    in.values[Prop::type] = {std::string(Value::typeParameter)};
    in.values[Prop::name] = {name};
    in.values[Prop::changeReason] = {std::string(Value::changeUserEdited)};
    in.values[Prop::time] = {time};
    return call(Action::instanceChanged, &in);
}

}  // namespace Quarn::Ofx::Testing
