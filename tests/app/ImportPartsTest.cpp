// The pieces of the import on their own: the data file's reading, its date,
// the dropped files' catcher, the depository's address and the rules by which
// a wait tells its navigation's page.

#include "app/Depository.h"
#include "app/FileCatcher.h"
#include "app/PageWait.h"
#include "app/XmlImport.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace app;

namespace {

TConversionData Read(const std::string& text)
{
    xml::TXmlDocument document(nullptr);
    document.LoadFromText(text);
    return ReadConversionData(document);
}

std::string MissingIn(const std::string& text)
{
    try {
        Read(text);
    } catch (const EMissingElement& missing) {
        return missing.Element();
    }
    return "<nothing missing>";
}

const char* const Record = "<d:evidence_provedenych_konverzi><d:poradove_cislo>7/2024</d:poradove_cislo>"
                           "<d:oznaceni_vstupu>Plná moc</d:oznaceni_vstupu><d:datum_sepsani>1.2.2024</d:datum_sepsani>"
                           "</d:evidence_provedenych_konverzi>";

} // namespace

TEST(ImportReading, ValuesComeUnescapedFromTheRecordAndTheOutput)
{
    const TConversionData data = Read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- z formuláře -->\n"
        "<d:root xmlns:d=\"urn:formular\"><d:hlavicka><d:id>jiné</d:id></d:hlavicka>"
        "<d:evidence_provedenych_konverzi><d:poradove_cislo>12/2024</d:poradove_cislo>"
        "<d:oznaceni_vstupu>Smlouva Novák &amp; Dvořák &lt;kopie&gt;</d:oznaceni_vstupu>"
        "<d:datum_sepsani>03.02.2024</d:datum_sepsani></d:evidence_provedenych_konverzi>"
        "<d:vystup><d:uschovna><d:id>AB12CD</d:id></d:uschovna></d:vystup></d:root>");
    EXPECT_EQ(data.SerialNumber, "12/2024");
    EXPECT_EQ(data.Designation, "Smlouva Novák & Dvořák <kopie>");
    EXPECT_EQ(data.DateText, "03.02.2024");
    // The identifier is the one below the output, not the first "d:id" of the file.
    EXPECT_EQ(data.DepositoryId, "AB12CD");
}

TEST(ImportReading, TheRootIsTheTopLevelElementSpelledExactly)
{
    EXPECT_EQ(Read(std::string("<d:root>") + Record + "</d:root>").SerialNumber, "7/2024");
    EXPECT_EQ(MissingIn(std::string("<D:Root>") + Record + "</D:Root>"), "d:root");
    EXPECT_EQ(MissingIn(std::string("<obal><d:root>") + Record + "</d:root></obal>"), "d:root");
}

TEST(ImportReading, EachMissingElementIsNamed)
{
    EXPECT_EQ(MissingIn("<d:root/>"), "d:evidence_provedenych_konverzi");
    EXPECT_EQ(MissingIn("<d:root><d:evidence_provedenych_konverzi><d:poradove_cislo>1</d:poradove_cislo>"
                        "<d:datum_sepsani>1.1.2024</d:datum_sepsani></d:evidence_provedenych_konverzi></d:root>"),
              "d:oznaceni_vstupu");
    EXPECT_EQ(MissingIn("<d:root><d:evidence_provedenych_konverzi><d:poradove_cislo>1</d:poradove_cislo>"
                        "<d:oznaceni_vstupu>x</d:oznaceni_vstupu></d:evidence_provedenych_konverzi></d:root>"),
              "d:datum_sepsani");
    EXPECT_EQ(MissingIn("<d:root><d:evidence_provedenych_konverzi><d:oznaceni_vstupu>x</d:oznaceni_vstupu>"
                        "<d:datum_sepsani>1.1.2024</d:datum_sepsani></d:evidence_provedenych_konverzi></d:root>"),
              "d:poradove_cislo");
    EXPECT_EQ(MissingIn(std::string("<d:root>") + Record + "<d:vystup><d:id>1</d:id></d:vystup></d:root>"),
              "d:uschovna");
    EXPECT_EQ(MissingIn(std::string("<d:root>") + Record + "<d:vystup><d:uschovna/></d:vystup></d:root>"), "d:id");
    // Without an output there is no identifier, and nothing is missing.
    EXPECT_EQ(Read(std::string("<d:root>") + Record + "</d:root>").DepositoryId, "");
    EXPECT_EQ(MissingElementMessage("/tmp/data/konverze 7.xml", "d:datum_sepsani"),
              "V souboru \"konverze 7.xml\" chybí prvek \"d:datum_sepsani\". Do evidence nebylo nic zapsáno.");
}

