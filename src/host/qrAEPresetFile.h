#pragma once
// The developer's preset file: the current values written as one case of a
// preset table, ready to paste into code.
#include "qrAEWrapperHost.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace Quarn::AfterEffects {

// "<folder>//HHMMSS_DDMMYYYY.preset" for the local time `when`; the month
// counts from 0, as the runtime's time structure does.
std::string presetFileName(const std::string& folder, const std::tm& when);
// The case line, one setter line per value of a type that has one, "}".
void writePresetText(std::FILE* file, const std::vector<Wrapper::PresetValue>& values);
// Writes the file named for the current local time (created or truncated);
// false when it cannot be created, and then nothing is written.
bool writePresetFile(const std::string& folder, const std::vector<Wrapper::PresetValue>& values);

}  // namespace Quarn::AfterEffects
