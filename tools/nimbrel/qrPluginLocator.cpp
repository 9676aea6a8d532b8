#include "qrPluginLocator.h"

#include "qrCliError.h"

#include <cstdlib>
#include <filesystem>

#ifndef NIMBREL_PLUGIN_FROM_BIN
#error "NIMBREL_PLUGIN_FROM_BIN: the installed plug-in's path relative to the installed program"
#endif

namespace Quarn::Cli {

namespace {

namespace fs = std::filesystem;

fs::path builtPluginBeside(const fs::path& programDir)
{
    return (programDir / ".." / "plugin" / "Nimbrel.so").lexically_normal();
}

fs::path installedPluginBeside(const fs::path& programDir)
{
    return (programDir / NIMBREL_PLUGIN_FROM_BIN).lexically_normal();
}

}  // namespace

std::string locatePlugin()
{
    std::error_code ec;
    if (const char* env = std::getenv("NIMBREL_PLUGIN"); env && *env) {
        if (!fs::is_regular_file(env, ec))
            throw usageError(std::string(env) + ": no plug-in there (from NIMBREL_PLUGIN)");
        return env;
    }
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw usageError("/proc/self/exe: cannot find this program's folder; set NIMBREL_PLUGIN");
    const fs::path built = builtPluginBeside(self.parent_path());
    const fs::path installed = installedPluginBeside(self.parent_path());
    for (const fs::path& candidate : {built, installed})
        if (fs::is_regular_file(candidate, ec))
            return candidate.string();
    throw usageError(built.string() + " or " + installed.string() +
        ": no plug-in there; build or install it, or set NIMBREL_PLUGIN");
}

}  // namespace Quarn::Cli
