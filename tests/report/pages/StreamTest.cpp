#include "tests/report/TempFolder.h"

#include "platform/core/Exceptions.h"
#include "report/pages/RpStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace report;
using report::test::ScopedTempFolder;

namespace {

std::string ReadAll(core::TStream& stream)
{
    stream.SetPosition(0);
    std::string out(static_cast<std::size_t>(stream.Size()), '\0');
    stream.ReadBuffer(out.data(), static_cast<std::int64_t>(out.size()));
    return out;
}

std::string Pattern(std::size_t n)
{
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>(i * 7 + 3);
    return out;
}

} // namespace

TEST(PageStream, StaysInMemoryUpToItsLimitThenSpills)
{
    ScopedTempFolder temp("spill");
    std::string tempName;
    {
        TRpStream stream(10);
        stream.WriteString("0123456789");
        EXPECT_TRUE(stream.InMemory());
        EXPECT_TRUE(stream.TempFileName().empty());
        EXPECT_EQ(temp.FileCount(), 0u);
        stream.WriteString("A");
        ASSERT_FALSE(stream.InMemory());
        tempName = stream.TempFileName();
        EXPECT_EQ(std::filesystem::path(tempName).parent_path(), temp.Path());
        EXPECT_EQ(std::filesystem::path(tempName).filename().string().rfind("RPF", 0), 0u);
        EXPECT_EQ(core::ReadFileBytes(tempName), "0123456789A");
        EXPECT_EQ(stream.Position(), 11);
        // Later writes, seeks and reads go to the file.
        stream.WriteString("BC");
        stream.SetPosition(1);
        stream.WriteString("x");
        EXPECT_EQ(ReadAll(stream), "0x23456789ABC");
        EXPECT_EQ(stream.Size(), 13);
    }
    EXPECT_FALSE(std::filesystem::exists(tempName));
    EXPECT_EQ(temp.FileCount(), 0u);
}

TEST(PageStream, SavesItsWholeContent)
{
    ScopedTempFolder temp("save");
    for (std::int32_t limit : {1 << 20, 1000}) {
        TRpStream stream(limit);
        const std::string content = Pattern(25000);
        stream.WriteString(content);
        stream.SetPosition(5);
        core::TMemoryStream copy;
        stream.SaveToStream(copy);
        EXPECT_EQ(copy.DataString(), content) << limit;
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

TEST(PageStream, OpensAStoredFileWithoutEverDeletingIt)
{
    ScopedTempFolder temp("open");
    const std::string name = temp.File("stored.rpf");
    core::WriteFileBytes(name, "stored bytes");
    {
        auto stream = TRpStream::CreateFromFile(name);
        EXPECT_FALSE(stream->InMemory());
        EXPECT_EQ(stream->MemoryLimit(), 0);
        EXPECT_TRUE(stream->TempFileName().empty());
        EXPECT_EQ(ReadAll(*stream), "stored bytes");
    }
    EXPECT_EQ(core::ReadFileBytes(name), "stored bytes");
    EXPECT_THROW(TRpStream::CreateFromFile(temp.File("missing.rpf")), core::EFOpenError);
}

TEST(PageStream, SpillFailureRaisesTheFileCreationError)
{
    ScopedTempFolder temp("nofolder");
    ::setenv("TEMP", temp.File("does/not/exist").c_str(), 1);
    TRpStream stream(4);
    stream.WriteString("1234");
    EXPECT_THROW(stream.WriteString("5"), core::EFCreateError);
}

TEST(PageStream, HeaderSizeLooksForTheSignatureOfAnEarlyLayout)
{
    TRpStream stream(1 << 20);
    stream.WriteString(std::string(200, '\0'));
    stream.SetPosition(172);
    stream.WriteString(" EMF");
    stream.SetPosition(17);
    EXPECT_EQ(stream.HeaderSize(), 124);
    EXPECT_EQ(stream.Position(), 17);
    stream.SetPosition(172);
    stream.WriteString("    ");
    stream.SetPosition(176);
    stream.WriteString(" EMF");
    EXPECT_EQ(stream.HeaderSize(), 128);
    TRpStream shortStream(100);
    shortStream.WriteString("abc");
    EXPECT_EQ(shortStream.HeaderSize(), 128);
}

TEST(PageStream, ConvertHeaderMovesTheFieldsOfTheEarlyLayout)
{
    std::uint8_t header[128];
    for (int i = 0; i < 128; ++i)
        header[i] = static_cast<std::uint8_t>(i + 1);
    TRpStream::ConvertHeader(header);
    EXPECT_EQ(header[0], 1);
    EXPECT_EQ(header[3], 4);
    EXPECT_EQ(header[4], 5);
    EXPECT_EQ(header[5], 0);
    EXPECT_EQ(header[8], 9);   // page count
    EXPECT_EQ(header[11], 12);
    EXPECT_EQ(header[12], 0);
    EXPECT_EQ(header[16], 13); // time
    EXPECT_EQ(header[23], 20);
    EXPECT_EQ(header[24], 21);
    EXPECT_EQ(header[25], 22); // compressed
    EXPECT_EQ(header[26], 23);
    EXPECT_EQ(header[126], 123);
    EXPECT_EQ(header[127], 0);
}

TEST(PageStream, ItsLockIsReentrantAndKeepsOtherThreadsOut)
{
    TRpStream stream(1 << 20);
    stream.WriteString("abcdef");
    std::atomic<bool> read{false};
    stream.LockStream();
    stream.SetPosition(0); // the owner of the lock may still use the stream
    std::thread reader([&] {
        char c;
        stream.SetPosition(0);
        stream.Read(&c, 1);
        read = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(read.load());
    stream.UnlockStream();
    reader.join();
    EXPECT_TRUE(read.load());
}
