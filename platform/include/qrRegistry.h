#pragma once
// Where the plug-in keeps its files when no folder is configured: the
// system's program files folder (on Windows, as the registry records it; the
// portable layer stands in with the per-user state folder), and the
// character that separates the folders of a path on this system.
#include <string>

namespace Quarn::Platform {

// Windows: the "ProgramFilesDir" value under the local machine's
// "Software\Microsoft\Windows\CurrentVersion" key, empty when it cannot be
// read. Elsewhere: $XDG_STATE_HOME when set, else $HOME/.local/state, else
// the system's temporary folder, never empty and never the root.
std::string programFilesFolder();

// '\\' on Windows, '/' elsewhere.
char pathSeparator();

}  // namespace Quarn::Platform
