#include "qrVersion.h"

#include "qrPluginLibrary.h"
#include "qrPluginLocator.h"

#include <AE_PiPL.h>

#include <array>
#include <exception>

#ifndef NIMBREL_VERSION
#error "NIMBREL_VERSION: the project's version, set by the build"
#endif

namespace Quarn::Cli {

std::string describeEffectVersion(std::uint32_t word)
{
    static constexpr std::array<const char*, 4> kStages = {"develop", "alpha", "beta", "release"};
    // The major number is split: its low three bits at 19, the rest at 26.
    const unsigned major = ((word >> 26) & 0xFu) << 3 | ((word >> 19) & 0x7u);
    const unsigned minor = (word >> 15) & 0xFu;
    const unsigned bugFix = (word >> 11) & 0xFu;
    const unsigned stage = (word >> 9) & 0x3u;
    const unsigned build = word & 0x1FFu;
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(bugFix) + " (" +
        kStages[stage] + ", build " + std::to_string(build) + ")";
}

std::string versionText()
{
    std::string text = "nimbrel " NIMBREL_VERSION "\n";
    try {
        const Host::PluginLibrary plugin(locatePlugin());
        const auto word = plugin.pipl().word(PF_PiPLKey_AE_EFFECT_VERSION);
        text += "plug-in " + plugin.pipl().name() + " " +
            (word ? describeEffectVersion(*word) : std::string("(no version in its property list)")) + ", " +
            plugin.path();
    } catch (const std::exception& e) {
        text += std::string("plug-in: ") + e.what();
    }
    return text;
}

}  // namespace Quarn::Cli
