#pragma once
// Turns an error code and its arguments into text through the registered
// message templates (qrExceptionTemplate.h).
#include "qrException.h"

#include <cstdint>
#include <string>

namespace Quarn::Errors {

// The code's template for as many placeholders as there are arguments, with
// every "@"+digit replaced by that argument. With no arguments the code's
// default text. With more arguments than any template of the code takes, the
// template with the most placeholders below the argument count is used (the
// surplus arguments are left out), down to the default text.
std::string formatMessage(int32_t code, const Exceptions::Arguments& arguments);

// The code's default (no placeholder) text, or "Unregistered Error (code)".
std::string defaultMessage(int32_t code);

// Substitutes the arguments into one template text: "@"+d becomes argument d
// (1-based; nothing when there is no such argument), a lone "@" is dropped.
std::string substitute(const std::string& text, const Exceptions::Arguments& arguments);

}  // namespace Quarn::Errors
