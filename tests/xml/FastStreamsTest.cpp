#include "xml/FastStreams.h"

#include "tests/xml/RecordingStream.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace xml;

using Target = xmltest::RecordingStream;

TEST(FastMemStream, GrowsInFibonacciSteps)
{
    TxFastMemStream s(0);
    EXPECT_EQ(s.Capacity(), 4);
    EXPECT_EQ(s.GrowStep(), 4);
    std::vector<std::int64_t> capacities;
    for (int i = 0; i < 52; ++i) {
        s.Write("x", 1);
        if (capacities.empty() || capacities.back() != s.Capacity())
            capacities.push_back(s.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::int64_t>{4, 8, 12, 20, 32, 52}));

    TxFastMemStream big(4096);
    big.SetSize(4097);
    EXPECT_EQ(big.Capacity(), 6144);
    big.SetSize(6145);
    EXPECT_EQ(big.Capacity(), 10240);
    big.SetSize(10);
    EXPECT_EQ(big.Capacity(), 10240) << "the block never shrinks";
}

TEST(FastMemStream, ReadWriteSeekAndZeroGaps)
{
    TxFastMemStream s;
    EXPECT_EQ(s.Write("abc", 3), 3);
    EXPECT_EQ(s.Seek(2, core::TSeekOrigin::soCurrent), 5);
    EXPECT_EQ(s.Write("z", 1), 1);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.View(), std::string_view("abc\0\0z", 6)) << "bytes skipped over read as zeros";

    char buffer[16] = {};
    s.SetPosition(4);
    EXPECT_EQ(s.Read(buffer, 16), 2);
    EXPECT_EQ(s.Read(buffer, 16), 0);
    s.SetPosition(-1);
    EXPECT_EQ(s.Read(buffer, 1), 0);
    EXPECT_EQ(s.Write("q", 1), 0) << "nothing happens at a negative position";
    EXPECT_EQ(s.Seek(-2, core::TSeekOrigin::soEnd), 4);

    s.SetSize(10);
    EXPECT_EQ(s.View().substr(6), std::string_view("\0\0\0\0", 4)) << "a grown size reads as zeros";
    s.SetPosition(9);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3) << "the position follows a shorter end";
    EXPECT_EQ(s.Write("", 0), 0);
}

TEST(StringStream, HoldsTextAndGivesItBack)
{
    const std::string text(5000, 'k');
    TxStringStream s("Čeština " + text);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_GE(s.Capacity(), 4096);
    s.Seek(0, core::TSeekOrigin::soEnd);
    s.Write("!", 1);
    EXPECT_EQ(s.AsString(), "Čeština " + text + "!");
    EXPECT_EQ(s.Position(), s.Size());
    TxStringStream empty;
    EXPECT_EQ(empty.AsString(), "");
    EXPECT_EQ(empty.Capacity(), 4096);
}

TEST(BufferWriter, HandsOnWholeChunksAndTheRestAtTheEnd)
{
    Target target;
    {
        TxBufferWriter writer(target, 4);
        EXPECT_EQ(writer.Write("0123456789", 10), 10);
        EXPECT_EQ(target.Size(), 8) << "two full chunks go at once";
        EXPECT_EQ(writer.Fill(), 2);
        EXPECT_EQ(writer.Position(), 10);
        EXPECT_EQ(writer.Write("ab", 2), 2);
        EXPECT_EQ(target.Size(), 12) << "a chunk goes as soon as it is exactly full";
        writer.Write("c", 1);
    }
    EXPECT_EQ(target.DataString(), "0123456789abc");
}

TEST(BufferWriter, SaneChunkSizeAndRefusedReading)
{
    Target target;
    TxBufferWriter writer(target, 0);
    EXPECT_EQ(writer.ChunkSize(), TxBufferWriter::kDefaultChunkSize);
    TxBufferWriter negative(target, -5);
    EXPECT_EQ(negative.ChunkSize(), TxBufferWriter::kDefaultChunkSize);
    char c;
    try {
        writer.Read(&c, 1);
        FAIL();
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "not implemented");
    }
    EXPECT_THROW(writer.Seek(3, core::TSeekOrigin::soBeginning), core::EStreamError);
}

