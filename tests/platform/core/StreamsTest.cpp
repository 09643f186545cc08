#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace core;

TEST(MemoryStream, WritesReadsSeeksAndZeroFillsGaps)
{
    TMemoryStream s;
    s.WriteString("abc");
    s.Seek(2, TSeekOrigin::soCurrent);
    s.WriteString("z");
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.DataString(), std::string("abc\0\0z", 6));
    s.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 5);
    EXPECT_EQ(s.Read(buf, 8), 0);
    s.SetPosition(0);
    EXPECT_THROW(s.ReadBuffer(buf, 7), EReadError);
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
}

TEST(FileStream, CreateWriteReopenAndErrorsNameTheFile)
{
    testsupport::TestFolder folder("stream");
    const std::filesystem::path& dir = folder.Path();
    const std::string name = (dir / "a.bin").string();
    {
        TFileStream f(name, fmCreate);
        f.WriteString("hello");
    }
    EXPECT_EQ(ReadFileBytes(name), "hello");
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Size(), 5);
    try {
        TFileStream f((dir / "missing.bin").string(), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("missing.bin"), std::string::npos);
    }
}

TEST(FileStream, ReadFileBytesReadsFilesThatReportNoSize)
{
    // Files under /proc have no size until they are read.
    const std::string version = ReadFileBytes("/proc/version");
    EXPECT_EQ(version.rfind("Linux", 0), 0u) << version;
    const std::string big(200000, 'x');
    testsupport::TestFolder folder("stream");
    const std::string name = folder.File("big.bin");
    WriteFileBytes(name, big);
    EXPECT_EQ(ReadFileBytes(name), big);
}

TEST(HandleStream, MovesBytesThroughADescriptorItLeavesOpen)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    {
        THandleStream out(ends[1]);
        EXPECT_EQ(out.Handle(), ends[1]);
        out.WriteString("through the pipe");
    }
    {
        THandleStream in(ends[0]);
        char buffer[7] = {};
        in.ReadBuffer(buffer, 7);
        EXPECT_EQ(std::string(buffer, 7), "through");
    }
    EXPECT_EQ(::write(ends[1], "!", 1), 1) << "the stream did not close the descriptor";
    ::close(ends[1]);
    THandleStream in(ends[0]);
    char rest[32];
    EXPECT_EQ(in.Read(rest, sizeof rest), 10) << "a read stops at the end";
    EXPECT_EQ(std::string(rest, 10), " the pipe!");
    ::close(ends[0]);
}
