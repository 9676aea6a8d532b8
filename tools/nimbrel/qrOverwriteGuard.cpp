#include "qrOverwriteGuard.h"

#include "qrCliError.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <unordered_map>

namespace Quarn::Cli {

namespace {

namespace fs = std::filesystem;

// One file however it is spelt: its folder resolved (links and ".."
// followed) and its own name; a file that exists is also known by its
// device and inode, which catches hard links and a link as the last part.
class FileNames {
public:
    std::string spelling(const std::string& name)
    {
        const fs::path path(name);
        const std::string folder = path.parent_path().string();
        auto [it, added] = folders_.try_emplace(folder);
        if (added) {
            std::error_code ec;
            it->second = fs::weakly_canonical(fs::absolute(folder.empty() ? "." : folder), ec).string();
        }
        return it->second + "/" + path.filename().string();
    }

    static std::optional<std::string> identity(const std::string& name)
    {
        struct stat st {};
        if (::stat(name.c_str(), &st) != 0)
            return std::nullopt;
        return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    }

private:
    std::unordered_map<std::string, std::string> folders_;
};

struct InputFile {
    std::string option;
    std::string name;
};

}  // namespace

void refuseOverwritingInputs(
    const FramePattern& output, const std::vector<NamedPattern>& inputs, const std::vector<long>& frames)
{
    FileNames names;
    std::unordered_map<std::string, InputFile> bySpelling;
    std::unordered_map<std::string, InputFile> byIdentity;
    for (const NamedPattern& input : inputs) {
        // A still is one file whatever the frame.
        const std::size_t count = input.pattern.hasFrame() ? frames.size() : 1;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = input.pattern.name(frames[i]);
            const InputFile file {input.option, name};
            bySpelling.emplace(names.spelling(name), file);
            if (const auto id = FileNames::identity(name))
                byIdentity.emplace(*id, file);
        }
    }
    const std::size_t count = output.hasFrame() ? frames.size() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = output.name(frames[i]);
        auto same = bySpelling.find(names.spelling(name));
        const InputFile* input = same != bySpelling.end() ? &same->second : nullptr;
        if (!input) {
            const auto id = FileNames::identity(name);
            const auto it = id ? byIdentity.find(*id) : byIdentity.end();
            input = it != byIdentity.end() ? &it->second : nullptr;
        }
        if (input)
            throw usageError(name + ": the output would replace the " +
                (input->option == "INPUT" ? std::string("input ") : input->option + " file ") + input->name +
                "; choose another output name");
    }
}

}  // namespace Quarn::Cli
