#include "report/pages/RpStream.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace report {

namespace {

// A new empty file "RPF<unique>.tmp" in the temporary folder. Its failure is
// the file stream's creation error, as for any other page file.
std::string CreatePageFile()
{
    try {
        return core::CreateTempFile("RPF");
    } catch (const core::EInOutError& e) {
        throw core::EFCreateError(e.Message());
    }
}

} // namespace

TRpStream::TRpStream(std::int32_t memoryLimit)
    : memoryStream_(std::make_unique<core::TMemoryStream>()), inMemory_(true), memoryLimit_(memoryLimit)
{
}

TRpStream::TRpStream(FromFile, const std::string& fileName)
    : fileStream_(std::make_unique<core::TFileStream>(fileName, core::fmOpenRead | core::fmShareDenyNone)),
      inMemory_(false), memoryLimit_(0)
{
}

std::unique_ptr<TRpStream> TRpStream::CreateFromFile(const std::string& fileName)
{
    return std::unique_ptr<TRpStream>(new TRpStream(FromFile{}, fileName));
}

TRpStream::~TRpStream()
{
    std::lock_guard lock(StreamLock);
    memoryStream_.reset();
    fileStream_.reset();
    if (!tempFileName_.empty()) {
        std::error_code ec;
        std::filesystem::remove(tempFileName_, ec);
    }
}

core::TStream& TRpStream::Inner()
{
    if (inMemory_)
        return *memoryStream_;
    return *fileStream_;
}

std::int64_t TRpStream::Read(void* buffer, std::int64_t count)
{
    std::lock_guard lock(StreamLock);
    return Inner().Read(buffer, count);
}

std::int64_t TRpStream::Seek(std::int64_t offset, core::TSeekOrigin origin)
{
    std::lock_guard lock(StreamLock);
    return Inner().Seek(offset, origin);
}

std::int64_t TRpStream::Size()
{
    std::lock_guard lock(StreamLock);
    return Inner().Size();
}

std::int64_t TRpStream::Write(const void* buffer, std::int64_t count)
{
    std::lock_guard lock(StreamLock);
    if (!inMemory_)
        return fileStream_->Write(buffer, count);
    const std::int64_t written = memoryStream_->Write(buffer, count);
    if (memoryStream_->Size() > static_cast<std::int64_t>(memoryLimit_))
        SpillToFile();
    return written;
}

void TRpStream::SpillToFile()
{
    tempFileName_ = CreatePageFile();
    auto file = std::make_unique<core::TFileStream>(tempFileName_, core::fmCreate);
    file->WriteBuffer(memoryStream_->Memory(), memoryStream_->Size());
    file->SetPosition(memoryStream_->Position());
    fileStream_ = std::move(file);
    memoryStream_.reset();
    inMemory_ = false;
}

void TRpStream::SaveToStream(core::TStream& dest)
{
    std::lock_guard lock(StreamLock);
    SetPosition(0);
    std::vector<char> buffer(10240);
    for (;;) {
        const std::int64_t n = Read(buffer.data(), static_cast<std::int64_t>(buffer.size()));
        if (n <= 0)
            break;
        dest.WriteBuffer(buffer.data(), n);
    }
}

int TRpStream::HeaderSize()
{
    std::lock_guard lock(StreamLock);
    const std::int64_t saved = Position();
    char text[5] = {};
    Seek(173, core::TSeekOrigin::soBeginning);
    Read(text, 4);
    Seek(saved, core::TSeekOrigin::soBeginning);
    // An uncompressed first page puts its metafile signature there after a
    // 124-byte header.
    return std::strcmp(text, "EMF") == 0 ? 124 : 128;
}

void TRpStream::ConvertHeader(std::uint8_t (&header)[128])
{
    std::uint8_t old[128];
    std::memcpy(old, header, sizeof old);
    std::memset(header, 0, sizeof header);
    std::memcpy(header + 0, old + 0, 4);     // version and its companion word
    header[4] = old[4];
    std::memcpy(header + 8, old + 8, 4);     // page count
    std::memcpy(header + 16, old + 12, 8);   // creation time
    header[24] = old[20];
    header[25] = old[21];                    // compressed
    std::memcpy(header + 26, old + 22, 101);
}

} // namespace report
