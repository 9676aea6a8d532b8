#pragma once
// Text layout for the about box: splitting a text into the lines that fit a
// width in the built-in font.
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Platform {

// Splits `text` at its line feeds and then wraps each paragraph at spaces
// so that no line is wider than `maxWidth` pixels at `scale`; a word wider
// than the whole width is cut. An empty paragraph stays an empty line.
std::vector<std::string> wrapText(std::string_view text, int maxWidth, int scale);

}  // namespace Quarn::Platform
