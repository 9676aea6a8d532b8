// Libraries through the Windows loader: LoadLibrary, GetProcAddress and the
// module's resources.
#include "qrLibrary.h"

#include <windows.h>

namespace Quarn::Platform {

namespace {

// The system's text for the calling thread's last error, without the line end.
std::string lastErrorText()
{
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

std::wstring widePath(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring result(std::size_t(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), result.data(), length);
    return result;
}

}  // namespace

Library::~Library()
{
    close();
}

void Library::close()
{
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

bool Library::open(const std::string& path, std::string& error)
{
    close();
    handle_ = LoadLibraryW(widePath(path).c_str());
    if (!handle_)
        error = lastErrorText();
    return handle_ != nullptr;
}

void* Library::symbol(const char* name, std::string& error) const
{
    FARPROC address = handle_ ? GetProcAddress(static_cast<HMODULE>(handle_), name) : nullptr;
    if (!address)
        error = lastErrorText();
    return reinterpret_cast<void*>(address);
}

std::optional<std::string_view> Library::resource(const char* type, int id) const
{
    const HMODULE module = static_cast<HMODULE>(handle_);
    HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(id), type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::nullopt;
    return std::string_view(static_cast<const char*>(data), SizeofResource(module, found));
}

}  // namespace Quarn::Platform
