#pragma once
// The generic host of an effect: the parameter host (values by internal key)
// plus messages, time, frame geometry and the output image. The After Effects
// adapter and the frei0r adapter both implement it; the rain effect talks to
// a host only through this interface and its clips.
#include "qrParamHostI.h"
#include "qrParamValueTypes.h"

#include <cstdint>
#include <string>

class QrTexIndexer;
struct QrInterruptRecord;

namespace Quarn::Message {

enum class Severity : int32_t { info = 0, warning = 1, error = 2 };

class HostI {
public:
    virtual ~HostI() = default;
    // Shows `text` to the user under `title`.
    virtual void sendMessage(Severity severity, const std::string& title, const std::string& text) = 0;
};

}  // namespace Quarn::Message

namespace Quarn::Wrapper {

class HostI : public Param::HostI, public Message::HostI {
public:
    // Current time in frames (0 for a host without time).
    virtual double getTime() = 0;
    virtual double getFrameRate() = 0;
    virtual double getPixelAspectRatio() = 0;
    // Render scale per axis: 1.0 at full resolution, 0.5 at half.
    virtual void getDownsample(double& x, double& y) = 0;
    virtual void getImageSize(int32_t& width, int32_t& height) = 0;
    // The part of the output the host wants, inclusive of x2/y2 as the host
    // gives it; the effect processes up to x2 + 1, y2 + 1.
    virtual QrRectI getOutputExtent() = 0;
    // 1 when images come premultiplied by alpha (After Effects), 0 otherwise.
    virtual int32_t getPremultiplicationState() = 0;
    // Polled by every processor between rows; null when the host has none.
    virtual QrInterruptRecord* getInterruptRecord() = 0;
    // Makes `dest` the output image (sharing the host's memory where it can);
    // false when there is none of the destination's pixel type.
    virtual bool fetchOutputImageRaw(QrTexIndexer* dest) = 0;
    // A popup's host position (0-based) as the effect's internal value.
    virtual int32_t forwardPopupMapping(const std::string& key, int32_t position) = 0;
};

}  // namespace Quarn::Wrapper
