// What `nimbrel --version` prints: this program's version, then the
// plug-in it would load with the version from its property list.
#pragma once

#include <cstdint>
#include <string>

namespace Quarn::Cli {

// "2.1.0 (release, build 5)" for an effect version word of the property
// list (major, minor and bug-fix numbers, stage and build packed in bits).
std::string describeEffectVersion(std::uint32_t word);

// Two lines; never throws: a plug-in that cannot be found or loaded is
// reported on the second line instead of its version.
std::string versionText();

}  // namespace Quarn::Cli
