// The bytes a recording canvas writes: header fields, record order and sizes,
// objects created, selected and deleted, text records.
#include "GfxTestSupport.h"

#include "platform/core/Unicode.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/MetafilePlayer.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace gfx;
using namespace gfx::emf;
using gfxtest::I32;
using gfxtest::U16;
using gfxtest::U32;

namespace {

TMetafile RedRectanglePage()
{
    TMetafile page;
    page.SetWidth(200);
    page.SetHeight(100);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Brush().SetColor(clRed);
        canvas.Rectangle(10, 20, 50, 60);
    }
    return page;
}

} // namespace

TEST(MetafileRecording, HeaderOfASmallPageHoldsSignatureSizesCountsAndFrame)
{
    TMetafile page = RedRectanglePage();
    std::string bytes = page.Data();

    EXPECT_EQ(U32(bytes, 0), EMR_HEADER);
    EXPECT_EQ(U32(bytes, 4), 108u);
    EXPECT_EQ(bytes.substr(40, 4), " EMF");
    EXPECT_EQ(U32(bytes, 44), 0x00010000u);
    EXPECT_EQ(U32(bytes, 48), bytes.size());
    EXPECT_EQ(U32(bytes, 52), page.Records().size());
    EXPECT_EQ(U16(bytes, 56), 3) << "handle 0 is reserved; the pen and the brush take 1 and 2";
    // Bounds of what was drawn, inclusive, in logical units.
    EXPECT_EQ(I32(bytes, 8), 10);
    EXPECT_EQ(I32(bytes, 12), 20);
    EXPECT_EQ(I32(bytes, 16), 49);
    EXPECT_EQ(I32(bytes, 20), 59);
    // The frame in 0.01 mm: 200 x 100 pixels at 96 per inch.
    EXPECT_EQ(I32(bytes, 24), 0);
    EXPECT_EQ(I32(bytes, 28), 0);
    EXPECT_EQ(I32(bytes, 32), 5292);
    EXPECT_EQ(I32(bytes, 36), 2646);
    // The reference device: pixels, millimetres and micrometres.
    EXPECT_EQ(I32(bytes, 72), 200);
    EXPECT_EQ(I32(bytes, 76), 100);
    EXPECT_EQ(I32(bytes, 80), 53);
    EXPECT_EQ(I32(bytes, 84), 26);
    EXPECT_EQ(U32(bytes, 100), 52917u);
    EXPECT_EQ(U32(bytes, 104), 26458u);

    EXPECT_EQ(page.Width(), 200);
    EXPECT_EQ(page.Height(), 100);
    EXPECT_EQ(page.MMWidth(), 5292);
    EXPECT_EQ(page.MMHeight(), 2646);
}

TEST(MetafileRecording, RecordsComeInOrderWithTheirLayoutSizes)
{
    TMetafile page = RedRectanglePage();
    std::vector<std::uint32_t> expected = {EMR_HEADER, EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_CREATEBRUSHINDIRECT,
                                           EMR_SELECTOBJECT, EMR_SETBKCOLOR, EMR_RECTANGLE, EMR_EOF};
    EXPECT_EQ(gfxtest::RecordTypes(page), expected);

    std::vector<std::uint32_t> sizes;
    for (const TEmfRecord& record : page.Records())
        sizes.push_back(record.Size);
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{108, 28, 12, 24, 12, 12, 24, 20}));

    std::string pen = gfxtest::FirstRecord(page, EMR_CREATEPEN);
    EXPECT_EQ(pen, std::string("\x26\0\0\0\x1C\0\0\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0", 28));
    std::string brush = gfxtest::FirstRecord(page, EMR_CREATEBRUSHINDIRECT);
    EXPECT_EQ(brush, std::string("\x27\0\0\0\x18\0\0\0\x02\0\0\0\0\0\0\0\xFF\0\0\0\0\0\0\0", 24));
    std::string rectangle = gfxtest::FirstRecord(page, EMR_RECTANGLE);
    EXPECT_EQ(rectangle, std::string("\x2B\0\0\0\x18\0\0\0\x0A\0\0\0\x14\0\0\0\x32\0\0\0\x3C\0\0\0", 24));
    std::string eof = gfxtest::FirstRecord(page, EMR_EOF);
    EXPECT_EQ(eof, std::string("\x0E\0\0\0\x14\0\0\0\0\0\0\0\x10\0\0\0\x14\0\0\0", 20));
}

