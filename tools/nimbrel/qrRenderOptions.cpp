#include "qrRenderOptions.h"

#include "qrCliError.h"

#include <charconv>
#include <cmath>
#include <numeric>

namespace Quarn::Cli {

namespace {

[[noreturn]] void reject(std::string_view option, std::string_view text, std::string_view want)
{
    throw usageError(std::string(option) + " \"" + std::string(text) + "\": expected " + std::string(want));
}

// Whole numbers as the host holds them: 32 bits, signed. Anything longer
// is refused here rather than wrapped on the way in.
std::optional<long> parseLong(std::string_view text)
{
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < -kLargestHostNumber ||
        value > kLargestHostNumber)
        return std::nullopt;
    return value;
}

std::string largest()
{
    return std::to_string(kLargestHostNumber);
}

// A positive rational from "A/B" or a decimal kept to 1/10000.
std::optional<PF_RationalScale> parsePositiveRatio(std::string_view text)
{
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto num = parseLong(text.substr(0, slash));
        const auto den = parseLong(text.substr(slash + 1));
        if (!num || !den || *num <= 0 || *den <= 0)
            return std::nullopt;
        return PF_RationalScale {A_long(*num), A_u_long(*den)};
    }
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0) || value > 1e5)
        return std::nullopt;
    long num = std::lround(value * 10000);
    long den = 10000;
    const long g = std::gcd(num, den);
    return num > 0 ? std::optional(PF_RationalScale {A_long(num / g), A_u_long(den / g)}) : std::nullopt;
}

PF_RationalScale parseFactor(std::string_view text)
{
    const std::string want =
        "a whole factor N (1/N resolution) or a fraction A/B, each from 1 to " + largest();
    if (text.find('/') == std::string_view::npos) {
        const auto n = parseLong(text);
        if (!n || *n < 1)
            reject("--downsample", text, want);
        return {1, A_u_long(*n)};
    }
    const auto ratio = parsePositiveRatio(text);
    if (!ratio)
        reject("--downsample", text, want);
    return *ratio;
}

}  // namespace

Host::Depth parseDepth(std::string_view text)
{
    if (text == "8")
        return Host::Depth::Bits8;
    if (text == "16")
        return Host::Depth::Bits16;
    if (text == "32")
        return Host::Depth::Float;
    reject("--depth", text, "8, 16 or 32");
}

int parseCompression(std::string_view text)
{
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
        return text[0] - '0';
    reject("--compression", text, "a level from 0 (fastest) to 9 (smallest)");
}

long parseFrame(std::string_view text)
{
    const auto frame = parseLong(text);
    if (!frame || *frame < 0)
        reject("--frame", text, "a frame from 0 to " + largest());
    return *frame;
}

FrameRange parseFrameRange(std::string_view text)
{
    const std::size_t dash = text.find('-', 1);
    if (dash != std::string_view::npos) {
        const auto first = parseLong(text.substr(0, dash));
        const auto last = parseLong(text.substr(dash + 1));
        if (first && last && *first >= 0 && *last >= *first && *last - *first < kMostFrames)
            return {*first, *last};
    }
    reject("--frames", text,
        "A-B with 0 <= A <= B <= " + largest() + ", at most " + std::to_string(kMostFrames) + " frames at once");
}

Host::RenderMode parseRenderMode(std::string_view text)
{
    if (text == "smart")
        return Host::RenderMode::Smart;
    if (text == "classic")
        return Host::RenderMode::Classic;
    reject("--render", text, "smart or classic");
}

std::pair<PF_RationalScale, PF_RationalScale> parseDownsample(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        const PF_RationalScale both = parseFactor(text);
        return {both, both};
    }
    return {parseFactor(text.substr(0, comma)), parseFactor(text.substr(comma + 1))};
}

PF_RationalScale parseRatio(std::string_view option, std::string_view text)
{
    const auto ratio = parsePositiveRatio(text);
    if (!ratio)
        reject(option, text,
            "a positive ratio such as 1.0926 (at most 100000) or 10/11 (each number from 1 to " + largest() + ")");
    return *ratio;
}

}  // namespace Quarn::Cli
