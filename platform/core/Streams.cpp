#include "platform/core/Streams.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

std::int64_t TStream::Size()
{
    const std::int64_t here = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(here, TSeekOrigin::soBeginning);
    return end;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count > 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count > 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// --- memory stream -----------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    const std::int64_t available = Size() - position_;
    if (available <= 0)
        return 0;
    const std::int64_t n = std::min(count, available);
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    const std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<std::size_t>(end)); // gap bytes are zero
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case TSeekOrigin::soBeginning: position_ = offset; break;
    case TSeekOrigin::soCurrent: position_ += offset; break;
    case TSeekOrigin::soEnd: position_ = Size() + offset; break;
    }
    return position_;
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(newSize, 0)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t n = source.Size();
    data_.resize(static_cast<std::size_t>(n));
    source.ReadBuffer(data_.data(), n);
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) { target.WriteBuffer(data_.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// --- handle stream -----------------------------------------------------------

namespace {

// Calls move(done, left) until count bytes have moved, the end is reached or
// an error other than an interruption stops it; answers the bytes moved.
template <typename Move>
std::int64_t MoveAll(std::int64_t count, Move move)
{
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t n = move(done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

std::int64_t THandleStream::Read(void* buffer, std::int64_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    return MoveAll(count, [&](std::int64_t done, std::size_t left) { return ::read(handle_, bytes + done, left); });
}

std::int64_t THandleStream::Write(const void* buffer, std::int64_t count)
{
    const auto* bytes = static_cast<const char*>(buffer);
    return MoveAll(count, [&](std::int64_t done, std::size_t left) { return ::write(handle_, bytes + done, left); });
}

std::int64_t THandleStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                       : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                          : SEEK_END;
    return ::lseek(handle_, offset, whence);
}

// --- file stream -------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : THandleStream(-1), fileName_(fileName)
{
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
        handle_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (handle_ < 0)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        return;
    }
    int flags = O_RDONLY;
    if ((mode & 3) == fmOpenWrite)
        flags = O_WRONLY;
    else if ((mode & 3) == fmOpenReadWrite)
        flags = O_RDWR;
    handle_ = ::open(fileName.c_str(), flags | O_CLOEXEC);
    if (handle_ < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat st {};
    if (::fstat(handle_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(handle_);
        handle_ = -1;
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(EISDIR));
    }
}

TFileStream::~TFileStream()
{
    if (handle_ >= 0)
        ::close(handle_);
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (::ftruncate(handle_, newSize) != 0)
        throw EStreamError("Cannot set the size of \"" + fileName_ + "\". " + std::strerror(errno));
    if (Position() > newSize)
        SetPosition(newSize);
}

std::string ReadFileBytes(const std::string& fileName)
{
    // Read to the end rather than trust the size: files under /proc and pipes
    // report none, and a file may grow while it is read.
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::string bytes;
    const std::int64_t size = file.Size();
    bytes.reserve(size > 0 ? static_cast<std::size_t>(size) : 0);
    char buffer[1 << 16];
    for (std::int64_t n; (n = file.Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes)
{
    TFileStream file(fileName, fmCreate);
    file.WriteString(bytes);
}

} // namespace core