TEST(ImportReading, DatesAreDayMonthAndYearSeparatedByPoints)
{
    EXPECT_DOUBLE_EQ(ImportDate("3.2.2024", "D"), core::EncodeDate(2024, 2, 3));
    EXPECT_DOUBLE_EQ(ImportDate("03.02.2024", "D"), core::EncodeDate(2024, 2, 3));
    EXPECT_DOUBLE_EQ(ImportDate(" 29.2.2024 ", "D"), core::EncodeDate(2024, 2, 29));
    for (const char* bad : {"30.2.2024", "2024-02-03", "3/2/2024", "", "třetího února"}) {
        try {
            ImportDate(bad, "Datum sepsání vstupu");
            ADD_FAILURE() << bad;
        } catch (const core::EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "Text „" + std::string(bad) + "“ v poli „Datum sepsání vstupu“ není platné datum.");
        }
    }
}

TEST(FileCatcher, AnswersTheNamesAndGivesTheHandleBack)
{
    ui::HDROP drop = ui::NewDropHandle({"/tmp/první.xml", "/home/uživatel/Dokumenty/druhý soubor.xml"});
    {
        TFileCatcher catcher(drop);
        EXPECT_EQ(catcher.GetFileCount(), 2);
        EXPECT_EQ(catcher.GetFile(0), "/tmp/první.xml");
        EXPECT_EQ(catcher.GetFile(1), "/home/uživatel/Dokumenty/druhý soubor.xml");
        EXPECT_EQ(catcher.GetFile(2), "");
        EXPECT_TRUE(ui::DropHandleLive(drop));
    }
    EXPECT_FALSE(ui::DropHandleLive(drop));
}

TEST(Depository, TheBuildsHostUnlessAnOriginStandsInForIt)
{
    unsetenv("KONVERZE_DEPOSITORY_ORIGIN");
    SetDepositoryOrigin("");
    const std::string page = DepositoryPageUrl();
    EXPECT_EQ(page.rfind("https://", 0), 0u) << page;
    EXPECT_EQ(page.substr(page.size() - std::string(DepositoryPagePath).size()), DepositoryPagePath);
    EXPECT_EQ(std::string(DepositoryPagePath), "/uschovna/index.php?page=stahnout_soubor");

    setenv("KONVERZE_DEPOSITORY_ORIGIN", "http://127.0.0.1:8080/", 1);
    EXPECT_EQ(DepositoryPageUrl(), "http://127.0.0.1:8080/uschovna/index.php?page=stahnout_soubor");
    SetDepositoryOrigin("http://localhost:9000");
    EXPECT_EQ(DepositoryPageUrl(), "http://localhost:9000/uschovna/index.php?page=stahnout_soubor");
    SetDepositoryOrigin("");
    unsetenv("KONVERZE_DEPOSITORY_ORIGIN");
    EXPECT_EQ(DepositoryPageUrl(), page);
}

TEST(NavigationWatch, TakesOnlyTheCompletionOfItsOwnNavigation)
{
    TNavigationWatch watch;
    int ends = 0;
    watch.OnEnd = [&] { ++ends; };
    // The end of the load before, heard before this navigation began.
    watch.DocumentComplete(4);
    EXPECT_FALSE(watch.Ended());
    // A frame's navigation and a cancelled one are not this navigation.
    watch.NavigationStarted(false, false);
    watch.NavigationStarted(true, true);
    watch.DocumentComplete(4);
    EXPECT_FALSE(watch.Ended());
    watch.NavigationStarted(true, false);
    // A completion while the engine still loads (a frame, an earlier word) is not the page's.
    watch.DocumentComplete(1);
    watch.DocumentComplete(3);
    EXPECT_FALSE(watch.Ended());
    watch.DocumentComplete(4);
    EXPECT_TRUE(watch.Ended());
    EXPECT_EQ(watch.Result(), TPageWaitResult::Complete);
    // Later words change nothing.
    watch.TimeOut();
    watch.Close();
    EXPECT_EQ(watch.Result(), TPageWaitResult::Complete);
    EXPECT_EQ(ends, 1);
}

TEST(NavigationWatch, ErrorsTimeAndClosingEndItOtherwise)
{
    TNavigationWatch failing;
    failing.NavigationFailed(true); // before the navigation: not its error
    failing.NavigationStarted(true, false);
    failing.DocumentComplete(4);
    EXPECT_EQ(failing.Result(), TPageWaitResult::Complete);

    TNavigationWatch failed;
    failed.NavigationStarted(true, false);
    failed.NavigationFailed(false);
    failed.NavigationFailed(true);
    failed.DocumentComplete(4);
    EXPECT_EQ(failed.Result(), TPageWaitResult::Failed);

    TNavigationWatch late;
    late.NavigationStarted(true, false);
    late.TimeOut();
    EXPECT_EQ(late.Result(), TPageWaitResult::TimedOut);

    TNavigationWatch closed;
    closed.Close();
    EXPECT_EQ(closed.Result(), TPageWaitResult::Closed);

    // A watch whose loop was left from outside never ended: the program is closing.
    TNavigationWatch left;
    left.NavigationStarted(true, false);
    EXPECT_FALSE(left.Ended());
    EXPECT_EQ(left.Result(), TPageWaitResult::Closed);
}
