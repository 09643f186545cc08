#pragma once
// The small streams on which the library parses and writes:
// - TxFastMemStream, a memory stream that grows its block in Fibonacci steps;
// - TxStringStream, a memory stream made from and read back as a string;
// - TxBufferWriter, a write-only stream that hands whole chunks to a target;
// - TxBufferedReader, a read-only stream that takes large blocks from a source.

#include "platform/core/Streams.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace xml {

class TxFastMemStream : public core::TStream {
public:
    // The capacity is at least 4 bytes; the first growth step is half of it.
    explicit TxFastMemStream(std::int64_t initialCapacity = 0);
    ~TxFastMemStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Sets the position without bound checks; reading and writing at a negative
    // position do nothing.
    std::int64_t Seek(std::int64_t offset, core::TSeekOrigin origin) override;
    std::int64_t Size() override { return size_; }
    // Bytes gained by growing are zero; the block never shrinks.
    void SetSize(std::int64_t newSize) override;

    std::int64_t Capacity() const noexcept { return capacity_; }
    std::int64_t GrowStep() const noexcept { return growStep_; }
    std::int64_t SizeInUse() const noexcept { return size_; }
    std::int64_t CurrentPosition() const noexcept { return position_; }
    const char* Memory() const noexcept { return memory_; }
    char* Memory() noexcept { return memory_; }
    std::string_view View() const noexcept { return {memory_, static_cast<std::size_t>(size_)}; }

protected:
    // Grows the block (zero-filling nothing) until it holds needed bytes.
    void Reserve(std::int64_t needed);

private:
    char* memory_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
    std::int64_t capacity_ = 0;
    std::int64_t growStep_ = 0;
};

class TxStringStream : public TxFastMemStream {
public:
    // A stream holding the bytes of text, positioned at 0.
    explicit TxStringStream(std::string_view text = {});
    // The whole content; the position ends at the end.
    std::string AsString();
};

// Collects writes into chunks and writes every full chunk to the target at
// once (raising the target's write error when it falls short). Flush writes
// what waits; destruction flushes too, unless an exception is on its way, and
// swallows a failure there: callers that must know call Flush first.
class TxBufferWriter : public core::TStream {
public:
    // A chunk size of 0 or less means kDefaultChunkSize.
    TxBufferWriter(core::TStream& target, std::int32_t chunkSize);
    ~TxBufferWriter() override;

    static constexpr std::int32_t kDefaultChunkSize = 4096;

    // Raises "not implemented": the writer only writes.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // The position is the number of bytes written so far; it cannot be moved.
    std::int64_t Seek(std::int64_t offset, core::TSeekOrigin origin) override;
    std::int64_t Size() override { return written_ + fill_; }

    void Flush();
    std::int32_t ChunkSize() const noexcept { return chunkSize_; }
    // For a caller that collects bytes itself (TxPieceBuffer) and may put them
    // straight into the waiting chunk instead of copying them twice: the free
    // part of the chunk (at least one byte), and the count of bytes put there,
    // which a full chunk hands to the target at once. Only for writers whose
    // Write passes bytes unchanged.
    char* ChunkRoom(std::int32_t& room) noexcept
    {
        room = chunkSize_ - fill_;
        return chunk_.get() + fill_;
    }
    void ChunkFilled(std::int32_t count);
    // Whether Write puts the bytes into the chunk as they are: yes for this
    // class; a descendant is taken to convert unless it says otherwise.
    virtual bool PassesBytesUnchanged() const noexcept;
    std::int32_t Fill() const noexcept { return fill_; }
    core::TStream& Target() noexcept { return target_; }

protected:
    // The buffered write, for descendants that convert before buffering. A
    // piece that fits into the waiting chunk is copied here, without a call.
    std::int64_t WriteBuffered(const void* buffer, std::int64_t count)
    {
        if (count > 0 && count < chunkSize_ - fill_) {
            std::memcpy(chunk_.get() + fill_, buffer, static_cast<std::size_t>(count));
            fill_ += static_cast<std::int32_t>(count);
            return count;
        }
        return WriteThrough(buffer, count);
    }

private:
    // WriteBuffered when the piece completes the chunk.
    std::int64_t WriteThrough(const void* buffer, std::int64_t count);

    core::TStream& target_;
    std::int32_t chunkSize_;
    std::unique_ptr<char[]> chunk_;
    std::int32_t fill_ = 0;
    std::int64_t written_ = 0;
    int uncaught_;
};

// Reads its source in blocks of BlockSize bytes and serves small reads from
// the block, so that a parser reading a file in small chunks makes one system
// call per block, not one per chunk. Seeking moves the source and drops the
// block; the position and the size are those of the source.
class TxBufferedReader : public core::TStream {
public:
    static constexpr std::int32_t kDefaultBlockSize = 256 * 1024;
    explicit TxBufferedReader(core::TStream& source, std::int32_t blockSize = kDefaultBlockSize);

    std::int64_t Read(void* buffer, std::int64_t count) override;
    // Raises "not implemented": the reader only reads.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, core::TSeekOrigin origin) override;
    std::int64_t Size() override { return source_.Size(); }

private:
    core::TStream& source_;
    std::unique_ptr<char[]> block_;
    std::int32_t blockSize_;
    std::int32_t at_ = 0;   // next byte to serve
    std::int32_t fill_ = 0; // bytes in the block
};

} // namespace xml
