#include "qrOutputFile.h"

#include "qrCliError.h"
#include "qrInterrupt.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>
#include <utility>

namespace Quarn::Cli {

namespace fs = std::filesystem;

// Writes straight to a file descriptor with pwrite, so every short or
// failed write is seen (stdio would keep the error in its buffer), and
// remembers the first failure for the message.
class OutputFile::Proxy : public OIIO::Filesystem::IOProxy {
public:
    Proxy(const std::string& name, int fd, const std::atomic<bool>* cancel)
        : IOProxy(name, Write), fd_(fd), cancel_(cancel) { }

    ~Proxy() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Proxy(const Proxy&) = delete;
    Proxy& operator=(const Proxy&) = delete;

    // Hands the descriptor over for syncing and closing.
    int release()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(fd_, -1);
    }

    const char* proxytype() const override { return "nimbrel-checked-file"; }
    bool seek(int64_t offset) override
    {
        m_pos = offset;
        return offset >= 0;
    }
    size_t write(const void* data, size_t size) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const size_t done = writeAt(data, size, m_pos);
        m_pos += int64_t(done);
        return done;
    }
    size_t pwrite(const void* data, size_t size, int64_t offset) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return writeAt(data, size, offset);
    }
    size_t read(void* data, size_t size) override
    {
        const size_t done = pread(data, size, m_pos);
        m_pos += int64_t(done);
        return done;
    }
    size_t pread(void* data, size_t size, int64_t offset) override
    {
        const ssize_t got = ::pread(fd_, data, size, offset);
        return got > 0 ? size_t(got) : 0;
    }
    size_t size() const override
    {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 ? size_t(st.st_size) : 0;
    }

    std::string problem() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return problem_;
    }
    bool cancelled() const { return cancel_ && cancel_->load(); }

private:
    size_t writeAt(const void* data, size_t size, int64_t offset)
    {
        if (!problem_.empty())
            return 0;
        if (cancelled()) {
            problem_ = "interrupted";
            return 0;
        }
        const char* bytes = static_cast<const char*>(data);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd_, bytes + done, size - done, offset + int64_t(done));
            if (n > 0) {
                done += size_t(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                problem_ = n < 0 ? std::strerror(errno) : "the disk took no more bytes";
                break;
            }
        }
        return done;
    }

    int fd_;
    const std::atomic<bool>* cancel_;
    mutable std::mutex mutex_;
    std::string problem_;
};

std::string temporaryNameFor(const std::string& path)
{
    const fs::path p(path);
    // Appended piece by piece: GCC 12 warns (-Wrestrict, wrongly) on
    // "." + std::string once this is inlined.
    std::string name = ".";
    name += p.stem().string();
    name += ".part";
    name += std::to_string(::getpid());
    name += p.extension().string();
    return (p.parent_path() / name).string();
}

OutputFile::OutputFile(std::string path, const std::atomic<bool>* cancel)
    : path_(std::move(path)), temporary_(temporaryNameFor(path_))
{
    slot_ = registerTemporary(temporary_);
    const int fd = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        forgetTemporary(slot_);
        throw CliError(kExitRenderFailed, path_ + ": cannot create the file: " + std::strerror(error));
    }
    proxy_ = std::make_unique<Proxy>(temporary_, fd, cancel);
}

OutputFile::~OutputFile()
{
    proxy_.reset();
    if (!committed_)
        ::unlink(temporary_.c_str());
    forgetTemporary(slot_);
}

OIIO::Filesystem::IOProxy& OutputFile::proxy()
{
    return *proxy_;
}

std::string OutputFile::problem() const
{
    return proxy_->problem();
}

bool OutputFile::cancelled() const
{
    return proxy_->cancelled();
}

void OutputFile::fail(const std::string& reason)
{
    throw CliError(kExitRenderFailed, path_ + ": cannot write the image: " + reason);
}

void OutputFile::commit()
{
    if (const std::string problem = proxy_->problem(); !problem.empty())
        fail(problem);
    const int fd = proxy_->release();
    // Data the kernel has buffered can still fail to reach the disk; both
    // fsync and close report that.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int syncError = errno;
    if (!synced) {
        ::close(fd);
        fail(std::strerror(syncError));
    }
    // The file replaced keeps its permissions (a read-only frame stays
    // read-only).
    struct stat existing {};
    if (::stat(path_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    if (::close(fd) != 0)
        fail(std::strerror(errno));
    if (::rename(temporary_.c_str(), path_.c_str()) != 0)
        throw CliError(kExitRenderFailed,
            path_ + ": cannot move the finished image into place: " + std::strerror(errno));
    committed_ = true;
}

namespace {

void checkReadsBack(const std::string& temporary, const std::string& path)
{
    auto in = OIIO::ImageInput::open(temporary);
    std::vector<float> pixels;
    if (in) {
        const OIIO::ImageSpec& spec = in->spec();
        pixels.resize(spec.image_pixels() * std::size_t(spec.nchannels));
        if (in->read_image(0, 0, 0, spec.nchannels, OIIO::TypeDesc::FLOAT, pixels.data()) && !in->has_error())
            return;
    }
    const std::string problem = in ? in->geterror() : OIIO::geterror();
    throw CliError(kExitRenderFailed,
        path + ": cannot write the image: the file written does not read back" +
            (problem.empty() ? "" : ": " + problem));
}

}  // namespace

void writeImageFile(OIIO::ImageOutput& out, const std::string& path, const std::atomic<bool>* cancel,
    const std::function<bool(const std::string& temporary)>& write)
{
    OutputFile file(path, cancel);
    const bool checked = out.supports("ioproxy");
    if (checked)
        out.set_ioproxy(&file.proxy());
    bool written = false;
    try {
        written = write(file.temporary());
    } catch (...) {
        // Closed while the checked file still exists: the writer holds it.
        out.close();
        throw;
    }
    const std::string problem = written ? "" : out.geterror();
    out.close();
    if ((cancel && cancel->load()) || file.cancelled())
        throw CliError(kExitInterrupted, path + ": interrupted; nothing written");
    if (!file.problem().empty())
        throw CliError(kExitRenderFailed, path + ": cannot write the image: " + file.problem());
    if (!written)
        throw CliError(kExitRenderFailed,
            path + ": cannot write the image: " +
                (problem.empty() ? "the " + std::string(out.format_name()) + " writer failed without giving a reason"
                                 : problem));
    // OpenJPEG writes files it cannot read back for pictures under 32
    // pixels on a side, without an error: JPEG 2000 files are read back too.
    if (!checked || std::string_view(out.format_name()) == "jpeg2000")
        checkReadsBack(file.temporary(), path);
    file.commit();
}

}  // namespace Quarn::Cli
