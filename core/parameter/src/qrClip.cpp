#include "qrClip.h"

#include "qrException.h"
#include "qrParamText.h"

#include <array>
#include <utility>

namespace Quarn::Wrapper {

namespace {

template <class E, std::size_t N> using Names = std::array<std::pair<E, const char*>, N>;

constexpr Names<Cropping, 3> kCroppingNames {
    {{Cropping::none, "none"}, {Cropping::methods, "methods"}, {Cropping::crops, "crops"}}};
constexpr Names<EdgeMethod, 4> kEdgeNames {{{EdgeMethod::colour, "colour"}, {EdgeMethod::repeat, "repeat"},
    {EdgeMethod::reflect, "reflect"}, {EdgeMethod::wrap, "wrap"}}};
constexpr Names<Fields, 3> kFieldNames {
    {{Fields::both, "both"}, {Fields::single, "single"}, {Fields::doubled, "double"}}};

// The value an exact text names, or the fallback for any other text.
template <class E, std::size_t N> E fromText(const Names<E, N>& names, const std::string& text, E fallback)
{
    for (const auto& [value, name] : names)
        if (text == name)
            return value;
    return fallback;
}

template <class E, std::size_t N> const char* toText(const Names<E, N>& names, E value)
{
    for (const auto& [v, name] : names)
        if (v == value)
            return name;
    return names[0].second;
}

void readFlag(AttributeList& attributes, const char* name, bool& flag)
{
    if (const std::string* text = attributes.take(name))
        flag = Param::Text::parseBool(*text);
}

template <class E, std::size_t N>
void readEnum(AttributeList& attributes, const char* name, const Names<E, N>& names, E fallback, E& field)
{
    if (const std::string* text = attributes.take(name))
        field = fromText(names, *text, fallback);
}

}  // namespace

void Clip::readAttributes(AttributeList& attributes)
{
    HostedObject::readAttributes(attributes);
    readFlag(attributes, "ismask", isMask_);
    readFlag(attributes, "optional", optional_);
    readFlag(attributes, "tiles", tiles_);
    readFlag(attributes, "temporal", temporal_);
    readEnum(attributes, "cropping", kCroppingNames, Cropping::none, cropping_);
    if (const std::string* text = attributes.take("edges"))
        xEdges_ = yEdges_ = fromText(kEdgeNames, *text, EdgeMethod::colour);
    readEnum(attributes, "xedges", kEdgeNames, EdgeMethod::colour, xEdges_);
    readEnum(attributes, "yedges", kEdgeNames, EdgeMethod::colour, yEdges_);
    readEnum(attributes, "fields", kFieldNames, Fields::doubled, fields_);
}

void Clip::writeAttributes(std::ostream& os, bool full) const
{
    auto flag = [](bool on) { return on ? "true" : "false"; };
    HostedObject::writeAttributes(os, full);
    os << '\n';
    os << "    optional='" << flag(optional_) << "'\n";
    os << "    ismask='" << flag(isMask_) << "'\n";
    os << "    tiles='" << flag(tiles_) << "'\n";
    os << "    temporal='" << flag(temporal_) << "'\n";
    os << "    cropping='" << toText(kCroppingNames, cropping_) << "'\n";
    os << "    fields='" << toText(kFieldNames, fields_) << "'\n";
    os << "    xedges='" << toText(kEdgeNames, xEdges_) << "'\n";
    os << "    yedges='" << toText(kEdgeNames, yEdges_) << "'\n";
}

QrRectI Clip::getRegionOfDefinition(double)
{
    return {};
}

bool Clip::isConnected()
{
    return false;
}

Component Clip::getComponents()
{
    return Component::colour;
}

BitDepth Clip::getDepth()
{
    return BitDepth::eight;
}

void Clip::fetchImageRaw(double, QrTexIndexer*)
{
    throw Exceptions::Wrapper::FetchImageFailed(
        "Quarn::Wrapper::Clip::fetchImageRaw", "src/qrWrapperClip", 60, name());
}

void Clip::setFramesNeeded(double, double)
{
}

FrameRange Clip::getFrameRange()
{
    return {};
}

bool ClipSet::isConnected(const std::string& name) const
{
    Clip* clip = hsGetObject(name, false);
    return clip && clip->isConnected();
}

}  // namespace Quarn::Wrapper
