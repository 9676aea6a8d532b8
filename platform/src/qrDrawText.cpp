#include "qrDrawText.h"

#include "qrFont.h"

#include <algorithm>

namespace Quarn::Platform {

namespace {

// Appends the lines of one paragraph (a text without line feeds).
void wrapParagraph(std::string_view paragraph, std::size_t maxChars, std::vector<std::string>& lines)
{
    std::string line;
    std::size_t pos = 0;
    bool any = false;
    while (pos < paragraph.size()) {
        const std::size_t space = paragraph.find(' ', pos);
        const std::size_t end = space == std::string_view::npos ? paragraph.size() : space;
        std::string_view word = paragraph.substr(pos, end - pos);
        pos = end + (space == std::string_view::npos ? 0 : 1);
        if (word.empty())
            continue;
        if (!line.empty() && line.size() + 1 + word.size() <= maxChars) {
            line += ' ';
            line += word;
            continue;
        }
        if (!line.empty())
            lines.push_back(std::move(line));
        line.clear();
        // A word longer than a whole line is cut into line-sized pieces.
        while (word.size() > maxChars) {
            lines.emplace_back(word.substr(0, maxChars));
            word.remove_prefix(maxChars);
        }
        line = word;
        any = true;
    }
    if (!line.empty() || !any)
        lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> wrapText(std::string_view text, int maxWidth, int scale)
{
    const int cell = BitmapFont::kAdvance * std::max(scale, 1);
    // n characters take n * cell - scale pixels: the last column of space
    // does not count.
    const std::size_t maxChars = std::size_t(std::max((maxWidth + std::max(scale, 1)) / cell, 1));
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t feed = text.find('\n', start);
        wrapParagraph(
            text.substr(start, feed == std::string_view::npos ? feed : feed - start), maxChars, lines);
        if (feed == std::string_view::npos)
            break;
        start = feed + 1;
    }
    return lines;
}

}  // namespace Quarn::Platform
