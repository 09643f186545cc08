#include "xml/FastStreams.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <typeinfo>

namespace xml {

// --- memory stream -----------------------------------------------------------

TxFastMemStream::TxFastMemStream(std::int64_t initialCapacity)
{
    capacity_ = std::max<std::int64_t>(initialCapacity, 4);
    growStep_ = std::max<std::int64_t>(initialCapacity / 2, 4);
    memory_ = static_cast<char*>(std::malloc(static_cast<std::size_t>(capacity_)));
    if (memory_ == nullptr)
        throw std::bad_alloc();
}

TxFastMemStream::~TxFastMemStream() { std::free(memory_); }

void TxFastMemStream::Reserve(std::int64_t needed)
{
    if (needed <= capacity_)
        return;
    std::int64_t capacity = capacity_, step = growStep_;
    while (capacity < needed) {
        const std::int64_t next = capacity + step;
        step = capacity;
        capacity = next;
    }
    char* grown = static_cast<char*>(std::realloc(memory_, static_cast<std::size_t>(capacity)));
    if (grown == nullptr)
        throw std::bad_alloc();
    memory_ = grown;
    capacity_ = capacity;
    growStep_ = step;
}

std::int64_t TxFastMemStream::Read(void* buffer, std::int64_t count)
{
    if (position_ < 0 || count < 0 || position_ >= size_)
        return 0;
    const std::int64_t n = std::min(count, size_ - position_);
    std::memcpy(buffer, memory_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TxFastMemStream::Write(const void* buffer, std::int64_t count)
{
    if (position_ < 0 || count < 0 || position_ + count <= 0)
        return 0;
    const std::int64_t end = position_ + count;
    if (end > size_) {
        Reserve(end);
        if (position_ > size_) // a gap left by seeking past the end reads as zeros
            std::memset(memory_ + size_, 0, static_cast<std::size_t>(position_ - size_));
        size_ = end;
    }
    std::memcpy(memory_ + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TxFastMemStream::Seek(std::int64_t offset, core::TSeekOrigin origin)
{
    switch (origin) {
    case core::TSeekOrigin::soBeginning: position_ = offset; break;
    case core::TSeekOrigin::soCurrent: position_ += offset; break;
    case core::TSeekOrigin::soEnd: position_ = size_ + offset; break;
    }
    return position_;
}

void TxFastMemStream::SetSize(std::int64_t newSize)
{
    newSize = std::max<std::int64_t>(newSize, 0);
    if (newSize > size_) {
        Reserve(newSize);
        std::memset(memory_ + size_, 0, static_cast<std::size_t>(newSize - size_));
    }
    size_ = newSize;
    if (position_ > size_)
        position_ = size_;
}

// --- string stream -----------------------------------------------------------

TxStringStream::TxStringStream(std::string_view text) : TxFastMemStream(4096)
{
    if (!text.empty())
        Write(text.data(), static_cast<std::int64_t>(text.size()));
    Seek(0, core::TSeekOrigin::soBeginning);
}

std::string TxStringStream::AsString()
{
    Seek(0, core::TSeekOrigin::soEnd);
    return std::string(View());
}

// --- buffered writer ---------------------------------------------------------

TxBufferWriter::TxBufferWriter(core::TStream& target, std::int32_t chunkSize)
    : target_(target), chunkSize_(chunkSize > 0 ? chunkSize : kDefaultChunkSize),
      chunk_(new char[static_cast<std::size_t>(chunkSize_)]), uncaught_(std::uncaught_exceptions())
{
}

TxBufferWriter::~TxBufferWriter()
{
    if (std::uncaught_exceptions() > uncaught_)
        return; // a failed write: what waits is incomplete anyway
    try {
        Flush();
    } catch (...) {
        // Destructors must not raise; Flush reports the failure to callers that ask.
    }
}

std::int64_t TxBufferWriter::Read(void*, std::int64_t) { throw core::Exception("not implemented"); }

std::int64_t TxBufferWriter::Write(const void* buffer, std::int64_t count)
{
    return WriteBuffered(buffer, count);
}

std::int64_t TxBufferWriter::WriteThrough(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const char* bytes = static_cast<const char*>(buffer);
    std::int64_t left = count;
    if (fill_ > 0 && fill_ + left >= chunkSize_) { // complete the waiting chunk
        const std::int32_t part = chunkSize_ - fill_;
        std::memcpy(chunk_.get() + fill_, bytes, static_cast<std::size_t>(part));
        target_.WriteBuffer(chunk_.get(), chunkSize_);
        written_ += chunkSize_;
        fill_ = 0;
        bytes += part;
        left -= part;
    }
    if (left >= chunkSize_) { // whole chunks go straight from the caller's bytes
        const std::int64_t whole = left - left % chunkSize_;
        target_.WriteBuffer(bytes, whole);
        written_ += whole;
        bytes += whole;
        left -= whole;
    }
    std::memcpy(chunk_.get() + fill_, bytes, static_cast<std::size_t>(left));
    fill_ += static_cast<std::int32_t>(left);
    return count;
}

std::int64_t TxBufferWriter::Seek(std::int64_t offset, core::TSeekOrigin origin)
{
    const std::int64_t here = written_ + fill_;
    const std::int64_t wanted = origin == core::TSeekOrigin::soBeginning ? offset : here + offset;
    if (wanted != here)
        throw core::EStreamError("A buffered writer cannot seek");
    return here;
}

void TxBufferWriter::Flush()
{
    if (fill_ == 0)
        return;
    const std::int32_t n = fill_;
    fill_ = 0; // a failing target does not get the same bytes again
    target_.WriteBuffer(chunk_.get(), n);
    written_ += n;
}

bool TxBufferWriter::PassesBytesUnchanged() const noexcept { return typeid(*this) == typeid(TxBufferWriter); }

void TxBufferWriter::ChunkFilled(std::int32_t count)
{
    fill_ += count;
    if (fill_ >= chunkSize_)
        Flush();
}

// --- buffered reader ------------------------------------------------------------

TxBufferedReader::TxBufferedReader(core::TStream& source, std::int32_t blockSize)
    : source_(source), block_(new char[static_cast<std::size_t>(std::max(blockSize, 1))]),
      blockSize_(std::max(blockSize, 1))
{
}

std::int64_t TxBufferedReader::Read(void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    auto* out = static_cast<char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        if (at_ == fill_) {
            // A read as large as a block goes straight to the caller.
            if (count - done >= blockSize_) {
                const std::int64_t n = source_.Read(out + done, count - done);
                return n > 0 ? done + n : done;
            }
            const std::int64_t n = source_.Read(block_.get(), blockSize_);
            at_ = fill_ = 0;
            if (n <= 0)
                break;
            fill_ = static_cast<std::int32_t>(n);
        }
        const std::int64_t n = std::min<std::int64_t>(count - done, fill_ - at_);
        std::memcpy(out + done, block_.get() + at_, static_cast<std::size_t>(n));
        at_ += static_cast<std::int32_t>(n);
        done += n;
    }
    return done;
}

std::int64_t TxBufferedReader::Write(const void*, std::int64_t) { throw core::Exception("not implemented"); }

std::int64_t TxBufferedReader::Seek(std::int64_t offset, core::TSeekOrigin origin)
{
    const std::int64_t waiting = fill_ - at_;
    if (origin == core::TSeekOrigin::soCurrent && offset == 0)
        return source_.Position() - waiting;
    if (origin == core::TSeekOrigin::soCurrent)
        offset -= waiting; // the source stands past the bytes still waiting
    at_ = fill_ = 0;
    return source_.Seek(offset, origin);
}

} // namespace xml
