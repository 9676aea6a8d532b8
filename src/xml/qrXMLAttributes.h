#pragma once
// Texts shared by the XML formats: name folding and integer attribute values
// in C notation. (Bool and number texts read as parameter values do.)
#include <string>
#include <string_view>

namespace Quarn::XML {

// Lower-cases ASCII letters one by one; other bytes stay as they are.
std::string foldName(std::string_view name);

// Integer text as strtol reads it with base 0 (decimal, 0 octal, 0x hex);
// false when the text holds no number at all.
bool parseIntegerText(const std::string& text, int& value);

}  // namespace Quarn::XML
