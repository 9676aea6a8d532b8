// Where the plug-in module is: NIMBREL_PLUGIN when set, otherwise
// ../plugin/Nimbrel.so beside this program's own folder (the build tree's
// bin/ and plugin/ are siblings).
#pragma once

#include <string>

namespace Quarn::Cli {

// Throws a usage CliError naming the path looked at when there is no file.
std::string locatePlugin();

}  // namespace Quarn::Cli
