#include "qrParamText.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <tuple>
#include <strings.h>

namespace Quarn::Param::Text {

namespace {

// Extracts every target in order; assigns them only when all were read, so
// a text that does not hold the whole value leaves it unchanged.
template <class... C> bool extract(const std::string& text, C&... targets)
{
    std::istringstream in(text);
    std::tuple<C...> read;
    bool ok = std::apply([&](auto&... r) { return bool((in >> ... >> r)); }, read);
    if (ok)
        std::tie(targets...) = read;
    return ok;
}

bool startsWithNoCase(const char* text, const char* word)
{
    return strncasecmp(text, word, std::char_traits<char>::length(word)) == 0;
}

}  // namespace

bool parseBool(const std::string& text)
{
    const char* p = text.c_str();
    while (*p == '\t' || *p == ' ' || *p == '\n' || *p == '\r' || *p == '\f')
        ++p;
    for (const char* word : {"true", "yes", "vero", "vrai"})
        if (startsWithNoCase(p, word))
            return true;
    return std::strtol(text.c_str(), nullptr, 0) != 0;
}

bool read(const std::string& text, int32_t& value)
{
    return extract(text, value);
}
bool read(const std::string& text, double& value)
{
    return extract(text, value);
}
bool read(const std::string& text, std::string& value)
{
    return extract(text, value);
}

bool read(const std::string& text, bool& value)
{
    value = parseBool(text);
    return true;
}

bool read(const std::string& text, HvVec2& v)
{
    return extract(text, v.x, v.y);
}
bool read(const std::string& text, HvBox2& v)
{
    return extract(text, v.x1, v.y1, v.x2, v.y2);
}
bool read(const std::string& text, QrPointI& v)
{
    return extract(text, v.x, v.y);
}
bool read(const std::string& text, QrRectI& v)
{
    return extract(text, v.x1, v.y1, v.x2, v.y2);
}
bool read(const std::string& text, QrPixelRGBf& v)
{
    return extract(text, v.r, v.g, v.b);
}
bool read(const std::string& text, QrPixelRGBAf& v)
{
    return extract(text, v.r, v.g, v.b, v.a);
}

void write(std::ostream& os, int32_t value)
{
    os << value;
}
void write(std::ostream& os, double value)
{
    os << value;
}
void write(std::ostream& os, bool value)
{
    os << (value ? "true" : "false");
}
void write(std::ostream& os, const std::string& value)
{
    os << value;
}

// Floats are widened to double so they print like the double parameters.
void write(std::ostream& os, const HvVec2& v)
{
    os << double(v.x) << ' ' << double(v.y);
}

void write(std::ostream& os, const HvBox2& v)
{
    os << double(v.x1) << ' ' << double(v.y1) << ' ' << double(v.x2) << ' ' << double(v.y2);
}

void write(std::ostream& os, const QrPointI& v)
{
    os << v.x << ' ' << v.y;
}
void write(std::ostream& os, const QrRectI& v)
{
    os << v.x1 << ' ' << v.y1 << ' ' << v.x2 << ' ' << v.y2;
}

void write(std::ostream& os, const QrPixelRGBf& v)
{
    os << double(v.r) << ' ' << double(v.g) << ' ' << double(v.b);
}

void write(std::ostream& os, const QrPixelRGBAf& v)
{
    os << double(v.r) << ' ' << double(v.g) << ' ' << double(v.b) << ' ' << double(v.a);
}

}  // namespace Quarn::Param::Text