TEST(MetafileRecording, ObjectsAreRealizedOnlyWhenChangedAndOldOnesAreDeleted)
{
    TMetafile page;
    page.SetWidth(100);
    page.SetHeight(100);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.MoveTo(0, 0);
        canvas.LineTo(10, 0);
        canvas.LineTo(10, 10); // same pen, no new objects, no move
        canvas.Pen().SetColor(clBlue);
        canvas.LineTo(0, 10);
        canvas.Pen().SetStyle(TPenStyle::psClear);
        canvas.Rectangle(0, 0, 5, 5);
    }
    std::vector<std::uint32_t> expected = {
        EMR_HEADER,
        EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_LINETO, EMR_LINETO,
        EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_LINETO,
        EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_RECTANGLE,
        EMR_EOF};
    EXPECT_EQ(gfxtest::RecordTypes(page), expected);
    std::string bytes = page.Data();
    const std::vector<TEmfRecord>& records = page.Records();
    // The blue pen takes handle 2 while 1 is still selected, then 1 is deleted.
    EXPECT_EQ(U32(bytes, records[5].Offset + 8), 2u);
    EXPECT_EQ(U32(bytes, records[5].Offset + 24), 0xFF0000u);
    EXPECT_EQ(U32(bytes, records[7].Offset + 8), 1u);
    // A clear pen is the stock null pen, never created; the brush reuses handle 1.
    EXPECT_EQ(U32(bytes, records[9].Offset + 8), NULL_PEN);
    EXPECT_EQ(U32(bytes, records[10].Offset + 8), 2u);
    EXPECT_EQ(U32(bytes, records[11].Offset + 8), 1u);
    EXPECT_EQ(U16(bytes, 56), 3);
}

TEST(MetafileRecording, ObjectsHeldByASavedStateAreDeletedOnlyAfterItIsRestored)
{
    TMetafile page;
    page.SetWidth(50);
    page.SetHeight(50);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.LineTo(1, 1);                  // pen 1
        EXPECT_EQ(canvas.SaveDC(), 1);
        canvas.IntersectClipRect(Rect(0, 0, 20, 20));
        EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 20, 20));
        canvas.Pen().SetColor(clRed);
        canvas.LineTo(2, 2);                  // pen 2; pen 1 stays for the saved state
        EXPECT_TRUE(canvas.RestoreDC(-1));    // pen 1 is back, pen 2 goes
        EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 50, 50));
        canvas.LineTo(3, 3);                  // the red pen again: a new object
        EXPECT_FALSE(canvas.RestoreDC(-1));
    }
    std::vector<std::uint32_t> expected = {
        EMR_HEADER,
        EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_LINETO,
        EMR_SAVEDC, EMR_INTERSECTCLIPRECT,
        EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_LINETO,
        EMR_RESTOREDC, EMR_DELETEOBJECT,
        EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_MOVETOEX, EMR_LINETO,
        EMR_EOF};
    EXPECT_EQ(gfxtest::RecordTypes(page), expected);
    std::string bytes = page.Data();
    const std::vector<TEmfRecord>& records = page.Records();
    EXPECT_EQ(I32(bytes, records[9].Offset + 8), -1) << "restoring counts back from the current state";
    EXPECT_EQ(U32(bytes, records[10].Offset + 8), 2u);
    EXPECT_EQ(U32(bytes, records[13].Offset + 8), 1u);
}

