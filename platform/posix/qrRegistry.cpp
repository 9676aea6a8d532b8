#include "qrRegistry.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace Quarn::Platform {

namespace {

// An environment variable naming a folder, without trailing "/"; empty when
// unset, empty, or the root itself (nothing is ever written to "/").
std::string folderFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    std::string folder = value ? value : "";
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string temporaryFolder()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error || folder.empty() ? std::string("/tmp") : folder.string();
}

}  // namespace

std::string programFilesFolder()
{
    if (std::string state = folderFromEnvironment("XDG_STATE_HOME"); !state.empty())
        return state;
    if (std::string home = folderFromEnvironment("HOME"); !home.empty())
        return home + "/.local/state";
    return temporaryFolder();
}

}  // namespace Quarn::Platform

namespace Quarn::Platform {

char pathSeparator()
{
    return '/';
}

}  // namespace Quarn::Platform
