#include "qrInputCheck.h"

#include "qrCliError.h"
#include "qrFileExtent.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace Quarn::Cli {

// A FIFO or a device could block the reader forever or never end.
void checkRegularFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            throw usageError(path + ": no such file");
        throw usageError(path + ": cannot open: " + std::strerror(errno));
    }
    if (S_ISREG(st.st_mode))
        return;
    const char* kind = S_ISDIR(st.st_mode) ? "a folder"
        : S_ISFIFO(st.st_mode)             ? "a FIFO"
        : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
        : S_ISSOCK(st.st_mode)                       ? "a socket"
                                                     : "a special file";
    throw usageError(path + ": not a regular file but " + std::string(kind) + "; nimbrel reads image files");
}

void checkWholeImage(const OIIO::ImageInput& in, const std::string& path)
{
    if (in.spec().deep)
        throw usageError(path + ": a deep image (several samples a pixel); flatten it first "
                                "(oiiotool " + path + " --flatten -o flat.exr)");
    const auto dataEnd = imageDataEnd(path, in.format_name());
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (dataEnd && !ec && *dataEnd > size)
        throw usageError(path + ": cannot read the image: the file is cut short (its pixel data runs to byte " +
            std::to_string(*dataEnd) + ", the file holds " + std::to_string(size) + ")");
}

}  // namespace Quarn::Cli
