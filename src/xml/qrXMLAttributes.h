#pragma once
// Texts shared by the XML formats: name folding and integer attribute values
// in C notation. (Bool and number texts read as parameter values do.)
#include <string>
#include <string_view>

namespace Quarn::XML {

// Lower-cases ASCII letters one by one; other bytes stay as they are.
std::string foldName(std::string_view name);

// Integer text as strtol reads it with base 0 (decimal, 0 octal, 0x hex):
// a text that does not start with a number reads as 0, as it does there.
int parseIntegerText(const std::string& text);

}  // namespace Quarn::XML
