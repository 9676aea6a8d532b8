// Ctrl-C during a render: the first SIGINT (or SIGTERM) raises a flag that
// the host's progress and abort polls pass on to the plug-in as a user's
// cancel; the renderer then removes what it was writing and exits 130. A
// second signal ends the program at once.
#pragma once

#include <atomic>

namespace Quarn::Cli {

// Installs the handlers; returns the flag they raise.
const std::atomic<bool>& installInterruptHandler();

}  // namespace Quarn::Cli
