#include "qrXMLAttributes.h"

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

bool parseIntegerText(const std::string& text, int& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    long parsed = std::strtol(begin, &end, 0);
    if (end == begin)
        return false;
    // Out-of-range texts saturate like strtol itself, within int.
    if (parsed > INT_MAX)
        parsed = INT_MAX;
    if (parsed < INT_MIN)
        parsed = INT_MIN;
    value = int(parsed);
    return true;
}

}  // namespace Quarn::XML
