#pragma once
// One frei0r instance of the rain filter: the rain effect over a local host,
// answering from the effect's own parameters. The filter keeps each
// parameter as frei0r set it (so frei0r reads back what it wrote) and
// passes the mapped value to the effect.
#include "qrFrei0rClock.h"
#include "qrFrei0rParams.h"
#include "qrFrei0rPixels.h"
#include "effect/qrLocalHost.h"
#include "effect/qrRainEffect.h"

#include <array>
#include <cstdint>
#include <string>

namespace Quarn::Frei0r {

class Filter {
public:
    // `unit`: how the host passes its time (see qrFrei0rClock.h).
    Filter(int32_t width, int32_t height, TimeUnit unit = TimeUnit::seconds);
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // Double parameters; out-of-range indices and string parameters are
    // ignored (read as 0).
    void setNumber(int index, double value);
    double number(int index) const;
    // String parameters: an unknown entry name leaves the value as it was.
    void setText(int index, const char* text);
    const char* text(int index) const;

    // Renders frame `in` at the host's `time` into `out` (both width x height
    // RGBA; they may be the same memory). The rain's frame is the video frame
    // that the time names at the `frame_rate` parameter's rate. A time that
    // names no frame (a host's "no time stamp") leaves only one way to keep
    // the rain moving: the drops then follow the number of frames this
    // instance rendered before.
    void update(double time, const uint32_t* in, uint32_t* out);

    int32_t width() const { return source_.width(); }
    int32_t height() const { return source_.height(); }
    // The effect, for reading back what the parameters became.
    Quarn::Wrapper::RainEffect& effect() { return effect_; }

private:
    void attachClips();

    Quarn::Wrapper::LocalHost host_;
    Quarn::Wrapper::RainEffect effect_ {&host_, false};
    FrameTexture source_;
    FrameTexture output_;  // wraps the frame being rendered; the host reads it
    std::array<double, kFilterParamCount> numbers_ {};
    std::array<std::string, kFilterParamCount> texts_;
    QrRainMotion motion_;
    TimeUnit unit_;
    double frameRate_ = 25.0;
    int32_t framesRendered_ = 0;
};

}  // namespace Quarn::Frei0r
