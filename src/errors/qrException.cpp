#include "qrException.h"

#include "qrExceptionMessage.h"

#include <charconv>
#include <string_view>
#include <type_traits>

namespace Quarn::Exceptions {

std::string trimSourcePath(const char* path)
{
    if (!path)
        return {};
    std::string_view p(path);
    const size_t slash = p.rfind('\\');
    return std::string(slash == std::string_view::npos ? p : p.substr(slash));
}

ExceptionI::ExceptionI(
    const char* function, const char* file, int32_t line, int32_t code, Arguments arguments)
    : arguments_(std::move(arguments)),
      code_(code),
      function_(function ? function : ""),
      file_(trimSourcePath(file)),
      line_(line)
{
}

ExceptionI::ExceptionI(const char* function, const char* file, int32_t line, int32_t code, std::string text)
    : ExceptionI(function, file, line, code, Arguments {})
{
    text_ = std::move(text);
}

std::string ExceptionI::message() const
{
    return text_.empty() ? Errors::formatMessage(code_, arguments_) : text_;
}

namespace {

// Doubles are written in their shortest form that reads back exactly: 0.5,
// 100, 2.25, 1e-06. Fixed or scientific, whichever is shorter.
std::string writeNumber(double v)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

// Vector elements are separated by ", ": [1, 2.5, 3].
std::string writeVector(const Argument::Vector& v)
{
    std::string text = "[";
    for (size_t i = 0; i < v.size(); ++i) {
        if (i)
            text += ", ";
        text += writeNumber(v[i]);
    }
    return text + "]";
}

}  // namespace

double Argument::widen(float v)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v);
    double d = v;
    std::from_chars(buffer, written.ptr, d);
    return d;
}

std::string Argument::write() const
{
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return writeNumber(v);
            else if constexpr (std::is_same_v<T, std::string>)
                return "'" + v + "'";
            else if constexpr (std::is_same_v<T, Vector>)
                return writeVector(v);
            else
                return "unknown";
        },
        value_);
}

}  // namespace Quarn::Exceptions
