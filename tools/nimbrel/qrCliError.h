// A failure that ends the program with a given exit status. The message
// names the file or parameter concerned and the problem.
#pragma once

#include <stdexcept>
#include <string>

namespace Quarn::Cli {

enum ExitStatus { kExitOk = 0, kExitRenderFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

class CliError : public std::runtime_error {
public:
    CliError(ExitStatus status, const std::string& message) : std::runtime_error(message), status_(status) { }
    ExitStatus status() const { return status_; }

private:
    ExitStatus status_;
};

// Shorthand for the common case: bad input or usage.
inline CliError usageError(const std::string& message)
{
    return CliError(kExitUsage, message);
}

}  // namespace Quarn::Cli