TEST(MetafileRecording, TextBecomesAWideTextRecordWithItsFontAndAdvances)
{
    const std::string text = "Příliš žluťoučký kůň";
    TMetafile page;
    page.SetWidth(400);
    page.SetHeight(100);
    int width = 0;
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(10);
        canvas.Font().SetStyle(fsBold);
        canvas.Font().SetColor(clNavy);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.TextOut(5, 7, text);
        width = canvas.TextWidth(text);
        EXPECT_EQ(canvas.PenPos(), Point(5 + width, 7));
    }
    std::vector<std::uint32_t> expected = {EMR_HEADER, EMR_EXTCREATEFONTINDIRECTW, EMR_SELECTOBJECT, EMR_SETTEXTCOLOR,
                                           EMR_SELECTOBJECT, EMR_SETBKMODE, EMR_EXTTEXTOUTW, EMR_EOF};
    EXPECT_EQ(gfxtest::RecordTypes(page), expected);

    std::string font = gfxtest::FirstRecord(page, EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(font.size(), 104u);
    EXPECT_EQ(I32(font, 12), -13) << "10 points at 96 pixels per inch";
    EXPECT_EQ(I32(font, 28), FW_BOLD);
    std::u16string face;
    for (std::size_t i = 0; i < 32 && U16(font, 40 + 2 * i) != 0; ++i)
        face.push_back(static_cast<char16_t>(U16(font, 40 + 2 * i)));
    EXPECT_EQ(face, u"DejaVu Sans");
    EXPECT_EQ(U32(gfxtest::FirstRecord(page, EMR_SETTEXTCOLOR), 8), 0x800000u);
    EXPECT_EQ(U32(gfxtest::FirstRecord(page, EMR_SETBKMODE), 8), TRANSPARENT);

    std::string record = gfxtest::FirstRecord(page, EMR_EXTTEXTOUTW);
    std::u16string wide = core::Utf8ToUtf16(text);
    ASSERT_EQ(wide.size(), 20u);
    EXPECT_EQ(U32(record, 4), 76u + 40u + 80u);
    EXPECT_EQ(U32(record, 24), 1u) << "compatible graphics mode";
    EXPECT_EQ(I32(record, 36), 5);
    EXPECT_EQ(I32(record, 40), 7);
    EXPECT_EQ(U32(record, 44), 20u);
    EXPECT_EQ(U32(record, 48), 76u);
    EXPECT_EQ(U32(record, 72), 116u);
    for (std::size_t i = 0; i < wide.size(); ++i)
        EXPECT_EQ(U16(record, 76 + 2 * i), static_cast<std::uint16_t>(wide[i]));
    int advances = 0;
    for (std::size_t i = 0; i < wide.size(); ++i)
        advances += I32(record, 116 + 4 * i);
    EXPECT_EQ(advances, width) << "the stored advances add up to the measured width";
    // The record's bounds start at the reference point.
    EXPECT_EQ(I32(record, 8), 5);
    EXPECT_EQ(I32(record, 12), 7);
    EXPECT_EQ(I32(record, 16), 5 + width - 1);
}

TEST(MetafileRecording, GivenAdvancesAreStoredAndSetTheTextsWidthAndAlignment)
{
    // "čas": three UTF-16 units, laid out by the caller 10 pixels apart.
    const std::vector<std::int32_t> advances{10, 10, 10};
    const std::vector<std::int32_t> tooFew{10, 10};
    TMetafile page;
    page.SetWidth(200);
    page.SetHeight(100);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.SetTextAlign(TA_TOP | TA_RIGHT);
        canvas.ExtTextOut(100, 5, 0, nullptr, "čas", &advances);
        // Advances that do not cover the text are ignored: the font's own go in.
        canvas.SetTextAlign(TA_TOP | TA_LEFT);
        canvas.ExtTextOut(0, 40, 0, nullptr, "čas", &tooFew);
    }
    const std::vector<std::string> texts = gfxtest::Records(page, EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 2u);
    const std::string& given = texts[0];
    EXPECT_EQ(U32(given, 44), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(I32(given, static_cast<std::size_t>(U32(given, 72)) + 4 * i), 10);
    // Right aligned at 100: the bounds span the 30 pixels the advances add up to.
    EXPECT_EQ(I32(given, 8), 70);
    EXPECT_EQ(I32(given, 16), 99);
    const std::string& own = texts[1];
    int sum = 0;
    for (std::size_t i = 0; i < 3; ++i)
        sum += I32(own, static_cast<std::size_t>(U32(own, 72)) + 4 * i);
    EXPECT_NE(sum, 20);
    EXPECT_GT(sum, 0);
}

