// File names of an image sequence: a run of '#' (one digit each, zero
// padded) or a printf-style "%d" / "%0Nd" stands for the frame number.
#pragma once

#include <string>

namespace Quarn::Cli {

class FramePattern {
public:
    explicit FramePattern(std::string text);

    bool hasFrame() const { return start_ != std::string::npos; }
    const std::string& text() const { return text_; }
    // The name of frame `frame`; the text itself when it has no frame field.
    std::string name(long frame) const;

private:
    std::string text_;
    std::size_t start_ = std::string::npos;  // of the frame field
    std::size_t length_ = 0;  // of the frame field
    int width_ = 0;  // digits, zero padded
};

}  // namespace Quarn::Cli
