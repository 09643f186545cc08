#include "report/pages/RpPageList.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"
#include "platform/gfx/Metafile.h"
#include "report/pages/RpCompress.h"

#include <cstring>

namespace report {

namespace {

using core::TSeekOrigin;

std::int32_t ReadInt32(core::TStream& stream)
{
    std::uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                     static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

void WriteInt32(core::TStream& stream, std::int64_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    stream.WriteBuffer(b, 4);
}

void PutInt16(std::uint8_t* at, std::uint16_t v)
{
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutInt32(std::uint8_t* at, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | at[i];
    return static_cast<std::int32_t>(v);
}

void PutDouble(std::uint8_t* at, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// A damaged file must fail, not loop or read wild lengths.
[[noreturn]] void Damaged() { throw core::EReadError("Stream read error"); }

// Both locks for one multi-step operation: the list's, then the stream's.
class ListAndStreamLock {
public:
    ListAndStreamLock(std::recursive_mutex& list, TRpStream& stream) : list_(list), stream_(stream)
    {
        list_.lock();
        stream_.LockStream();
    }
    ~ListAndStreamLock()
    {
        stream_.UnlockStream();
        list_.unlock();
    }
    ListAndStreamLock(const ListAndStreamLock&) = delete;
    ListAndStreamLock& operator=(const ListAndStreamLock&) = delete;

private:
    std::recursive_mutex& list_;
    TRpStream& stream_;
};

} // namespace

TRpPageList::TRpPageList() = default;
TRpPageList::~TRpPageList() = default;

void TRpPageList::SetStream(TRpStream* stream)
{
    std::lock_guard lock(ListLock);
    if (ownedStream_ && ownedStream_.get() != stream)
        ownedStream_.reset();
    stream_ = stream;
}

TRpStream& TRpPageList::CurrentStream()
{
    if (stream_ == nullptr)
        throw core::EStreamError("The page list has no stream");
    return *stream_;
}

void TRpPageList::WriteHeader()
{
    std::uint8_t header[kHeaderSize] = {};
    PutInt16(header + 0, 3);
    PutInt16(header + 2, 40);
    PutInt32(header + 8, pageCount_);
    PutDouble(header + 16, core::Now());
    header[25] = compression_ ? 1 : 0;
    TRpStream& stream = CurrentStream();
    stream.SetPosition(0);
    stream.WriteBuffer(header, kHeaderSize);
}

void TRpPageList::ReadHeader()
{
    TRpStream& stream = CurrentStream();
    const int size = stream.HeaderSize();
    std::uint8_t header[kHeaderSize] = {};
    stream.SetPosition(0);
    stream.ReadBuffer(header, size);
    if (size == 124)
        TRpStream::ConvertHeader(header);
    pageCount_ = GetInt32(header + 8);
    compression_ = header[25] == 1;
}

void TRpPageList::AddPage(const std::string& metafile)
{
    TRpStream& stream = CurrentStream();
    ListAndStreamLock lock(ListLock, stream);
    ++pageCount_;
    if (pageCount_ == 1)
        WriteHeader();

    // Record start: the page number and a place for the link to the next record.
    const std::int64_t recordStart = stream.Seek(0, TSeekOrigin::soEnd);
    WriteInt32(stream, pageCount_);
    const std::int64_t linkOffset = stream.Position();
    WriteInt32(stream, linkOffset);

    if (compression_) {
        WriteInt32(stream, static_cast<std::int64_t>(metafile.size()));
        TRpCompress coder(stream, true);
        coder.CompressBytes(metafile.data(), metafile.size());
        coder.Finish();
    } else {
        stream.WriteBuffer(metafile.data(), static_cast<std::int64_t>(metafile.size()));
    }

    // Record end: the record's own start, then the link now that the end is known.
    WriteInt32(stream, recordStart);
    const std::int64_t end = stream.Position();
    stream.SetPosition(linkOffset);
    WriteInt32(stream, end);
    stream.SetPosition(end);
}

void TRpPageList::SeekToFirst() { CurrentStream().SetPosition(CurrentStream().HeaderSize()); }

void TRpPageList::SeekToLast()
{
    TRpStream& stream = CurrentStream();
    stream.Seek(-4, TSeekOrigin::soEnd);
    stream.SetPosition(ReadInt32(stream));
}

void TRpPageList::SeekToPage(std::int32_t pageNumber)
{
    TRpStream& stream = CurrentStream();
    if (pageNumber == 1) {
        SeekToFirst();
        return;
    }
    if (stream.Position() >= stream.Size())
        SeekToLast();
    const std::int32_t current = ReadInt32(stream);
    stream.Seek(-4, TSeekOrigin::soCurrent);
    if (pageNumber > current) {
        // Forward along the links; each must lead further on.
        for (;;) {
            const std::int64_t start = stream.Position();
            if (ReadInt32(stream) == pageNumber)
                break;
            const std::int32_t next = ReadInt32(stream);
            if (next <= start)
                Damaged();
            stream.SetPosition(next);
        }
        stream.Seek(-4, TSeekOrigin::soCurrent);
    } else if (pageNumber < current) {
        // Back along the own-start fields that end the previous records.
        for (;;) {
            const std::int64_t start = stream.Position();
            if (ReadInt32(stream) == pageNumber)
                break;
            if (start < 8)
                Damaged();
            stream.SetPosition(start - 4);
            const std::int32_t previous = ReadInt32(stream);
            if (previous < 0 || previous >= start)
                Damaged();
            stream.SetPosition(previous);
        }
        stream.Seek(-4, TSeekOrigin::soCurrent);
    }
}

std::optional<std::string> TRpPageList::GetPage(std::int32_t pageNumber)
{
    std::lock_guard listLock(ListLock);
    if (pageNumber < 1 || pageNumber > pageCount_)
        return std::nullopt;
    TRpStream& stream = CurrentStream();
    ListAndStreamLock lock(ListLock, stream);
    SeekToPage(pageNumber);
    ReadInt32(stream); // page number
    const std::int32_t next = ReadInt32(stream);
    const std::int64_t dataStart = stream.Position();
    const std::int64_t size = stream.Size();
    if (next < dataStart + 4 || next > size)
        Damaged();
    std::string page;
    if (compression_) {
        const std::int32_t length = ReadInt32(stream);
        if (length < 0)
            Damaged();
        // Every byte costs at least one bit of code: a length beyond what the
        // record could hold is damage, not a reason to allocate.
        const std::int64_t codeBytes = next - 4 - (dataStart + 4);
        if (static_cast<std::int64_t>(length) > codeBytes * 8)
            Damaged();
        page.resize(static_cast<std::size_t>(length));
        TRpCompress coder(stream, false);
        coder.ExpandBytes(page.data(), page.size());
        coder.Finish();
        stream.SetPosition(next - 4);
    } else {
        page.resize(static_cast<std::size_t>(next - 4 - dataStart));
        stream.ReadBuffer(page.data(), static_cast<std::int64_t>(page.size()));
    }
    ReadInt32(stream); // the record's own start
    return page;
}

void TRpPageList::AddPage(const gfx::TMetafile& page)
{
    AddPage(page.Data());
}

std::unique_ptr<gfx::TMetafile> TRpPageList::GetPageMetafile(std::int32_t pageNumber)
{
    std::optional<std::string> bytes = GetPage(pageNumber);
    if (!bytes)
        return nullptr;
    core::TMemoryStream stream;
    stream.WriteBuffer(bytes->data(), static_cast<std::int64_t>(bytes->size()));
    stream.SetPosition(0);
    auto page = std::make_unique<gfx::TMetafile>();
    page->LoadFromStream(stream);
    return page;
}

void TRpPageList::Finish()
{
    TRpStream& stream = CurrentStream();
    ListAndStreamLock lock(ListLock, stream);
    WriteHeader();
}

void TRpPageList::SaveToFile(const std::string& fileName)
{
    TRpStream& stream = CurrentStream();
    ListAndStreamLock lock(ListLock, stream);
    core::TFileStream file(fileName, core::fmCreate);
    stream.SaveToStream(file);
}

std::int32_t TRpPageList::CountRecords()
{
    TRpStream& stream = CurrentStream();
    const std::int64_t size = stream.Size();
    std::int32_t count = 0;
    for (std::int64_t start = stream.HeaderSize(); start < size;) {
        // Page number, link, the page (at least its own-start field).
        if (size - start < 12)
            Damaged();
        stream.SetPosition(start);
        if (ReadInt32(stream) != count + 1)
            Damaged();
        const std::int64_t next = ReadInt32(stream);
        if (next < start + 12 || next > size)
            Damaged();
        stream.SetPosition(next - 4);
        if (ReadInt32(stream) != start)
            Damaged();
        ++count;
        start = next;
    }
    return count;
}

void TRpPageList::LoadFromFile(const std::string& fileName)
{
    std::lock_guard lock(ListLock);
    stream_ = nullptr;
    ownedStream_.reset();
    pageCount_ = 0;
    ownedStream_ = TRpStream::CreateFromFile(fileName);
    stream_ = ownedStream_.get();
    ReadHeader();
    // The header's count may be damaged (0, negative or more than the file
    // holds): the pages are the records the file actually has.
    pageCount_ = CountRecords();
    if (pageCount_ > 0)
        GetPage(pageCount_);
}

} // namespace report
