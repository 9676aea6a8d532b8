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

// Sets or unsets environment variables for one test and puts them back.
class Environment {
public:
    void set(const char* name, const char* value)
    {
        remember(name);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~Environment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    void remember(const char* name)
    {
        for (const auto& entry : saved_)
            if (entry.first == name)
                return;
        const char* v = std::getenv(name);
        saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
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
        Environment env;
        env.set("XDG_STATE_HOME", c.stateHome);
        env.set("HOME", c.home);
        EXPECT_EQ(Quarn::Platform::programFilesFolder(), c.folder) << c.what;
    }
}

TEST(ProgramFilesFolder, WithoutAnyHomeFallsBackToTheTemporaryFolder)
{
    for (const char* home : {static_cast<const char*>(nullptr), "", "/"}) {
        Environment env;
        env.set("XDG_STATE_HOME", nullptr);
        env.set("HOME", home);
        const std::string folder = Quarn::Platform::programFilesFolder();
        EXPECT_FALSE(folder.empty());
        EXPECT_NE(folder, "/") << "must never be the filesystem root";
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
}

}  // namespace
