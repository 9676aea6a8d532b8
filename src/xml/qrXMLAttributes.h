#pragma once
// The attributes of one start tag, as the XML reader hands them to element
// handlers. A handler reads the attributes it knows; reading removes them, so
// whatever is left after the handler has run is an attribute nobody knows.
#include <map>
#include <string>
#include <string_view>

namespace Quarn::XML {

using AttributeMap = std::map<std::string, std::string>;

// Lower-cases ASCII letters one by one; other bytes stay as they are.
std::string foldName(std::string_view name);

// Removes the attribute `name` from the map. Answers whether it was there and,
// when it was, stores its text in `value`.
bool takeAttribute(AttributeMap& attributes, const std::string& name, std::string& value);

// Truth text: after leading blanks, "true", "yes", "vero" or "vrai" in any
// case; otherwise the text's integer value (strtol, base 0) is not 0. So
// "false", "no" and "" are false.
bool parseBoolText(const std::string& text);

// Integer text as strtol reads it with base 0 (decimal, 0 octal, 0x hex);
// false when the text holds no number at all.
bool parseIntegerText(const std::string& text, int& value);

// Decimal number text; false when the text does not start with a number.
bool parseNumberText(const std::string& text, double& value);

}  // namespace Quarn::XML
