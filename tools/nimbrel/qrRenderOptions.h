// What `nimbrel render` was asked to do, as parsed from its command line.
#pragma once

#include "qrEffectHost.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Cli {

// One --set or --preset, kept in command-line order: each acts as a user's
// change, so a later one sees what the earlier ones did.
struct ParamChange {
    enum Kind { Set, Preset } kind;
    std::string text;  // NAME=VALUE, or the preset's entry
};

struct FrameRange {
    long first = 0;
    long last = 0;
    long count() const { return last - first + 1; }
};

struct RenderOptions {
    std::string input;
    std::string output;
    std::vector<ParamChange> changes;
    std::optional<std::string> matteLayer;  // none: no layer
    std::optional<Host::Depth> depth;  // default: from the input file
    long frame = 0;
    std::optional<FrameRange> frames;
    Host::RenderMode mode = Host::RenderMode::Smart;
    PF_RationalScale downsampleX {1, 1};
    PF_RationalScale downsampleY {1, 1};
    PF_RationalScale pixelAspect {1, 1};
    std::optional<int> compression;  // deflate level 0..9; default per format
    bool quiet = false;
    bool verbose = false;  // timings and values on stderr
};

// The largest whole number an option takes: what the host's 32-bit values
// hold.
inline constexpr long kLargestHostNumber = 2147483647;
// The longest sequence one command renders: longer ranges are refused at
// once rather than failing for memory after a while.
inline constexpr long kMostFrames = 1000000;

// Parsers for the option values; each throws a usage CliError that quotes
// the option and the text and says what is valid.
Host::Depth parseDepth(std::string_view text);
long parseFrame(std::string_view text);
FrameRange parseFrameRange(std::string_view text);
Host::RenderMode parseRenderMode(std::string_view text);
// "N" (1/N of full resolution) or "A/B"; "X,Y" gives the two axes.
std::pair<PF_RationalScale, PF_RationalScale> parseDownsample(std::string_view text);
// A deflate level, 0 to 9.
int parseCompression(std::string_view text);
// A decimal ratio such as 1.0926, or "A/B".
PF_RationalScale parseRatio(std::string_view option, std::string_view text);

}  // namespace Quarn::Cli
