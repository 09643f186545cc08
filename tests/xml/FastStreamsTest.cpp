#include "xml/FastStreams.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace xml;

namespace {

// Records each write it receives; refuses everything after `limit` bytes.
class Target : public core::TMemoryStream {
public:
    std::vector<std::int64_t> writes;
    std::int64_t limit = 1 << 30;
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        writes.push_back(count);
        if (Size() + count > limit)
            return 0;
        return TMemoryStream::Write(buffer, count);
    }
};

} // namespace

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
