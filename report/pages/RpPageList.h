#pragma once
// The pages of a report run, one record each in a page stream, optionally
// compressed, readable by number while generation still appends. The same
// bytes are the stored report file:
//
//   header (128 bytes): version 3, 40, page count at 8, creation time at 16
//   (days since 1899-12-30), compressed flag at 25, the rest zero;
//   per page: page number, offset of the next record, [uncompressed length],
//   the page's metafile (or its code), offset of this record's own start.
//
// All integers are little-endian. An earlier 124-byte header is read too.
// A page is the bytes of its recorded metafile.

#include "report/pages/RpOutline.h"
#include "report/pages/RpStream.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace gfx {
class TMetafile;
}

namespace report {

class TRpPageList {
public:
    TRpPageList();
    ~TRpPageList();
    TRpPageList(const TRpPageList&) = delete;
    TRpPageList& operator=(const TRpPageList&) = delete;

    // Appends one page (the bytes of its metafile) to the stream.
    void AddPage(const std::string& metafile);
    void AddPage(const gfx::TMetafile& page);
    // A copy of the page, or none when pageNumber is not between 1 and PageCount.
    std::optional<std::string> GetPage(std::int32_t pageNumber);
    // The page as a metafile of its own; none when pageNumber is not between
    // 1 and PageCount. A page whose bytes are no metafile raises EInvalidGraphic.
    std::unique_ptr<gfx::TMetafile> GetPageMetafile(std::int32_t pageNumber);
    // Rewrites the header with the final page count.
    void Finish();
    // Forgets the pages; the stream itself belongs to whoever set it.
    void Clear() { pageCount_ = 0; }

    // Copies the whole stream into the file, byte for byte.
    void SaveToFile(const std::string& fileName);
    // Opens the file as the list's own stream and reads its header; the
    // pages are the records the file holds, whatever its header counts. The
    // stream is left after the last record.
    void LoadFromFile(const std::string& fileName);

    bool Compression() const { return compression_; }
    void SetCompression(bool compression) { compression_ = compression; }
    std::int32_t PageCount() const { return pageCount_.load(); }
    // The stream of a run is set and taken away by the report printer, which owns it.
    TRpStream* Stream() const { return stream_; }
    void SetStream(TRpStream* stream);
    TRpOutline& Outline() { return outline_; }

    void LockList() { ListLock.lock(); }
    void UnlockList() { ListLock.unlock(); }

    static constexpr int kHeaderSize = 128;

private:
    void WriteHeader();
    void ReadHeader();
    void SeekToFirst();
    void SeekToLast();
    void SeekToPage(std::int32_t pageNumber);
    // Walks the records from the first to the end of the stream, each checked
    // (numbered in turn, its link further on and within the stream, its own
    // start at its end); a broken chain raises EReadError.
    std::int32_t CountRecords();
    TRpStream& CurrentStream();

    std::recursive_mutex ListLock;
    bool compression_ = false;
    // Read by the preview while generation counts up.
    std::atomic<std::int32_t> pageCount_ = 0;
    TRpStream* stream_ = nullptr;
    std::unique_ptr<TRpStream> ownedStream_;
    TRpOutline outline_;
};

} // namespace report
