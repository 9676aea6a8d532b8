// Where the plug-in module is: NIMBREL_PLUGIN when set, otherwise a path
// relative to this program's own folder: ../plugin/Nimbrel.so in a build
// tree (bin/ and plugin/ are siblings), or the installed module, whose path
// from the installed bin/ folder is fixed when the program is built.
#pragma once

#include <string>

namespace Quarn::Cli {

// Throws a usage CliError naming the paths looked at when there is no file.
std::string locatePlugin();

}  // namespace Quarn::Cli
