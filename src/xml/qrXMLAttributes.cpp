#include "qrXMLAttributes.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace Quarn::XML {

std::string foldName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return folded;
}

int parseIntegerText(const std::string& text)
{
    const long parsed = std::strtol(text.c_str(), nullptr, 0);
    // Out-of-range texts saturate like strtol itself, within int.
    return int(std::clamp<long>(parsed, INT_MIN, INT_MAX));
}

}  // namespace Quarn::XML
