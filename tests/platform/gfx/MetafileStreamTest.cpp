// Saving and loading recorded pages: exact bytes back, the stream left after
// the page, damaged data refused.
#include "GfxTestSupport.h"

#include "platform/core/Streams.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/MetafilePlayer.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace gfx;

namespace {

TMetafile SamplePage()
{
    TMetafile page;
    page.SetWidth(794);
    page.SetHeight(1123);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Font().SetName("DejaVu Sans");
        canvas.TextOut(40, 40, "Záznam o provedené konverzi");
        canvas.Pen().SetWidth(2);
        canvas.Rectangle(30, 30, 760, 90);
    }
    return page;
}

std::string Save(const TMetafile& page)
{
    core::TMemoryStream stream;
    page.SaveToStream(stream);
    return stream.DataString();
}

void LoadBytes(TMetafile& page, const std::string& bytes)
{
    core::TMemoryStream stream;
    stream.WriteString(bytes);
    stream.SetPosition(0);
    page.LoadFromStream(stream);
}

} // namespace

TEST(MetafileStream, SaveLoadSaveGivesTheSameBytesAndSize)
{
    TMetafile page = SamplePage();
    std::string first = Save(page);
    EXPECT_EQ(first, page.Data());

    TMetafile loaded;
    LoadBytes(loaded, first);
    EXPECT_EQ(Save(loaded), first);
    EXPECT_EQ(loaded.Width(), 794) << "an A4 page at 96 pixels per inch";
    EXPECT_EQ(loaded.Height(), 1123);
    EXPECT_EQ(loaded.MMWidth(), page.MMWidth());
    EXPECT_EQ(loaded.MMHeight(), page.MMHeight());
    EXPECT_EQ(loaded.Records().size(), page.Records().size());
    EXPECT_EQ(MetafileTexts(loaded), std::vector<std::string>{"Záznam o provedené konverzi"});
}

TEST(MetafileStream, LoadingReadsOnePageAndLeavesTheStreamAfterIt)
{
    std::string one = Save(SamplePage());
    core::TMemoryStream stream;
    stream.WriteString("HEAD");
    stream.WriteString(one);
    stream.WriteString(one);
    stream.WriteString("TAIL");
    stream.SetPosition(4);

    TMetafile a;
    a.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), 4 + static_cast<std::int64_t>(one.size()));
    TMetafile b;
    b.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), 4 + 2 * static_cast<std::int64_t>(one.size()));
    EXPECT_EQ(b.Data(), one);
}

TEST(MetafileStream, AnUnrecordedPictureSavesAsAValidEmptyPage)
{
    TMetafile page;
    page.SetWidth(100);
    page.SetHeight(50);
    std::string bytes = Save(page);
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
    TMetafile loaded;
    LoadBytes(loaded, bytes);
    EXPECT_EQ(loaded.Width(), 100);
    EXPECT_EQ(loaded.Height(), 50);
    EXPECT_EQ(gfxtest::RecordTypes(loaded), (std::vector<std::uint32_t>{emf::EMR_HEADER, emf::EMR_EOF}));
}

TEST(MetafileStream, ANewSizeMovesTheFrameOfARecordedPage)
{
    TMetafile page = SamplePage();
    page.SetWidth(397);
    TMetafile loaded;
    LoadBytes(loaded, Save(page));
    EXPECT_EQ(loaded.Width(), 397);
    EXPECT_EQ(loaded.Height(), 1123);
}

TEST(MetafileStream, DamagedDataIsRefusedAndThePictureKept)
{
    std::string good = Save(SamplePage());
    TMetafile page = SamplePage();
    auto expectRefused = [&page, &good](std::string bytes, const char* what) {
        EXPECT_THROW(LoadBytes(page, bytes), EInvalidGraphic) << what;
        EXPECT_EQ(page.Data(), good) << what;
    };

    expectRefused("", "nothing at all");
    expectRefused("not a metafile at all, just some text bytes here......................................", "text");
    std::string noSignature = good;
    noSignature[41] = 'X';
    expectRefused(noSignature, "signature");
    expectRefused(good.substr(0, good.size() - 8), "cut off");
    std::string wrongCount = good;
    wrongCount[52] = static_cast<char>(wrongCount[52] + 1);
    expectRefused(wrongCount, "record count");
    std::string oddRecord = good;
    const TEmfRecord& second = page.Records()[1];
    oddRecord[second.Offset + 4] = static_cast<char>(oddRecord[second.Offset + 4] + 2);
    expectRefused(oddRecord, "record size not a multiple of 4");
    std::string huge = good;
    huge[51] = 0x7F;
    expectRefused(huge, "a size far beyond the data");
}

TEST(MetafileStream, DamagedRecordContentNeverCrashesThePlayerOrTheSearch)
{
    std::string good = Save(SamplePage());
    QImage image = gfxtest::WhiteImage(100, 140);
    // Change every byte after the header in turn (record sizes excepted, which
    // the loader checks): whatever loads must play and enumerate safely.
    for (std::size_t i = emf::kHeaderSize; i < good.size(); i += 3) {
        std::string bytes = good;
        bytes[i] = static_cast<char>(bytes[i] ^ 0xA5);
        TMetafile page;
        try {
            LoadBytes(page, bytes);
        } catch (const EInvalidGraphic&) {
            continue;
        }
        QPainter painter(&image);
        PlayEnhMetafile(painter, page, QRectF(0, 0, 100, 140));
        MetafileTexts(page);
    }
    SUCCEED();
}

TEST(MetafileStream, OnlyEnhancedMetafilesAreWritten)
{
    TMetafile page;
    EXPECT_TRUE(page.Enhanced());
    EXPECT_NO_THROW(page.SetEnhanced(true));
    EXPECT_THROW(page.SetEnhanced(false), EInvalidGraphicOperation);
}
