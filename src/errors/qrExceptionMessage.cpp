#include "qrExceptionMessage.h"

#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

#include <cctype>

namespace Quarn::Errors {

namespace {

std::string unregistered(int32_t code)
{
    return "Unregistered Error (" + std::to_string(code) + ")";
}

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Formatting must not throw: a registry that fails its final checks is
// recorded on the exception stack and the texts that did register are used.
void initialiseQuietly()
{
    try {
        Initialise();
    } catch (const Exceptions::ExceptionI& e) {
        Exceptions::Stack::record(e, "Quarn::Errors::formatMessage", "src/qrExceptionMessage", __LINE__);
    }
}

}  // namespace

std::string substitute(const std::string& text, const Exceptions::Arguments& arguments)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '@') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && isDigit(text[i + 1])) {
            const size_t index = size_t(text[i + 1] - '0');
            if (index >= 1 && index <= arguments.size())
                out += arguments[index - 1].write();
            ++i;
        }
    }
    return out;
}

std::string defaultMessage(int32_t code)
{
    initialiseQuietly();
    const Template* set = findTemplate(code);
    const std::string* text = set ? set->defaultFormat() : nullptr;
    return text ? *text : unregistered(code);
}

std::string formatMessage(int32_t code, const Exceptions::Arguments& arguments)
{
    initialiseQuietly();
    const Template* set = findTemplate(code);
    if (!set)
        return unregistered(code);
    for (int count = int(arguments.size()); count >= 0; --count) {
        if (const std::string* text = set->format(count))
            return substitute(*text, arguments);
    }
    return unregistered(code);
}

}  // namespace Quarn::Errors
