// A loaded plug-in file: its entry point and its property list.
#pragma once

#include "qrPiPLInfo.h"

#include <AE_Effect.h>

#include <memory>
#include <string>

namespace Quarn::Host {

class PluginLibrary {
public:
    // dlopen + dlsym("main") + the property list; throws HostError with the
    // loader's reason when any of them is missing.
    explicit PluginLibrary(const std::string& path);
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const std::string& path() const { return path_; }
    PF_EffectEntryFunc entry() const { return entry_; }
    const PiPLInfo& pipl() const { return pipl_; }

private:
    struct Closer {
        void operator()(void* handle) const;
    };
    using Handle = std::unique_ptr<void, Closer>;

    static Handle open(const std::string& path);
    static void* symbol(void* handle, const char* name);

    std::string path_;
    Handle handle_;  // closes the file even when reading the property list fails
    PF_EffectEntryFunc entry_;
    PiPLInfo pipl_;
};

}  // namespace Quarn::Host
