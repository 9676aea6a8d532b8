#pragma once
// What the tests use of the POSIX environment functions, for the Windows
// builds of the test programs (included before every source there): setenv
// and unsetenv over the C runtime's _putenv_s, also for the wide paths that
// std::filesystem gives on Windows.
#include <cstdlib>
#include <process.h>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && std::getenv(name))
        return 0;
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

inline int setenv(const char* name, const wchar_t* value, int overwrite)
{
    std::string narrow;
    for (const wchar_t* c = value; *c; ++c)
        narrow += char(*c);  // test paths are ASCII
    return setenv(name, narrow.c_str(), overwrite);
}

// An empty value removes the variable.
inline int unsetenv(const char* name)
{
    return _putenv_s(name, "") == 0 ? 0 : -1;
}
