#pragma once
// Where the plug-in keeps its files when no folder is configured: the
// per-user state folder standing in for the system's program files folder.
#include <string>

namespace Quarn::Platform {

// $XDG_STATE_HOME when set, else $HOME/.local/state, else the system's
// temporary folder. Never empty and never the filesystem root.
std::string programFilesFolder();

}  // namespace Quarn::Platform
