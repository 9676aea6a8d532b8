#include "qrPluginLocator.h"

#include "qrCliError.h"

#include <cstdlib>
#include <filesystem>

namespace Quarn::Cli {

std::string locatePlugin() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (const char* env = std::getenv("NIMBREL_PLUGIN"); env && *env) {
    if (!fs::is_regular_file(env, ec))
      throw usageError(std::string(env) + ": no plug-in there (from NIMBREL_PLUGIN)");
    return env;
  }
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path beside = (self.parent_path() / ".." / "plugin" / "Nimbrel.so").lexically_normal();
  if (ec || !fs::is_regular_file(beside, ec))
    throw usageError(beside.string() + ": no plug-in there; build it or set NIMBREL_PLUGIN");
  return beside.string();
}

}  // namespace Quarn::Cli
