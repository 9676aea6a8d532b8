#include "qrFramePattern.h"

#include <algorithm>
#include <cctype>

namespace Quarn::Cli {

namespace {

// No file name holds a wider field; this only keeps the count from
// overflowing.
constexpr int kWidestField = 1000;

}  // namespace

FramePattern::FramePattern(std::string text) : text_(std::move(text))
{
    if (const std::size_t hash = text_.find('#'); hash != std::string::npos) {
        std::size_t end = hash;
        while (end < text_.size() && text_[end] == '#')
            ++end;
        start_ = hash;
        length_ = end - hash;
        width_ = static_cast<int>(length_);
        return;
    }
    // "%d" or "%0Nd"; any other '%' is part of the name.
    for (std::size_t pct = text_.find('%'); pct != std::string::npos; pct = text_.find('%', pct + 1)) {
        std::size_t i = pct + 1;
        int width = 0;
        if (i < text_.size() && text_[i] == '0') {
            ++i;
            while (i < text_.size() && std::isdigit(static_cast<unsigned char>(text_[i])))
                width = std::min(width * 10 + (text_[i++] - '0'), kWidestField);
        }
        if (i < text_.size() && text_[i] == 'd') {
            start_ = pct;
            length_ = i + 1 - pct;
            width_ = width;
            return;
        }
    }
}

std::string FramePattern::name(long frame) const
{
    if (!hasFrame())
        return text_;
    // Padded by hand: a field may be wider than any fixed buffer (%040d).
    std::string digits = std::to_string(frame);
    if (digits.size() < std::size_t(width_))
        digits.insert(0, std::size_t(width_) - digits.size(), '0');
    std::string name = text_.substr(0, start_);
    name += digits;
    name += text_.substr(start_ + length_);
    return name;
}

}  // namespace Quarn::Cli
