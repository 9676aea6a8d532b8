#pragma once
// Clips: the images an effect takes and gives, by name. The generic clip
// holds the description (mask or not, optional, tiles, temporal access,
// cropping, edge methods, field handling); a host adapter derives from it and
// gives the image operations their meaning. The defaults describe a clip that
// no host backs: never connected, no image.
#include "qrHostedObject.h"
#include "qrParamValueTypes.h"

#include <cstdint>
#include <ostream>
#include <string>

// The image library's destination type; only passed through here.
class QrTexIndexer;

namespace Quarn::Wrapper {

enum class Fields : int32_t { both = 0, single = 1, doubled = 2 };
enum class BitDepth : int32_t { eight = 1, sixteen = 2, floating = 3 };
enum class Component : int32_t { colour = 0, alpha = 1 };
enum class Cropping : int32_t { none = 0, methods = 1, crops = 2 };
// How a processor reads outside the image: constant colour, repeat of the
// border pixel, reflection, wrap-around (the image library's codes).
enum class EdgeMethod : int32_t { colour = 0, repeat = 1, reflect = 2, wrap = 3 };

struct FrameRange {
    double first = 0.0;
    double last = 0.0;
};

class Clip : public HostedObject {
public:
    explicit Clip(std::string name) : HostedObject(std::move(name)) { }

    // The name and texts, an end of line, then one indented line per field.
    void writeAttributes(std::ostream& os, bool full) const override;
    // The common attributes, then ismask, optional, tiles, temporal (bool
    // texts), cropping, edges (both axes), xedges, yedges and fields. An
    // unknown text reads as none, colour or double.
    void readAttributes(AttributeList& attributes) override;

    // Image operations, answered by a host adapter.
    virtual QrRectI getRegionOfDefinition(double time);
    virtual bool isConnected();
    virtual Component getComponents();
    virtual BitDepth getDepth();
    // Copies the clip's image at `time` into `dest`; FetchImageFailed here.
    virtual void fetchImageRaw(double time, QrTexIndexer* dest);
    virtual void setFramesNeeded(double first, double last);
    virtual FrameRange getFrameRange();

    bool isMask() const { return isMask_; }
    void setIsMask(bool on) { isMask_ = on; }
    bool optional() const { return optional_; }
    void setOptional(bool on) { optional_ = on; }
    bool tiles() const { return tiles_; }
    void setTiles(bool on) { tiles_ = on; }
    bool temporal() const { return temporal_; }
    void setTemporal(bool on) { temporal_ = on; }
    Cropping cropping() const { return cropping_; }
    void setCropping(Cropping c) { cropping_ = c; }
    EdgeMethod xEdges() const { return xEdges_; }
    void setXEdges(EdgeMethod m) { xEdges_ = m; }
    EdgeMethod yEdges() const { return yEdges_; }
    void setYEdges(EdgeMethod m) { yEdges_ = m; }
    Fields fields() const { return fields_; }
    void setFields(Fields f) { fields_ = f; }

private:
    bool isMask_ = false;
    bool optional_ = false;
    bool tiles_ = false;
    bool temporal_ = false;
    Cropping cropping_ = Cropping::none;
    EdgeMethod xEdges_ = EdgeMethod::colour;
    EdgeMethod yEdges_ = EdgeMethod::colour;
    Fields fields_ = Fields::doubled;
};

}  // namespace Quarn::Wrapper

namespace Quarn {
template <> struct HostedTypeName<Wrapper::Clip> {
    static constexpr const char* value = "class Quarn::Wrapper::Clip";
};
}  // namespace Quarn

namespace Quarn::Wrapper {

// The effect's clips, by name, with a definition lock like a parameter set's.
class ClipSet : public HostedSet<Clip> {
public:
    bool definitionLocked() const { return definitionLock_; }
    void setDefinitionLock(bool on) { definitionLock_ = on; }
    // True when the set holds the clip and the clip is connected.
    virtual bool isConnected(const std::string& name) const;

private:
    bool definitionLock_ = false;
};

}  // namespace Quarn::Wrapper