TEST(MetafileRecording, EveryRecordSizeIsAMultipleOfFourAndCountsAddUp)
{
    TMetafile page;
    page.SetWidth(300);
    page.SetHeight(300);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.TextOut(1, 1, "a");   // one character: the string needs padding
        canvas.TextOut(1, 20, "abc");
        canvas.RoundRect(10, 10, 100, 60, 20, 20);
        canvas.Ellipse(Rect(5, 5, 50, 50));
        canvas.TextRect(Rect(0, 100, 40, 120), 0, 100, "oříznuto");
        canvas.FrameRect(Rect(2, 2, 30, 30));
        canvas.ResetClip();
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::green);
        canvas.DrawImage(Rect(200, 200, 206, 204), image);
    }
    std::string bytes = page.Data();
    std::size_t sum = 0;
    for (const TEmfRecord& record : page.Records()) {
        EXPECT_EQ(record.Size % 4, 0u) << "record type " << record.Type;
        EXPECT_EQ(record.Offset, sum);
        EXPECT_EQ(U32(bytes, record.Offset + 4), record.Size);
        sum += record.Size;
    }
    EXPECT_EQ(sum, bytes.size());
    EXPECT_EQ(U32(bytes, 48), bytes.size());
    EXPECT_EQ(U32(bytes, 52), page.Records().size());

    std::string bitmap = gfxtest::FirstRecord(page, EMR_STRETCHDIBITS);
    ASSERT_FALSE(bitmap.empty());
    EXPECT_EQ(U32(bitmap, 48), 80u);   // the bitmap header's offset
    EXPECT_EQ(U32(bitmap, 56), 120u);  // the bits' offset
    EXPECT_EQ(U32(bitmap, 60), 24u);   // two rows of 3 pixels, 9 bytes each padded to 12
    EXPECT_EQ(U16(bitmap, 80 + 14), 24);
    EXPECT_EQ(I32(bitmap, 72), 6);
    EXPECT_EQ(I32(bitmap, 76), 4);
    EXPECT_EQ(static_cast<std::uint8_t>(bitmap[120 + 1]), 0xFF) << "pixels are stored blue, green, red";

    std::string clip = gfxtest::FirstRecord(page, EMR_EXTSELECTCLIPRGN);
    EXPECT_EQ(clip, std::string("\x4B\0\0\0\x10\0\0\0\0\0\0\0\x05\0\0\0", 16));
    std::string clipped = gfxtest::FirstRecord(page, EMR_EXTTEXTOUTW);
    ASSERT_FALSE(clipped.empty());
}

TEST(MetafileRecording, TextEnumerationFindsCzechTextOfEveryTextRecord)
{
    TMetafile page;
    page.SetWidth(600);
    page.SetHeight(200);
    {
        TMetafileCanvas canvas(&page, 96);
        canvas.TextOut(10, 10, "Ověřená konverze č. 12/2024");
        canvas.Rectangle(0, 0, 10, 10);
        canvas.TextOut(10, 40, "Úřad pro ŘÍZENÍ");
    }
    EXPECT_EQ(MetafileTexts(page), (std::vector<std::string>{"Ověřená konverze č. 12/2024", "Úřad pro ŘÍZENÍ"}));

    // The page search walks the records and stops at the first hit.
    int visited = 0;
    bool complete = EnumerateMetafileRecords(page, [&visited](const TEmfRecord& record, const std::uint8_t* data) {
        ++visited;
        std::optional<std::u16string> text = TextRecordString(record, data);
        return !(text && text->find(u"č.") != std::u16string::npos);
    });
    EXPECT_FALSE(complete);
    EXPECT_LT(static_cast<std::size_t>(visited), page.Records().size());
}

TEST(MetafileRecording, DrawingAfterCloseRaisesAndAMetafileIsRequired)
{
    TMetafile page;
    TMetafileCanvas canvas(&page, 96);
    canvas.Rectangle(0, 0, 10, 10);
    canvas.Close();
    EXPECT_FALSE(page.Empty());
    EXPECT_EQ(page.Width(), 10) << "without a size the page is what was drawn";
    EXPECT_THROW(canvas.LineTo(5, 5), EInvalidGraphicOperation);
    EXPECT_NO_THROW(canvas.TextWidth("měří i po zavření"));
    EXPECT_THROW(TMetafileCanvas(nullptr), EInvalidGraphicOperation);
}
