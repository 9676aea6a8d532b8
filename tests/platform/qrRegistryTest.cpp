// The per-user folder that stands in for the program files folder.
#include "qrRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Sets XDG_STATE_HOME and HOME (nullptr: unset) for one case and puts them
// back after.
class HomeEnvironment {
public:
    HomeEnvironment(const char* stateHome, const char* home)
    {
        set("XDG_STATE_HOME", stateHome);
        set("HOME", home);
    }
    ~HomeEnvironment()
    {
        for (const auto& [name, value] : saved_)
            apply(name, value ? value->c_str() : nullptr);
    }

private:
    static void apply(const char* name, const char* value)
    {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    void set(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        apply(name, value);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

struct FolderCase {
    const char* what;
    const char* stateHome;
    const char* home;
    const char* folder;
};

TEST(ProgramFilesFolder, PrefersStateHomeThenHome)
{
    const FolderCase cases[] = {
        {"state home wins", "/srv/state", "/home/u", "/srv/state"},
        {"trailing slash dropped", "/srv/state/", "/home/u", "/srv/state"},
        {"empty state home ignored", "", "/home/u", "/home/u/.local/state"},
        {"no state home", nullptr, "/home/u", "/home/u/.local/state"},
        {"root as state home ignored", "/", "/home/u", "/home/u/.local/state"},
    };
    for (const FolderCase& c : cases) {
        HomeEnvironment env(c.stateHome, c.home);
        EXPECT_EQ(Quarn::Platform::programFilesFolder(), c.folder) << c.what;
    }
}

TEST(ProgramFilesFolder, WithoutAnyHomeFallsBackToTheTemporaryFolder)
{
    for (const char* home : {static_cast<const char*>(nullptr), "", "/"}) {
        HomeEnvironment env(nullptr, home);
        const std::string folder = Quarn::Platform::programFilesFolder();
        EXPECT_FALSE(folder.empty());
        EXPECT_NE(folder, "/") << "must never be the filesystem root";
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
}

}  // namespace
