// The per-user folder that stands in for the program files folder.
#include "qrRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

void setOrUnset(const char* name, const char* value)
{
    value ? setenv(name, value, 1) : unsetenv(name);
}

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// Sets XDG_STATE_HOME and HOME (nullptr: unset) for one case and puts them
// back after.
class HomeEnvironment {
public:
    HomeEnvironment(const char* stateHome, const char* home)
    {
        setOrUnset("XDG_STATE_HOME", stateHome);
        setOrUnset("HOME", home);
    }
    ~HomeEnvironment()
    {
        setOrUnset("XDG_STATE_HOME", stateHome_ ? stateHome_->c_str() : nullptr);
        setOrUnset("HOME", home_ ? home_->c_str() : nullptr);
    }

private:
    const std::optional<std::string> stateHome_ = environment("XDG_STATE_HOME"), home_ = environment("HOME");
};

// XDG_STATE_HOME, else HOME's .local/state, else (never the root) the
// temporary folder.
TEST(ProgramFilesFolder, PrefersStateHomeThenHomeThenTheTemporaryFolder)
{
    struct {
        const char* what;
        const char* stateHome;
        const char* home;
        const char* folder;
    } cases[] = {
        {"state home wins", "/srv/state", "/home/u", "/srv/state"},
        {"trailing slash dropped", "/srv/state/", "/home/u", "/srv/state"},
        {"empty state home ignored", "", "/home/u", "/home/u/.local/state"},
        {"no state home", nullptr, "/home/u", "/home/u/.local/state"},
        {"root as state home ignored", "/", "/home/u", "/home/u/.local/state"},
    };
    for (const auto& c : cases) {
        HomeEnvironment env(c.stateHome, c.home);
        EXPECT_EQ(Quarn::Platform::programFilesFolder(), c.folder) << c.what;
    }
    for (const char* home : {static_cast<const char*>(nullptr), "", "/"}) {
        HomeEnvironment env(nullptr, home);
        const std::string folder = Quarn::Platform::programFilesFolder();
        EXPECT_FALSE(folder.empty());
        EXPECT_NE(folder, "/") << "must never be the filesystem root";
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    }
}

}  // namespace
