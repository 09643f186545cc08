#pragma once
// The page stream of a report run: it starts in memory and moves itself to a
// temporary file once it grows past its limit; it can also be opened over a
// stored report file. Every access takes the stream's own (re-entrant) lock,
// because the preview reads pages while generation still appends them.

#include "platform/core/Streams.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace report {

class TRpStream : public core::TStream {
public:
    // Memory mode; past memoryLimit bytes the content moves to a temporary file.
    explicit TRpStream(std::int32_t memoryLimit);
    // File mode over an existing file, opened for reading while others may
    // read and write it. The file is never deleted by the stream.
    static std::unique_ptr<TRpStream> CreateFromFile(const std::string& fileName);
    // Deletes the temporary file, if any.
    ~TRpStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, core::TSeekOrigin origin) override;
    std::int64_t Size() override;

    // Copies the whole content to dest; the position is left at the end.
    void SaveToStream(core::TStream& dest);

    // The stored-report header at the start: 124 bytes in the earlier
    // layout, 128 in the current one.
    int HeaderSize();
    // Moves the fields of a 124-byte header to their places in the 128-byte
    // layout, in place.
    static void ConvertHeader(std::uint8_t (&header)[128]);

    void LockStream() { StreamLock.lock(); }
    void UnlockStream() { StreamLock.unlock(); }

    bool InMemory() const { return inMemory_; }
    const std::string& TempFileName() const { return tempFileName_; }
    std::int32_t MemoryLimit() const { return memoryLimit_; }

private:
    struct FromFile {};
    TRpStream(FromFile, const std::string& fileName);
    void SpillToFile();
    core::TStream& Inner();

    std::recursive_mutex StreamLock;
    std::unique_ptr<core::TMemoryStream> memoryStream_;
    std::string tempFileName_;
    std::unique_ptr<core::TFileStream> fileStream_;
    bool inMemory_ = true;
    std::int32_t memoryLimit_ = 0;
};

// Holds a stream's lock for the life of the guard.
class TRpStreamLock {
public:
    explicit TRpStreamLock(TRpStream& stream) : stream_(stream) { stream_.LockStream(); }
    ~TRpStreamLock() { stream_.UnlockStream(); }
    TRpStreamLock(const TRpStreamLock&) = delete;
    TRpStreamLock& operator=(const TRpStreamLock&) = delete;

private:
    TRpStream& stream_;
};

} // namespace report
