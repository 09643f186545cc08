#include "tests/report/TempFolder.h"

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "report/pages/RpCompress.h"
#include "report/pages/RpPageList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>

using namespace report;
using report::test::ScopedTempFolder;

namespace {

// Bytes shaped like a recorded page: the metafile signature " EMF" 40 bytes
// in, followed by the version 0x10000.
std::string FakeMetafile(int page, std::size_t size = 300)
{
    size = std::max<std::size_t>(size, 88);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 13 + static_cast<std::size_t>(page) * 7) % 251);
    std::memcpy(bytes.data() + 40, " EMF\0\0\1\0", 8);
    bytes += "page " + std::to_string(page);
    return bytes;
}

std::int32_t Int32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

std::string Int32Bytes(std::int32_t value)
{
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[static_cast<std::size_t>(i)] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    return out;
}

double DoubleAt(const std::string& bytes, std::size_t at)
{
    double v;
    std::memcpy(&v, bytes.data() + at, 8);
    return v;
}

std::string Contents(TRpStream& stream)
{
    core::TMemoryStream copy;
    stream.SaveToStream(copy);
    return copy.DataString();
}

// A run: the printer's stream handed to a page list.
struct ReportRun {
    explicit ReportRun(bool compressed, std::int32_t memoryLimit = 250000) : stream(memoryLimit)
    {
        list.SetStream(&stream);
        list.SetCompression(compressed);
    }
    TRpStream stream;
    TRpPageList list;
};

} // namespace

TEST(PageList, OneUncompressedPageLaysOutHeaderAndRecord)
{
    ReportRun run(false);
    const double before = core::Now();
    const std::string page = FakeMetafile(1);
    run.list.AddPage(page);
    run.list.Finish();
    const std::string file = Contents(run.stream);
    ASSERT_EQ(file.size(), 128 + 8 + page.size() + 4);
    EXPECT_EQ(file[0], 3);
    EXPECT_EQ(file[1], 0);
    EXPECT_EQ(file[2], 40);
    EXPECT_EQ(file[3], 0);
    EXPECT_EQ(Int32At(file, 4), 0);
    EXPECT_EQ(Int32At(file, 8), 1);
    EXPECT_EQ(Int32At(file, 12), 0);
    EXPECT_GE(DoubleAt(file, 16), before - 1e-6);
    EXPECT_LE(DoubleAt(file, 16), core::Now() + 1e-6);
    EXPECT_EQ(file[24], 0);
    EXPECT_EQ(file[25], 0);
    EXPECT_EQ(file.substr(26, 102), std::string(102, '\0'));
    EXPECT_EQ(Int32At(file, 128), 1);
    EXPECT_EQ(Int32At(file, 132), static_cast<std::int32_t>(file.size()));
    EXPECT_EQ(file.substr(136, page.size()), page);
    EXPECT_EQ(Int32At(file, file.size() - 4), 128);
}

TEST(PageList, HeaderCountsOneUntilFinished)
{
    ReportRun run(false);
    for (int p = 1; p <= 3; ++p)
        run.list.AddPage(FakeMetafile(p));
    EXPECT_EQ(run.list.PageCount(), 3);
    EXPECT_EQ(Int32At(Contents(run.stream), 8), 1);
    run.list.Finish();
    EXPECT_EQ(Int32At(Contents(run.stream), 8), 3);
}

TEST(PageList, CompressedPagesStoreTheirLengthAndReadBackIdentical)
{
    ReportRun run(true);
    const std::string page = FakeMetafile(1, 5000);
    run.list.AddPage(page);
    run.list.AddPage(FakeMetafile(2, 10));
    run.list.Finish();
    const std::string file = Contents(run.stream);
    EXPECT_EQ(file[25], 1);
    EXPECT_EQ(Int32At(file, 136), static_cast<std::int32_t>(page.size()));
    const std::int32_t next = Int32At(file, 132);
    EXPECT_EQ(file.substr(140, static_cast<std::size_t>(next) - 4 - 140), CompressBuffer(page));
    EXPECT_EQ(run.list.GetPage(1), page);
    EXPECT_EQ(run.list.GetPage(2), FakeMetafile(2, 10));
    EXPECT_EQ(run.list.GetPage(3), std::nullopt);
    EXPECT_EQ(run.list.GetPage(0), std::nullopt);
}

