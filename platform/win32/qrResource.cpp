// The resources compiled into the module by the resource compiler: the
// string table and the IDB_TITLE bitmap.
#include "qrResource.h"

#include "qrWin32Module.h"

#include <vector>

namespace Quarn::Platform {

namespace Win32 {

HMODULE thisModule()
{
    HMODULE module = nullptr;
    // Any function of this module names the file it was loaded from.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

}  // namespace Win32

std::string resourceString(int id)
{
    // With a zero length LoadString gives the table's own read-only text,
    // which is not terminated.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(Win32::thisModule(), UINT(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(std::size_t(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), bytes, nullptr, nullptr);
    return result;
}

DrawBitmap resourceBitmap(int id)
{
    const HMODULE module = Win32::thisModule();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    const auto bitmap = readDib(static_cast<const unsigned char*>(data), SizeofResource(module, found));
    return bitmap ? *bitmap : DrawBitmap();
}

std::string resourceModulePath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(Win32::thisModule(), path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.data(), int(length), nullptr, 0, nullptr, nullptr);
            std::string result(std::size_t(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, path.data(), int(length), result.data(), bytes, nullptr, nullptr);
            return result;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace Quarn::Platform
