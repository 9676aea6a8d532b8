#include "qrXMLAttributes.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <locale>
#include <sstream>

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

bool takeAttribute(AttributeMap& attributes, const std::string& name, std::string& value)
{
    auto it = attributes.find(name);
    if (it == attributes.end())
        return false;
    value = std::move(it->second);
    attributes.erase(it);
    return true;
}

bool parseBoolText(const std::string& text)
{
    const std::size_t start = text.find_first_not_of("\t \n\r\f");
    if (start != std::string::npos) {
        const std::string rest = foldName(std::string_view(text).substr(start, 4));
        for (const char* word : {"true", "yes", "vero", "vrai"}) {
            if (rest.compare(0, std::char_traits<char>::length(word), word) == 0)
                return true;
        }
    }
    return std::strtol(text.c_str(), nullptr, 0) != 0;
}

bool parseIntegerText(const std::string& text, int& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
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

bool parseNumberText(const std::string& text, double& value)
{
    // Stream extraction in the classic locale, as the parameter texts are
    // read, so a host's locale cannot turn the decimal point into a comma.
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double parsed = 0.0;
    if (!(in >> parsed))
        return false;
    value = parsed;
    return true;
}

}  // namespace Quarn::XML