TEST(PageList, PagesByNumberInAnyOrder)
{
    for (bool compressed : {false, true}) {
        ReportRun run(compressed);
        for (int p = 1; p <= 5; ++p)
            run.list.AddPage(FakeMetafile(p, 100 + static_cast<std::size_t>(p) * 50));
        for (int p : {3, 1, 5, 2, 2, 4, 1, 5, 5, 3}) {
            EXPECT_EQ(run.list.GetPage(p), FakeMetafile(p, 100 + static_cast<std::size_t>(p) * 50))
                << "page " << p << (compressed ? " compressed" : "");
        }
        // Adding after reading still appends at the end.
        run.list.AddPage(FakeMetafile(6));
        EXPECT_EQ(run.list.GetPage(6), FakeMetafile(6));
        EXPECT_EQ(run.list.GetPage(2), FakeMetafile(2, 200));
    }
}

TEST(PageList, StoredFilesLoadBack)
{
    ScopedTempFolder temp("stored");
    for (bool compressed : {false, true}) {
        const std::string name = temp.File(compressed ? "c.rpf" : "u.rpf");
        {
            ReportRun run(compressed);
            for (int p = 1; p <= 5; ++p)
                run.list.AddPage(FakeMetafile(p));
            run.list.Finish();
            run.list.SaveToFile(name);
            EXPECT_EQ(core::ReadFileBytes(name), Contents(run.stream));
        }
        TRpPageList loaded;
        loaded.LoadFromFile(name);
        EXPECT_EQ(loaded.PageCount(), 5);
        EXPECT_EQ(loaded.Compression(), compressed);
        for (int p : {3, 1, 5, 2, 4})
            EXPECT_EQ(loaded.GetPage(p), FakeMetafile(p)) << p;
        // Loading again replaces the list's stream.
        loaded.LoadFromFile(name);
        EXPECT_EQ(loaded.GetPage(4), FakeMetafile(4));
    }
}

TEST(PageList, ReadsTheEarlyHeaderLayout)
{
    ScopedTempFolder temp("early");
    std::string file(124, '\0');
    file[0] = 3;
    file[2] = 40;
    file.replace(8, 4, Int32Bytes(3));
    file[21] = 0; // not compressed
    for (int p = 1; p <= 3; ++p) {
        const std::string page = FakeMetafile(p);
        const auto start = static_cast<std::int32_t>(file.size());
        file += Int32Bytes(p);
        file += Int32Bytes(start + 8 + static_cast<std::int32_t>(page.size()) + 4);
        file += page;
        file += Int32Bytes(start);
    }
    const std::string name = temp.File("early.rpf");
    core::WriteFileBytes(name, file);
    TRpPageList list;
    list.LoadFromFile(name);
    EXPECT_EQ(list.Stream()->HeaderSize(), 124);
    EXPECT_EQ(list.PageCount(), 3);
    EXPECT_FALSE(list.Compression());
    for (int p : {2, 1, 3})
        EXPECT_EQ(list.GetPage(p), FakeMetafile(p)) << p;
}

TEST(PageList, TheRecordsHeldCountAsPagesWhateverTheHeaderSays)
{
    ScopedTempFolder temp("counts");
    std::string twoPages;
    {
        ReportRun run(false);
        run.list.AddPage(FakeMetafile(1));
        run.list.AddPage(FakeMetafile(2));
        run.list.Finish();
        twoPages = Contents(run.stream);
    }
    const std::string headerOnly = twoPages.substr(0, 128);
    const struct {
        const std::string& File;
        std::int32_t Header;
        std::int32_t Pages;
    } cases[] = {
        {twoPages, 2, 2},          {twoPages, 0, 2},         {twoPages, -2, 2}, {twoPages, INT32_MIN, 2},
        {twoPages, 5, 2},          {twoPages, INT32_MAX, 2}, {headerOnly, 3, 0}, {headerOnly, INT32_MIN, 0},
    };
    const std::string name = temp.File("counted.rpf");
    for (const auto& c : cases) {
        std::string file = c.File;
        file.replace(8, 4, Int32Bytes(c.Header));
        core::WriteFileBytes(name, file);
        TRpPageList list;
        list.LoadFromFile(name);
        EXPECT_EQ(list.PageCount(), c.Pages) << c.Header;
        for (int p = c.Pages; p >= 1; --p)
            EXPECT_TRUE(list.GetPage(p) == FakeMetafile(p)) << c.Header << ", page " << p;
        EXPECT_EQ(list.GetPage(c.Pages + 1), std::nullopt) << c.Header;
    }
}

