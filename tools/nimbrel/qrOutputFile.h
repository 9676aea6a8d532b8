// A file written whole or not at all. The bytes go to a hidden temporary
// file beside the destination (same folder, so the final rename is
// atomic, and same extension, so writers that pick a codec by the name
// pick the right one). Every write is checked to the last byte, then the
// file is synced and closed, checked again, given the mode of the file it
// replaces and renamed into place. Until then a failure, an exception or a
// signal removes the temporary file and nothing appears under the real
// name.
#pragma once

#include <OpenImageIO/filesystem.h>
#include <OpenImageIO/imageio.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace Quarn::Cli {

class OutputFile {
public:
    // Creates the temporary file. Writing fails (with "interrupted" as
    // the problem) once `cancel` is raised. Throws CliError naming `path`
    // when the temporary file cannot be made.
    explicit OutputFile(std::string path, const std::atomic<bool>* cancel = nullptr);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& path() const { return path_; }
    const std::string& temporary() const { return temporary_; }
    // Where an image writer puts the bytes (OpenImageIO's I/O proxy).
    OIIO::Filesystem::IOProxy& proxy();
    // The first write error, "" while every byte has been written.
    std::string problem() const;
    bool cancelled() const;

    // Syncs, closes and renames the file into place. Throws CliError
    // (status 1) naming the file and the reason when any of it fails.
    void commit();

private:
    class Proxy;
    [[noreturn]] void fail(const std::string& reason);

    std::string path_;
    std::string temporary_;
    std::unique_ptr<Proxy> proxy_;
    int slot_ = -1;
    bool committed_ = false;
};

// Writes an image file with `out` through an OutputFile for `path`:
// `write` opens `out` on the name it is given, writes the pixels and
// closes it, returning false on failure. Writers that can are handed the
// checked file as their I/O proxy; the file of one that cannot (and any
// JPEG 2000 file) is read back whole before it counts as written. Throws CliError naming `path`
// and the reason (status 1), or status 130 when `cancel` was raised.
void writeImageFile(OIIO::ImageOutput& out, const std::string& path, const std::atomic<bool>* cancel,
    const std::function<bool(const std::string& temporary)>& write);

// The temporary name used for `path`: ".NAME.partPID.EXT" in its folder.
std::string temporaryNameFor(const std::string& path);

}  // namespace Quarn::Cli
