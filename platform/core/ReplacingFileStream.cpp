#include "platform/core/ReplacingFileStream.h"

#include "platform/core/Exceptions.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

[[noreturn]] void RaiseIo(const std::string& name, int error)
{
    throw EInOutError("Cannot write file \"" + name + "\". " + std::strerror(error), error);
}

} // namespace

// --- the replacement ---------------------------------------------------------

int TFileReplacement::Create(const std::string& fileName)
{
    Discard();
    target_ = fileName;
    struct stat st {};
    const bool exists = ::stat(fileName.c_str(), &st) == 0;
    std::error_code ec;
    if (exists && std::filesystem::is_symlink(fileName, ec)) {
        const auto resolved = std::filesystem::canonical(fileName, ec);
        if (!ec)
            target_ = resolved.string();
    }
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temp_ = target_ + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100))
            return errno;
    }
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    return 0;
}

void TFileReplacement::Discard() noexcept
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

int TFileReplacement::Commit()
{
    if (fd_ < 0)
        return EBADF;
    if (::fsync(fd_) != 0) {
        const int error = errno;
        Discard();
        return error;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        return error;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        return error;
    }
    return 0;
}

// --- the stream --------------------------------------------------------------

TReplacingFileStream::TReplacingFileStream(const std::string& fileName) : THandleStream(-1), fileName_(fileName)
{
    if (const int error = replacement_.Create(fileName))
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(error));
    handle_ = replacement_.Handle();
}

std::int64_t TReplacingFileStream::Read(void*, std::int64_t)
{
    throw EStreamError("The file \"" + fileName_ + "\" is open for writing only");
}

void TReplacingFileStream::SetSize(std::int64_t newSize)
{
    if (handle_ < 0 || ::ftruncate(handle_, newSize) != 0)
        RaiseIo(fileName_, handle_ < 0 ? EBADF : errno);
    if (Position() > newSize)
        SetPosition(newSize);
}

void TReplacingFileStream::Commit()
{
    handle_ = -1;
    if (const int error = replacement_.Commit())
        RaiseIo(fileName_, error);
}

} // namespace core
