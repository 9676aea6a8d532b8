#include "qrFramePattern.h"

#include <cctype>
#include <cstdio>

namespace Quarn::Cli {

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
                width = width * 10 + (text_[i++] - '0');
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
    char digits[32];
    std::snprintf(digits, sizeof digits, "%0*ld", width_, frame);
    return text_.substr(0, start_) + digits + text_.substr(start_ + length_);
}

}  // namespace Quarn::Cli
