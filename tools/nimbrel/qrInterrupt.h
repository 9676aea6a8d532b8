// Signals during a render. The first Ctrl-C (SIGINT) raises a flag that the
// host's progress and abort polls pass on to the plug-in as a user's
// cancel, and that the writer checks between blocks of bytes; the renderer
// then removes what it was writing and exits 130. A second Ctrl-C, SIGTERM
// and SIGHUP end the program at once, after removing every temporary file
// still being written, so no signal leaves a partial file behind.
#pragma once

#include <atomic>
#include <string>

namespace Quarn::Cli {

// Installs the handlers (and ignores SIGXFSZ, so that writing past a
// file-size limit fails as a write instead of killing the program);
// returns the flag they raise.
const std::atomic<bool>& installInterruptHandler();

// Temporary files the handlers remove when the program is stopped. A
// handful can be registered at once; registering more throws.
int registerTemporary(const std::string& path);
void forgetTemporary(int slot);

}  // namespace Quarn::Cli
