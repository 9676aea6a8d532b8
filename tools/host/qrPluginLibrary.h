// A loaded plug-in file: its entry point and its property list.
#pragma once

#include "qrLibrary.h"
#include "qrPiPLInfo.h"

#include <AE_Effect.h>

#include <string>

namespace Quarn::Host {

class PluginLibrary {
public:
    // Loads the file and finds "main" and the property list (the "PiPL"
    // resource where the file has one, else the exported table); throws
    // HostError with the loader's reason when any of them is missing.
    explicit PluginLibrary(const std::string& path);
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const std::string& path() const { return path_; }
    PF_EffectEntryFunc entry() const { return entry_; }
    const PiPLInfo& pipl() const { return pipl_; }

private:
    PiPLInfo readPiPL() const;
    void* symbol(const char* name) const;

    std::string path_;
    Platform::Library library_;  // closes the file even when reading the property list fails
    PF_EffectEntryFunc entry_ = nullptr;
    PiPLInfo pipl_;
};

}  // namespace Quarn::Host
