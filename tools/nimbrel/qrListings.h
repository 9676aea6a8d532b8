// The informational subcommands: the controls as the host shows them, the
// presets with what each one sets, the about box and the property list.
// Each loads the plug-in and asks it, so what they print is what it does.
#pragma once

#include <string>

namespace Quarn::Cli {

std::string listParams();
std::string listPresets();
std::string listPiPL();
// Writes the about box image to `path`.
void writeAbout(const std::string& path);

}  // namespace Quarn::Cli
