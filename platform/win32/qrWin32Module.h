#pragma once
// The module (DLL or program) this code was linked into: where its resources
// live and whose instance owns its dialogs.
#include <windows.h>

namespace Quarn::Platform::Win32 {

HMODULE thisModule();

}  // namespace Quarn::Platform::Win32
