// The page search: letter case, Czech letters, text split over records,
// ANSI text records of other writers, and the empty search text.
#include "platform/core/CodePage.h"
#include "platform/core/Streams.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/MetafileCanvas.h"
#include "report/pages/RpPageSearch.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

// A page with one text record per text.
gfx::TMetafile Page(const std::vector<std::string>& texts)
{
    gfx::TMetafile page;
    page.SetWidth(400);
    page.SetHeight(300);
    {
        gfx::TMetafileCanvas canvas(&page, 96);
        int y = 10;
        for (const std::string& text : texts) {
            canvas.TextOut(10, y, text);
            y += 20;
        }
    }
    return page;
}

// A page of another writer with one ANSI text record (Central European code page).
gfx::TMetafile AnsiPage(const std::string& text)
{
    using namespace gfx::emf;
    std::string ansi = core::Utf8ToAnsi(text);
    std::string records;
    TRecordWriter w(records);
    w.Begin(EMR_EXTTEXTOUTA);
    w.Rect({0, 0, -1, -1});
    w.U32(GM_COMPATIBLE);
    w.F32(1);
    w.F32(1);
    w.I32(40);
    w.I32(50);
    w.U32(static_cast<std::uint32_t>(ansi.size()));
    w.U32(60);
    w.U32(gfx::ETO_NO_RECT);
    w.U32(0);
    w.Bytes(ansi);
    w.End();
    std::string eof;
    TRecordWriter e(eof);
    e.Begin(EMR_EOF);
    e.U32(0);
    e.U32(16);
    e.U32(20);
    e.End();
    std::uint32_t total = kHeaderSize + static_cast<std::uint32_t>(records.size() + eof.size());
    std::string bytes = gfx::BuildMetafileHeader({0, 0, 99, 99}, {0, 0, 2645, 2645}, {1024, 768}, 96, total, 3, 1) +
                        records + eof;
    core::TMemoryStream stream;
    stream.WriteString(bytes);
    stream.SetPosition(0);
    gfx::TMetafile page;
    page.LoadFromStream(stream);
    return page;
}

} // namespace

TEST(PageSearch, WithoutMatchCaseAnyLetterCaseIsFound)
{
    gfx::TMetafile title = Page({"Total"});
    gfx::TMetafile shouting = Page({"GRAND TOTAL:"});
    gfx::TMetafile plain = Page({"subtotal 12"});
    for (gfx::TMetafile* page : {&title, &shouting, &plain})
        EXPECT_TRUE(MetafileContainsText("total", *page, false));
    EXPECT_FALSE(MetafileContainsText("total", title, true));
    EXPECT_FALSE(MetafileContainsText("total", shouting, true));
    EXPECT_TRUE(MetafileContainsText("total", plain, true));
    EXPECT_FALSE(MetafileContainsText("totals", plain, false));
    // The busy mark stands only while a search runs.
    EXPECT_FALSE(TextSearchBusy);
}

TEST(PageSearch, CzechLettersAreComparedWholeNotByTheirLowBytes)
{
    gfx::TMetafile page = Page({"Příliš žluťoučký kůň", "úpěl ďábelské ódy"});
    EXPECT_TRUE(MetafileContainsText("ŽLUŤOUČKÝ", page, false));
    EXPECT_TRUE(MetafileContainsText("ĎÁBELSKÉ", page, false));
    EXPECT_FALSE(MetafileContainsText("ĎÁBELSKÉ", page, true));
    EXPECT_TRUE(MetafileContainsText("ďábelské", page, true));
    // Ř is U+0158 and ž U+017E: their low bytes are "X" and "~".
    gfx::TMetafile letters = Page({"Řž"});
    EXPECT_FALSE(MetafileContainsText("X", letters, false));
    EXPECT_FALSE(MetafileContainsText("~", letters, true));
    EXPECT_TRUE(MetafileContainsText("řŽ", letters, false));
    EXPECT_FALSE(MetafileContainsText("rŽ", letters, false));
}

TEST(PageSearch, EachRecordIsSearchedOnItsOwn)
{
    gfx::TMetafile split = Page({"Celkem k ", "úhradě"});
    EXPECT_TRUE(MetafileContainsText("k ", split, true));
    EXPECT_TRUE(MetafileContainsText("úhradě", split, true));
    EXPECT_FALSE(MetafileContainsText("k úhradě", split, true));
    EXPECT_FALSE(MetafileContainsText("anything", Page({}), false));
    // An empty search text finds nothing.
    EXPECT_FALSE(MetafileContainsText("", split, false));
}

TEST(PageSearch, AnsiTextRecordsOfOtherWritersAreSearchedInTheirCodePage)
{
    gfx::TMetafile page = AnsiPage("Čeština a šňůry");
    EXPECT_TRUE(MetafileContainsText("ČEŠTINA", page, false));
    EXPECT_TRUE(MetafileContainsText("šňůry", page, true));
    EXPECT_FALSE(MetafileContainsText("ŠŇŮRY", page, true));
}
