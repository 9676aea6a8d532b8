#pragma once
// The video frame a frei0r host's time names. A frei0r call passes a time
// and nothing else: no unit and no frame rate, and the hosts differ. ffmpeg's
// frei0r filter (libavfilter) passes milliseconds; MLT (melt, Kdenlive,
// Shotcut) and GStreamer pass seconds, as the frei0r header asks. The unit is
// therefore told by the program the filter is loaded into, found once from
// the libraries the process has loaded; the frame rate is the filter's own
// `frame_rate` parameter. A frame depends only on the time of its own call,
// so seeking in an editor, or rendering one frame alone, draws the frame
// that a whole run draws.
#include <cstdint>
#include <optional>

namespace Quarn::Frei0r {

enum class TimeUnit { seconds, milliseconds };

// Which frei0r hosts' libraries the process holds.
struct HostLibraries {
    bool mlt = false;
    bool gstreamer = false;
    bool libavfilter = false;
};

// The libraries of the process the filter is loaded into.
HostLibraries loadedHostLibraries();

// MLT and GStreamer pass seconds even when libavfilter is loaded too (their
// own ffmpeg-based modules may bring it); libavfilter alone is ffmpeg, which
// passes milliseconds; any other host is taken at the frei0r header's word.
TimeUnit hostTimeUnit(const HostLibraries& libraries);

// The frame that `time` names at `frameRate` frames a second, rounded to the
// nearest; nothing for a time that names no frame: negative, not finite, or
// beyond 32 bits of frames (ffmpeg's and GStreamer's "no time stamp").
std::optional<int32_t> videoFrame(double time, TimeUnit unit, double frameRate);

}  // namespace Quarn::Frei0r
