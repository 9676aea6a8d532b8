// The error-report log file: where it lives and how a report is appended.
#include "qrExceptionStack.h"
#include "qrRegistry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace Quarn::Exceptions {

namespace {

constexpr const char* kFunction = "Quarn::Exceptions::Stack::stackDumpLog";
constexpr const char* kSource = "src/qrExceptionStack";

// The system's text for an error number, or "No errno" when there is none.
std::string errorText(int number)
{
    return number ? std::strerror(number) : "No errno";
}

// Throws `E` with ("open", path, error text) and records it first, so the
// failure is in the stack whether or not the caller reports it.
template <class E> [[noreturn]] void fail(const std::string& path, int errorNumber, int32_t line)
{
    try {
        throw E(kFunction, kSource, line, "open", path, errorText(errorNumber));
    } catch (const ExceptionI& e) {
        Stack::record(e, kFunction, kSource, line + 1);
        throw;
    }
}

// Creates, separator by separator, every folder of `path` that does not
// exist yet. The existence test does not change the working directory, which
// the host and other threads share.
void makeFolders(const std::string& path)
{
    const char separator = Platform::pathSeparator();
    for (size_t at = path.find(separator); at != std::string::npos; at = path.find(separator, at + 1)) {
        const std::string folder = path.substr(0, at);
        std::error_code error;
        // A drive ("C:") is a folder only with its separator ("C:\\").
        if (folder.empty() || std::filesystem::is_directory(folder, error) ||
            std::filesystem::is_directory(folder + separator, error))
            continue;
        if (!std::filesystem::create_directory(folder, error) && error)
            fail<File::DirectoryMake>(folder, error.value(), 198);
    }
}

}  // namespace

std::string Stack::logPath(const char* folder, const char* baseName)
{
    const std::string separator(1, Platform::pathSeparator());
    const std::string tail = folder + separator + baseName + ".log";
    const char* errorDir = std::getenv("QUARN_ERROR_DIR");
    if (errorDir && *errorDir)
        return errorDir + separator + tail;
    return Platform::programFilesFolder() + separator + "Quarn" + separator + "log" + separator + tail;
}

void Stack::stackDumpLog(const char* folder, const char* baseName)
{
    const std::string path = logPath(folder, baseName);
    makeFolders(path);
    std::ostringstream report;
    writeReport(report, false);
    report << "\n";
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "a+b");  // binary: the same bytes on every system
    if (!file)
        fail<File::FileOpen>(path, errno, 212);
    const std::string text = report.str();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

}  // namespace Quarn::Exceptions
