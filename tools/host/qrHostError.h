// Misuse of the host or a plug-in it cannot load. Errors that the plug-in
// returns from a command are never thrown: they come back as a CommandResult.
#pragma once

#include <stdexcept>

namespace Quarn::Host {

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace Quarn::Host