TEST(PageList, DamagedFilesFailWithReadErrors)
{
    ScopedTempFolder temp("damaged");
    std::string good;
    {
        ReportRun run(false);
        for (int p = 1; p <= 3; ++p)
            run.list.AddPage(FakeMetafile(p));
        run.list.Finish();
        good = Contents(run.stream);
    }
    const std::string name = temp.File("bad.rpf");

    core::WriteFileBytes(name, good.substr(0, good.size() - 100));
    TRpPageList truncated;
    EXPECT_THROW(truncated.LoadFromFile(name), core::EStreamError);

    // The second record's link points back at itself: no endless walk.
    std::string loop = good;
    const auto second = static_cast<std::size_t>(Int32At(good, 132));
    loop.replace(second + 4, 4, Int32Bytes(static_cast<std::int32_t>(second)));
    core::WriteFileBytes(name, loop);
    TRpPageList looping;
    EXPECT_THROW(looping.LoadFromFile(name), core::EStreamError);

    // A record numbered out of turn, and bytes after the last record.
    std::string misnumbered = good;
    misnumbered.replace(static_cast<std::size_t>(Int32At(good, 132)), 4, Int32Bytes(7));
    for (const std::string& bad : {misnumbered, good + "zbytek"}) {
        core::WriteFileBytes(name, bad);
        TRpPageList broken;
        EXPECT_THROW(broken.LoadFromFile(name), core::EStreamError);
    }

    // A compressed length far beyond its record.
    ReportRun run(true);
    run.list.AddPage(FakeMetafile(1));
    run.list.Finish();
    std::string wild = Contents(run.stream);
    wild.replace(136, 4, Int32Bytes(0x7FFFFFF0));
    core::WriteFileBytes(name, wild);
    TRpPageList huge;
    EXPECT_THROW(huge.LoadFromFile(name), core::EStreamError);

    core::WriteFileBytes(name, "not a report");
    TRpPageList garbage;
    EXPECT_THROW(garbage.LoadFromFile(name), core::EStreamError);
}

TEST(PageList, PagesSpillToATemporaryFileAndStayReadable)
{
    ScopedTempFolder temp("spillpages");
    {
        ReportRun run(false, 2000);
        for (int p = 1; p <= 20; ++p)
            run.list.AddPage(FakeMetafile(p));
        run.list.Finish();
        EXPECT_FALSE(run.stream.InMemory());
        EXPECT_EQ(temp.FileCount(), 1u);
        for (int p : {20, 1, 10, 11, 9})
            EXPECT_EQ(run.list.GetPage(p), FakeMetafile(p)) << p;
    }
    EXPECT_EQ(temp.FileCount(), 0u);
}

TEST(PageList, PreviewReadsWhileGenerationAppends)
{
    ReportRun run(true, 1 << 16);
    constexpr int kPages = 200;
    std::atomic<int> added{0};
    std::thread generator([&] {
        for (int p = 1; p <= kPages; ++p) {
            run.list.AddPage(FakeMetafile(p, 500));
            added = p;
        }
    });
    int checked = 0;
    while (checked < kPages) {
        const int available = added.load();
        for (int p = checked + 1; p <= available; ++p) {
            ASSERT_EQ(run.list.GetPage(p), FakeMetafile(p, 500)) << p;
            if (p > 1) {
                ASSERT_EQ(run.list.GetPage(p / 2), FakeMetafile(p / 2, 500)) << p / 2;
            }
        }
        checked = std::max(checked, available);
    }
    generator.join();
    run.list.Finish();
    EXPECT_EQ(run.list.PageCount(), kPages);
}

TEST(PageList, ClearForgetsThePagesAndAStreamIsNeeded)
{
    ReportRun run(false);
    run.list.AddPage(FakeMetafile(1));
    run.list.Clear();
    EXPECT_EQ(run.list.PageCount(), 0);
    EXPECT_EQ(run.list.GetPage(1), std::nullopt);
    TRpPageList bare;
    EXPECT_THROW(bare.AddPage("x"), core::EStreamError);
}

TEST(Outline, FindsTheFirstEntryWithTheKey)
{
    TRpOutline outline;
    auto add = [&](std::int32_t key, std::int32_t page, std::int32_t left) {
        auto entry = std::make_unique<TRpOutlineEntry>();
        entry->NodeKey = key;
        entry->PageNumber = page;
        entry->Area = {left, 2, 3, 4};
        outline.Entries.push_back(std::move(entry));
    };
    add(7, 3, 10);
    add(7, 9, 20);
    TRpOutlineArea area;
    std::int32_t page = -1;
    outline.FindEntry(7, area, page);
    EXPECT_EQ(page, 3);
    EXPECT_EQ(area, (TRpOutlineArea{10, 2, 3, 4}));
    outline.FindEntry(8, area, page);
    EXPECT_EQ(page, 0);
    EXPECT_EQ(area, TRpOutlineArea{});
}
