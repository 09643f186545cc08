#pragma once
// Files written through a temporary file in the same folder that replaces the
// file only once the writing is complete, so a failed save leaves the old file
// as it was. An existing file keeps its permissions; a new one gets the usual
// ones (0666 less the umask). A symbolic link keeps pointing to the file it
// named, which is the one replaced.

#include "platform/core/Streams.h"

#include <string>

namespace core {

// The temporary file and its replacing of the file. Each step answers 0 or the
// error number, so that every caller raises the error its own callers expect.
class TFileReplacement {
public:
    TFileReplacement() = default;
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;
    // Without Commit the temporary file is removed and the old file stays.
    ~TFileReplacement() { Discard(); }

    int Create(const std::string& fileName);
    // The temporary file, open for reading and writing; -1 before Create and
    // after Commit or Discard.
    int Handle() const noexcept { return fd_; }
    // Makes the written bytes durable and puts them in place of the file. On
    // failure the temporary file is removed and the old file stays.
    int Commit();
    void Discard() noexcept;

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

class TReplacingFileStream : public THandleStream {
public:
    // Raises EFCreateError naming the file when the temporary file cannot be made.
    explicit TReplacingFileStream(const std::string& fileName);

    // Write-only: raises EStreamError.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    void SetSize(std::int64_t newSize) override;

    // Makes the written bytes durable and puts them in place of the file.
    // Raises EInOutError naming the file; the old file then stays.
    void Commit();
    const std::string& FileName() const noexcept { return fileName_; }

private:
    std::string fileName_;
    TFileReplacement replacement_;
};

} // namespace core
