#pragma once
// A file written through a temporary file in the same folder that replaces it
// only once the writing is complete (Commit), so a failed save leaves the old
// file as it was. An existing file keeps its permissions; a new one gets the
// usual ones (0666 less the umask). A symbolic link keeps pointing to the file
// it named, which is the one replaced.

#include "platform/core/Streams.h"

#include <string>

namespace core {

class TReplacingFileStream : public TStream {
public:
    // Raises EFCreateError naming the file when the temporary file cannot be made.
    explicit TReplacingFileStream(const std::string& fileName);
    // Without Commit the temporary file is removed and the old file stays.
    ~TReplacingFileStream() override;

    // Write-only: raises EStreamError.
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

    // Makes the written bytes durable and puts them in place of the file.
    // Raises EInOutError naming the file; the old file then stays.
    void Commit();
    const std::string& FileName() const noexcept { return fileName_; }

private:
    void Discard() noexcept;

    std::string fileName_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

} // namespace core
