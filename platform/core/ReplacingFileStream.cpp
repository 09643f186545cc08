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

TReplacingFileStream::TReplacingFileStream(const std::string& fileName) : fileName_(fileName), target_(fileName)
{
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
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    if (exists && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        const int error = errno;
        Discard();
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(error));
    }
}

TReplacingFileStream::~TReplacingFileStream() { Discard(); }

void TReplacingFileStream::Discard() noexcept
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(temp_.c_str());
    fd_ = -1;
}

std::int64_t TReplacingFileStream::Read(void*, std::int64_t)
{
    throw EStreamError("The file \"" + fileName_ + "\" is open for writing only");
}

std::int64_t TReplacingFileStream::Write(const void* buffer, std::int64_t count)
{
    if (fd_ < 0)
        return 0;
    std::int64_t done = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

std::int64_t TReplacingFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                       : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                          : SEEK_END;
    return fd_ < 0 ? -1 : ::lseek(fd_, offset, whence);
}

void TReplacingFileStream::SetSize(std::int64_t newSize)
{
    if (fd_ < 0 || ::ftruncate(fd_, newSize) != 0)
        RaiseIo(fileName_, fd_ < 0 ? EBADF : errno);
    if (Position() > newSize)
        SetPosition(newSize);
}

void TReplacingFileStream::Commit()
{
    if (fd_ < 0)
        RaiseIo(fileName_, EBADF);
    if (::fsync(fd_) != 0) {
        const int error = errno;
        Discard();
        RaiseIo(fileName_, error);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        RaiseIo(fileName_, error);
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        RaiseIo(fileName_, error);
    }
}

} // namespace core