TEST(BufferWriter, TargetFailuresReachTheCaller)
{
    Target target;
    target.limit = 5;
    TxBufferWriter writer(target, 4);
    writer.Write("1234", 4);
    EXPECT_THROW(writer.Write("5678", 4), core::EWriteError);

    Target late;
    late.limit = 2;
    TxBufferWriter tail(late, 64);
    tail.Write("abc", 3);
    EXPECT_THROW(tail.Flush(), core::EWriteError) << "Flush tells what destruction cannot";
}

TEST(BufferWriter, NoFlushWhileAnErrorIsOnItsWay)
{
    Target target;
    try {
        TxBufferWriter writer(target, 64);
        writer.Write("half", 4);
        throw std::runtime_error("save failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(target.Size(), 0);
}

// --- buffered reader --------------------------------------------------------------

namespace {

// A source that counts its reads.
class CountingStream : public TxStringStream {
public:
    using TxStringStream::TxStringStream;
    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        ++reads;
        return TxStringStream::Read(buffer, count);
    }
    int reads = 0;
};

std::string Bytes(std::size_t n)
{
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>('a' + i * 7 % 26);
    return bytes;
}

} // namespace

TEST(BufferedReader, SmallReadsAcrossBlocksGiveTheSourceInOrderWithOneSourceReadPerBlock)
{
    const std::string text = Bytes(1000);
    CountingStream source(text);
    TxBufferedReader reader(source, 64);
    std::string got;
    char piece[7];
    for (std::int64_t n; (n = reader.Read(piece, sizeof piece)) > 0;)
        got.append(piece, static_cast<std::size_t>(n));
    EXPECT_EQ(got, text);
    // 16 blocks, the last one short; the end is asked for by the read that
    // empties the last block and by the one after it.
    EXPECT_EQ(source.reads, 1000 / 64 + 1 + 2);
    EXPECT_EQ(reader.Read(piece, sizeof piece), 0);
    EXPECT_EQ(reader.Size(), 1000);
}

TEST(BufferedReader, LargeReadsGoStraightThroughAndPositionsCountWhatWasServed)
{
    const std::string text = Bytes(1000);
    CountingStream source(text);
    TxBufferedReader reader(source, 64);
    char small[10];
    ASSERT_EQ(reader.Read(small, 10), 10);
    EXPECT_EQ(reader.Position(), 10);
    std::string big(500, '\0');
    ASSERT_EQ(reader.Read(big.data(), 500), 500);
    EXPECT_EQ(big, text.substr(10, 500));
    EXPECT_EQ(reader.Position(), 510);
    std::string rest(1000, '\0');
    EXPECT_EQ(reader.Read(rest.data(), 1000), 490) << "a read past the end gives what is there";
    EXPECT_EQ(rest.substr(0, 490), text.substr(510));
}

TEST(BufferedReader, SeekingDropsTheBlockAndReadsFromTheNewPlace)
{
    const std::string text = Bytes(300);
    CountingStream source(text);
    TxBufferedReader reader(source, 64);
    char piece[5];
    reader.Read(piece, 5);
    reader.SetPosition(2);
    ASSERT_EQ(reader.Read(piece, 5), 5);
    EXPECT_EQ(std::string(piece, 5), text.substr(2, 5));
    EXPECT_EQ(reader.Seek(-3, core::TSeekOrigin::soCurrent), 4);
    ASSERT_EQ(reader.Read(piece, 5), 5);
    EXPECT_EQ(std::string(piece, 5), text.substr(4, 5));
    EXPECT_EQ(reader.Seek(-10, core::TSeekOrigin::soEnd), 290);
    EXPECT_EQ(reader.Read(piece, 5), 5);
    EXPECT_EQ(std::string(piece, 5), text.substr(290, 5));
    EXPECT_THROW(reader.Write(piece, 1), core::Exception);
}
