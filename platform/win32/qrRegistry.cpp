// The program files folder as the registry records it.
#include "qrRegistry.h"

#include <windows.h>

#include <vector>

namespace Quarn::Platform {

std::string programFilesFolder()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0, bytes = 0;
    std::string folder;
    if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes > 0) {
        std::vector<char> value(bytes + 1, '\0');
        if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                &bytes) == ERROR_SUCCESS)
            folder = value.data();  // stops at the terminator, stored or added
    }
    RegCloseKey(key);
    return folder;
}

char pathSeparator()
{
    return '\\';
}

}  // namespace Quarn::Platform
