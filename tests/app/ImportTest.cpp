// The import road end to end: data files dropped on the register grid or
// picked in the open dialog, the row in the register, and the depository's
// download page, served by a local server, with its form filled.

#include "RegisterFixture.h"

#include "app/Depository.h"
#include "app/ViewerForm.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/DropFiles.h"
#include "tests/platform/web/WebTestSupport.h"
#include "tests/support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <fstream>
#include <string>

using namespace apptest;
using testsupport::THttpResponse;
using testsupport::WaitUntil;

namespace {

const char* const PagePath = "/uschovna/index.php";

const char* const DepositoryPage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Úschovna – stažení souboru</title></head><body>
<form method="post" action="index.php?page=stahnout_soubor">
  <label>Číslo konverze <input type="text" name="konverze"></label>
  <label>Průvodka <select name="pruvodka"><option value="">–</option><option value="X9">X9</option>
    <option value="AB12CD">AB12CD</option></select></label>
  <input type="submit" value="Stáhnout">
</form>
<form name="hledani"><input name="konverze"></form>
</body></html>)";

struct DataFile {
    std::string serial = "12/2024";
    std::string designation = "Kupní smlouva Novák &amp; Dvořák";
    std::string date = "3.2.2024";
    std::string id = "AB12CD";
    bool output = true;

    std::string Text() const
    {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<d:root xmlns:d=\"urn:formular:konverze\">\n"
                           "  <d:evidence_provedenych_konverzi>\n"
                           "    <d:poradove_cislo>" + serial + "</d:poradove_cislo>\n"
                           "    <d:oznaceni_vstupu>" + designation + "</d:oznaceni_vstupu>\n"
                           "    <d:datum_sepsani>" + date + "</d:datum_sepsani>\n"
                           "  </d:evidence_provedenych_konverzi>\n";
        if (output)
            text += "  <d:vystup><d:uschovna><d:id>" + id + "</d:id></d:uschovna></d:vystup>\n";
        return text + "</d:root>\n";
    }
};

class Import : public RegisterFixture {
protected:
    void SetUp() override
    {
        RegisterFixture::SetUp();
        if (HasFatalFailure())
            return;
        AddUser("JUDr. Jana Nováková", "Petr Novák");
        server_.ServeHtml(PagePath, DepositoryPage);
        app::SetDepositoryOrigin(server_.Url(""));
        app::Prohlizec_Form->SetPageTimeoutMs(20000);
    }
    void TearDown() override
    {
        app::SetDepositoryOrigin("");
        RegisterFixture::TearDown();
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string file = folder_ + name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    // Imports the file as the button does, failures going to the default handler.
    void Run(const std::string& file = {})
    {
        app::XmlFileName = file;
        try {
            Form()->Button10Click(Form()->Button10);
        } catch (...) {
            ui::Application->HandleException(Form());
        }
    }
    // The depository page's first form, as the viewer shows it.
    std::string Field(const std::string& name)
    {
        auto document = Viewer()->HostedBrowser1->Document();
        return document->Forms().Item(0).Item(name).Value();
    }
    int PageRequests() const
    {
        int count = 0;
        for (const auto& request : server_.Requests())
            count += request.Path == std::string(PagePath) + "?page=stahnout_soubor";
        return count;
    }
    void AnswerDoneAndYes()
    {
        dialogs_.AnswerButton(ui::IDOK);
        dialogs_.AnswerButton(ui::IDYES);
    }
    static app::TProhlizec_Form* Viewer() { return app::Prohlizec_Form; }
    // The program ends while the import waits for its page: the import ends
    // quietly with its row saved.
    bool ImportWhileTheProgramEnds();
    // The same in a child process, which ends without the fixture's and the run's
    // tidying up: it removes its own data and configuration folders before it goes.
    int ImportWhileTheProgramEndsInAChild();

    testsupport::LocalHttpServer server_;
};

const char* const Done = "Proces načítání dat byl dokončen.";
const char* const Ask = "Přejete si načíst úschovnu?";

bool Import::ImportWhileTheProgramEnds()
{
    server_.Serve(PagePath, THttpResponse{200, "text/html; charset=utf-8", DepositoryPage, {}, 4000});
    AnswerDoneAndYes();
    QTimer::singleShot(200, [] { QCoreApplication::exit(0); });
    Run(Write("a.xml", DataFile().Text()));
    const bool quiet = Messages() == std::vector<std::string>{Done, Ask};
    const bool saved = Stored("12/2024", "poradove_cislo") == "12/2024";
    return quiet && saved && !Viewer()->WaitingForPage();
}

int Import::ImportWhileTheProgramEndsInAChild()
{
    const bool ended = ImportWhileTheProgramEnds();
    RemoveFolder(folder_);
    if (const char* config = std::getenv("XDG_CONFIG_HOME"))
        RemoveFolder(config);
    return ended ? 0 : 1;
}

} // namespace

TEST_F(Import, OneRowWithTheRulesAppliedAndTheDepositoryPageFilled)
{
    const double before = core::Now();
    AnswerDoneAndYes();
    Run(Write("konverze.xml", DataFile().Text()));

    ASSERT_EQ(dialogs_.Questions().size(), 2u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, Done);
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Dokončeno. ");
    EXPECT_EQ(dialogs_.Questions()[0].Flags, ui::MB_OK | ui::MB_ICONINFORMATION);
    EXPECT_EQ(dialogs_.Questions()[1].Text, Ask);
    EXPECT_EQ(dialogs_.Questions()[1].Caption, "Získání souboru z úschovny");
    EXPECT_EQ(dialogs_.Questions()[1].Flags, ui::MB_YESNO | ui::MB_ICONINFORMATION);

    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Register()->RecordCount(), 1);
    EXPECT_EQ(Stored("12/2024", "oznaceni_vstupu"), "Kupní smlouva Novák & Dvořák");
    EXPECT_DOUBLE_EQ(std::stod(Stored("12/2024", "datum_sepsani_vstupu")), core::EncodeDate(2024, 2, 3));
    const double converted = std::stod(Stored("12/2024", "datum_konverze"));
    EXPECT_GE(converted, before - 1e-6);
    EXPECT_LE(converted, core::Now() + 1e-6);
    EXPECT_EQ(Stored("12/2024", "vystavujici_osoba"), "Petr Novák");
    EXPECT_EQ(Stored("12/2024", "overujici_osoba"), "JUDr. Jana Nováková");
    EXPECT_EQ(app::XmlFileName, "");

    EXPECT_TRUE(Viewer()->Visible());
    EXPECT_FALSE(Viewer()->WaitingForPage());
    EXPECT_EQ(PageRequests(), 1);
    EXPECT_EQ(Viewer()->HostedBrowser1->LocationURL(), app::DepositoryPageUrl());
    EXPECT_EQ(Field("konverze"), "12/2024");
    EXPECT_EQ(Field("pruvodka"), "AB12CD");
    // Only the first form is filled.
    auto document = Viewer()->HostedBrowser1->Document();
    EXPECT_EQ(document->Forms().Item(1).Item("konverze").Value(), "");
}

TEST_F(Import, NoAnswerYesNoPageAndWithoutOutputNoQuestion)
{
    dialogs_.AnswerButton(ui::IDOK);
    dialogs_.AnswerButton(ui::IDNO);
    Run(Write("a.xml", DataFile().Text()));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done, Ask}));
    EXPECT_EQ(Register()->RecordCount(), 1);

    dialogs_.Clear();
    DataFile withoutOutput;
    withoutOutput.serial = "13/2024";
    withoutOutput.output = false;
    Run(Write("b.xml", withoutOutput.Text()));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done}));
    EXPECT_EQ(Register()->RecordCount(), 2);
    EXPECT_EQ(Stored("13/2024", "oznaceni_vstupu"), "Kupní smlouva Novák & Dvořák");
    EXPECT_FALSE(Viewer()->Visible());
    EXPECT_EQ(PageRequests(), 0);
}

TEST_F(Import, ElementNamesInOtherLetterCaseAreFoundButNotARootSpelledOtherwise)
{
    Run(Write("velka.xml", "<d:root><D:EVIDENCE_PROVEDENYCH_KONVERZI><D:Poradove_Cislo>14/2024</D:Poradove_Cislo>"
                           "<D:Oznaceni_Vstupu>Žádost</D:Oznaceni_Vstupu><D:Datum_Sepsani>1.3.2024</D:Datum_Sepsani>"
                           "</D:EVIDENCE_PROVEDENYCH_KONVERZI></d:root>"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done}));
    EXPECT_EQ(Stored("14/2024", "oznaceni_vstupu"), "Žádost");

    dialogs_.Clear();
    std::string text = DataFile().Text();
    text.replace(text.find("<d:root"), 7, "<D:Root");
    text.replace(text.find("</d:root>"), 9, "</D:Root>");
    Run(Write("koren.xml", text));
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text,
              "V souboru \"koren.xml\" chybí prvek \"d:root\". Do evidence nebylo nic zapsáno.");
    EXPECT_EQ(Register()->RecordCount(), 1);
}

TEST_F(Import, AMissingElementIsNamedAndTheRegisterIsUntouched)
{
    AddRow("1/2024", "Dřívější", core::EncodeDate(2024, 1, 5));
    GoTo("1/2024");
    std::string text = DataFile().Text();
    const std::size_t from = text.find("    <d:datum_sepsani>");
    text.erase(from, text.find('\n', from) + 1 - from);
    Run(Write("bez data.xml", text));

    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text,
              "V souboru \"bez data.xml\" chybí prvek \"d:datum_sepsani\". Do evidence nebylo nic zapsáno.");
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Chyba.");
    EXPECT_EQ(dialogs_.Questions()[0].Flags, ui::MB_OK | ui::MB_ICONERROR);
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Register()->RecordCount(), 1);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "1/2024");
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "<no row>");
    EXPECT_EQ(app::XmlFileName, "");

    // An output without the identifier stops the import the same way.
    dialogs_.Clear();
    std::string noId = DataFile().Text();
    noId.replace(noId.find("<d:id>AB12CD</d:id>"), 19, "");
    Run(Write("bez id.xml", noId));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                           "V souboru \"bez id.xml\" chybí prvek \"d:id\". Do evidence nebylo nic zapsáno."}));
    EXPECT_EQ(Register()->RecordCount(), 1);
}

TEST_F(Import, AFileThatCannotBeOpenedGoesToTheDefaultHandler)
{
    Run(folder_ + "neni.xml");
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Orvalis");
    EXPECT_NE(dialogs_.Questions()[0].Text.find("neni.xml"), std::string::npos) << dialogs_.Describe();
    EXPECT_EQ(Register()->RecordCount(), 0);
    EXPECT_EQ(app::XmlFileName, "");
}

TEST_F(Import, AnEmptyDesignationIsRefusedByThePostRules)
{
    DataFile file;
    file.designation = "";
    Run(Write("prazdne.xml", file.Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Chybí označení věci.");
    EXPECT_EQ(dialogs_.Questions()[0].Caption, "Chyba.");
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "12/2024");
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "<no row>");
    EXPECT_EQ(app::XmlFileName, "");
    Register()->Cancel();
}

TEST_F(Import, ABadDateLeavesTheRowInInsertState)
{
    DataFile file;
    file.date = "31.2.2024";
    Run(Write("datum.xml", file.Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 1u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[0].Text, "Text „31.2.2024“ v poli „Datum sepsání vstupu“ není platné datum.");
    EXPECT_EQ(Register()->State(), data::dsInsert);
    EXPECT_EQ(Register()->FieldByName("poradove_cislo")->AsString(), "12/2024");
    EXPECT_EQ(Register()->FieldByName("oznaceni_vstupu")->AsString(), "Kupní smlouva Novák & Dvořák");
    EXPECT_TRUE(Register()->FieldByName("datum_sepsani_vstupu")->IsNull());
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "<no row>");
    Register()->Cancel();
}

TEST_F(Import, ThreeFilesDroppedAtOnceImportTheLastOnce)
{
    DataFile first, second, third;
    first.serial = "1/2024";
    second.serial = "2/2024";
    third.serial = "3/2024";
    for (DataFile* file : {&first, &second, &third})
        file->output = false;
    const std::string a = Write("a.xml", first.Text());
    const std::string b = Write("b.xml", second.Text());
    const std::string c = Write("c.xml", third.Text());
    ui::HDROP drop = ui::NewDropHandle({a, b, c});
    EXPECT_EQ(Form()->DBGrid1->Perform(ui::WM_DROPFILES, reinterpret_cast<ui::WPARAM>(drop)), 0);

    EXPECT_EQ(Messages(), (std::vector<std::string>{Done}));
    EXPECT_EQ(Register()->RecordCount(), 1);
    EXPECT_EQ(Stored("3/2024", "poradove_cislo"), "3/2024");
    EXPECT_FALSE(ui::DropHandleLive(drop));
    EXPECT_EQ(app::XmlFileName, "");
}

TEST_F(Import, TheGridTakesFilesDroppedOnItAndPassesEverythingElseOn)
{
    EXPECT_TRUE(ui::AcceptsDroppedFiles(Form()->DBGrid1->Handle()));
    int passed = 0;
    Form()->OldGridWindowProc = [&](ui::TMessage&) { ++passed; };
    Form()->DBGrid1->Perform(ui::WM_KEYDOWN, ui::VK_DOWN);
    EXPECT_EQ(passed, 1);

    // A real drop, as Qt delivers it from the desktop onto the grid's cells.
    DataFile file;
    file.output = false;
    const std::string name = Write("přetažený soubor.xml", file.Text());
    auto* view = static_cast<QAbstractScrollArea*>(Form()->DBGrid1->Handle());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(name))});
    QDragEnterEvent enter(QPoint(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(30, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &dropped);
    ASSERT_TRUE(WaitUntil([&] { return !dialogs_.Questions().empty(); }, 5000));
    EXPECT_EQ(passed, 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done}));
    EXPECT_EQ(Stored("12/2024", "oznaceni_vstupu"), "Kupní smlouva Novák & Dvořák");

    Form()->FormDestroy(Form());
    EXPECT_FALSE(ui::AcceptsDroppedFiles(Form()->DBGrid1->Handle()));
}

TEST_F(Import, TheOpenDialogAsksForAFileWhenNoneIsPending)
{
    DataFile file;
    file.output = false;
    const std::string name = Write("vybrany.xml", file.Text());
    dialogs_.CancelFile();
    Run();
    ASSERT_EQ(dialogs_.Questions().size(), 1u);
    EXPECT_EQ(dialogs_.Questions()[0].Kind, ui::TDialogKind::File);
    EXPECT_EQ(dialogs_.Questions()[0].File.Filter, "XML soubory|*.xml");
    EXPECT_EQ(Register()->RecordCount(), 0);

    dialogs_.Clear();
    dialogs_.AnswerFile(name);
    Run();
    EXPECT_EQ(dialogs_.Questions().size(), 2u);
    EXPECT_EQ(dialogs_.Questions()[1].Text, Done);
    EXPECT_EQ(Register()->RecordCount(), 1);
}

TEST_F(Import, APageWithoutFormsIsReportedAndTheRowStays)
{
    server_.ServeHtml(PagePath, "<html><body><p>Služba je dočasně mimo provoz.</p></body></html>");
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text,
              "Na stránce úschovny není formulář pro zadání údajů. Pole nebyla vyplněna. "
              "Pořadové číslo: 12/2024, identifikátor v úschovně: AB12CD.");
    EXPECT_EQ(dialogs_.Questions()[2].Caption, "Získání souboru z úschovny");
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
    EXPECT_EQ(Register()->State(), data::dsBrowse);
}

TEST_F(Import, APageThatCannotBeLoadedIsReported)
{
    app::SetDepositoryOrigin("http://127.0.0.1:1");
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text,
              "Stránku úschovny se nepodařilo načíst. Pole formuláře nebyla vyplněna. "
              "Pořadové číslo: 12/2024, identifikátor v úschovně: AB12CD.");
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
}

TEST_F(Import, TheWaitIsForThisNavigationsPageNotTheOneShownBefore)
{
    // The viewer shows a page with the same form; the depository's comes late.
    server_.ServeHtml("/predchozi.html", DepositoryPage);
    Viewer()->HostedBrowser1->Navigate(server_.Url("/predchozi.html"));
    ASSERT_TRUE(WaitUntil([&] { return Viewer()->HostedBrowser1->ReadyState() == 4; }));
    server_.Serve(PagePath, THttpResponse{200, "text/html; charset=utf-8", DepositoryPage, {}, 700});
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    EXPECT_EQ(dialogs_.Questions().size(), 2u) << dialogs_.Describe();
    EXPECT_EQ(Viewer()->HostedBrowser1->LocationURL(), app::DepositoryPageUrl());
    EXPECT_EQ(Field("konverze"), "12/2024");
    EXPECT_EQ(Field("pruvodka"), "AB12CD");
}

TEST_F(Import, TheWaitGivesUpAfterItsTimeLimit)
{
    server_.Serve(PagePath, THttpResponse{200, "text/html; charset=utf-8", DepositoryPage, {}, 4000});
    Viewer()->SetPageTimeoutMs(300);
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text,
              "Stránka úschovny se nenačetla ani za 1 s. Pole formuláře nebyla vyplněna. "
              "Pořadové číslo: 12/2024, identifikátor v úschovně: AB12CD.");
    EXPECT_EQ(dialogs_.Questions()[2].Flags, ui::MB_OK | ui::MB_ICONWARNING);
    EXPECT_FALSE(Viewer()->WaitingForPage());
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
}

TEST_F(Import, ClosingTheViewerEndsTheWaitQuietly)
{
    server_.Serve(PagePath, THttpResponse{200, "text/html; charset=utf-8", DepositoryPage, {}, 4000});
    AnswerDoneAndYes();
    QTimer::singleShot(200, [] { app::Prohlizec_Form->Close(); });
    Run(Write("a.xml", DataFile().Text()));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done, Ask}));
    EXPECT_FALSE(Viewer()->Visible());
    EXPECT_FALSE(Viewer()->WaitingForPage());
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
}

TEST_F(Import, TheProgramsEndEndsTheWait)
{
    // Leaving the program's event loop leaves every loop for good: a child process sees it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(ImportWhileTheProgramEndsInAChild()), testing::ExitedWithCode(0), "");
}

TEST_F(Import, ASecondImportWhileOneWaitsForItsPageIsRefused)
{
    server_.Serve(PagePath, THttpResponse{200, "text/html; charset=utf-8", DepositoryPage, {}, 800});
    DataFile other;
    other.serial = "99/2024";
    const std::string second = Write("druhy.xml", other.Text());
    AnswerDoneAndYes();
    bool dropped = false;
    QTimer::singleShot(100, [&] {
        ui::DeliverDroppedFiles(Form()->DBGrid1->Handle(), {second});
        Form()->Button10Click(Form()->Button10);
        dropped = true;
    });
    Run(Write("prvni.xml", DataFile().Text()));
    ASSERT_TRUE(dropped);
    const std::string refused =
        "Předchozí načítání souboru XML ještě neskončilo. Další soubor lze načíst, až skončí.";
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done, Ask, refused, refused}));
    EXPECT_EQ(dialogs_.Questions()[2].Caption, "Import XML");
    EXPECT_EQ(Register()->RecordCount(), 1);
    EXPECT_EQ(Stored("99/2024", "poradove_cislo"), "<no row>");
    EXPECT_EQ(Field("konverze"), "12/2024");
    EXPECT_EQ(Field("pruvodka"), "AB12CD");
    EXPECT_EQ(app::XmlFileName, "");

    // Afterwards the next file imports as usual.
    dialogs_.Clear();
    other.output = false;
    Run(Write("treti.xml", other.Text()));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Done}));
    EXPECT_EQ(Register()->RecordCount(), 2);
}

TEST_F(Import, TheViewerFormCarriesItsStoredSettings)
{
    app::TProhlizec_Form* viewer = Viewer();
    EXPECT_EQ(viewer->Caption(), "Prohlížeč");
    EXPECT_EQ(viewer->WindowState(), ui::TWindowState::wsMaximized);
    EXPECT_EQ(viewer->Position(), ui::TPosition::poMainFormCenter);
    browser::THostedBrowser* b = viewer->HostedBrowser1;
    EXPECT_EQ(b->Name(), "HostedBrowser1");
    EXPECT_EQ(b->Parent(), viewer);
    EXPECT_EQ(b->Align(), ui::TAlign::alClient);
    EXPECT_EQ(b->DownloadControlFlags(), 0x70u);
    EXPECT_EQ(b->HostUIFlags(), 0x44000u);
    EXPECT_FALSE(b->MessagesBoxes().InternalErrMsg());
    browser::TPrintOptions& print = b->PrintOptions();
    EXPECT_DOUBLE_EQ(print.Margins().Left(), 19.05);
    EXPECT_DOUBLE_EQ(print.Margins().Right(), 19.05);
    EXPECT_DOUBLE_EQ(print.Margins().Top(), 19.05);
    EXPECT_DOUBLE_EQ(print.Margins().Bottom(), 19.05);
    EXPECT_EQ(print.Header(), "&w&bStránka č. &p z &P");
    EXPECT_EQ(print.HTMLHeader().Text(), "<HTML></HTML>\r\n");
    EXPECT_EQ(print.Footer(), "&u&b&d");
    EXPECT_EQ(print.Orientation(), browser::TPrintOrientationOption::poPortrait);
}

TEST_F(Import, FieldsAreSetByTheirKindAndMissingOnesAreSkipped)
{
    server_.ServeHtml("/pole.html", R"(<html><body><form>
<input name="konverze"><select name="pruvodka"><option value="A">A</option><option value="B">B</option></select>
<textarea name="poznamka"></textarea><button name="tlacitko" value="původní">Stáhnout</button></form></body></html>)");
    Viewer()->HostedBrowser1->Navigate(server_.Url("/pole.html"));
    ASSERT_TRUE(WaitUntil([&] { return Viewer()->HostedBrowser1->ReadyState() == 4; }));
    auto document = Viewer()->HostedBrowser1->Document();
    ASSERT_TRUE(Viewer()->GetDocumentForm(*document, 0));
    EXPECT_EQ(Viewer()->GetDocumentForm(*document, 0).TagName(), "FORM");
    EXPECT_FALSE(Viewer()->GetDocumentForm(*document, 1));
    Viewer()->SetFormFieldValue(*document, 0, "konverze", "Č. 5/2024");
    Viewer()->SetFormFieldValue(*document, 0, "pruvodka", "B");
    Viewer()->SetFormFieldValue(*document, 0, "poznamka", "řádek");
    Viewer()->SetFormFieldValue(*document, 0, "tlacitko", "jiné");
    Viewer()->SetFormFieldValue(*document, 0, "chybi", "nic");
    Viewer()->SetFormFieldValue(*document, 1, "konverze", "nic");
    EXPECT_EQ(Field("konverze"), "Č. 5/2024");
    EXPECT_EQ(Field("pruvodka"), "B");
    EXPECT_EQ(Field("poznamka"), "řádek");
    // A button is a field of the form, but none that takes a value here.
    EXPECT_EQ(document->Forms().Item(0).Item("tlacitko").GetAttribute("value"), "původní");
}

TEST_F(Import, AValueThePageDoesNotTakeIsNamedForFillingByHand)
{
    // The select offers no option for this identifier.
    DataFile file;
    file.id = "ZZ99";
    AnswerDoneAndYes();
    Run(Write("a.xml", file.Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text, "Formulář na stránce úschovny nepřijal všechny údaje. Vyplňte je ručně. "
                                            "Identifikátor v úschovně: ZZ99.");
    EXPECT_EQ(dialogs_.Questions()[2].Caption, "Získání souboru z úschovny");
    EXPECT_EQ(dialogs_.Questions()[2].Flags, ui::MB_OK | ui::MB_ICONWARNING);
    EXPECT_EQ(Field("konverze"), "12/2024");
    EXPECT_EQ(Register()->State(), data::dsBrowse);
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
}

TEST_F(Import, DisabledAndReadOnlyFieldsAreNamedForFillingByHand)
{
    server_.ServeHtml(PagePath, R"(<html><body><form>
<input name="konverze" disabled><input name="pruvodka" readonly></form></body></html>)");
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text, "Formulář na stránce úschovny nepřijal všechny údaje. Vyplňte je ručně. "
                                            "Pořadové číslo: 12/2024, identifikátor v úschovně: AB12CD.");
    EXPECT_EQ(Stored("12/2024", "poradove_cislo"), "12/2024");
}

TEST_F(Import, FieldsInADisabledFieldsetAndDisabledOptionsAreNamedForFillingByHand)
{
    server_.ServeHtml(PagePath, R"(<html><body><form><fieldset disabled><legend>Konverze</legend>
<input name="konverze"></fieldset><select name="pruvodka"><option value="">-</option>
<option value="AB12CD" disabled>AB12CD</option></select></form></body></html>)");
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text, "Formulář na stránce úschovny nepřijal všechny údaje. Vyplňte je ručně. "
                                            "Pořadové číslo: 12/2024, identifikátor v úschovně: AB12CD.");
}

TEST_F(Import, AFormWithoutTheSerialNumbersFieldNamesItForFillingByHand)
{
    server_.ServeHtml(PagePath, R"(<html><body><form><input name="pruvodka"></form></body></html>)");
    AnswerDoneAndYes();
    Run(Write("a.xml", DataFile().Text()));
    ASSERT_EQ(dialogs_.Questions().size(), 3u) << dialogs_.Describe();
    EXPECT_EQ(dialogs_.Questions()[2].Text, "Formulář na stránce úschovny nepřijal všechny údaje. Vyplňte je ručně. "
                                            "Pořadové číslo: 12/2024.");
    EXPECT_EQ(Field("pruvodka"), "AB12CD");
}

TEST_F(Import, AFieldHoldsAValueOnlyWhenThePageTakesItFromThere)
{
    server_.ServeHtml("/drzi.html", R"(<html><body><form>
<input name="volne" value="A"><input name="vypnute" value="A" disabled><input name="jen_cteni" value="A" readonly>
<select name="vyber"><option value="A">A</option></select><textarea name="text">A</textarea>
<button name="tlacitko" value="A">A</button>
<fieldset disabled><legend><input name="v_legende" value="A"></legend><input name="v_sade" value="A">
<legend><input name="v_druhe_legende" value="A"></legend></fieldset>
<select name="vyber_vypnuty"><option value="A" disabled>A</option><optgroup label="B" disabled>
<option value="B">B</option></optgroup><option value="C">C</option></select></form></body></html>)");
    Viewer()->HostedBrowser1->Navigate(server_.Url("/drzi.html"));
    ASSERT_TRUE(WaitUntil([&] { return Viewer()->HostedBrowser1->ReadyState() == 4; }));
    auto document = Viewer()->HostedBrowser1->Document();
    EXPECT_TRUE(Viewer()->FormFieldHolds(*document, 0, "volne", "A"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "volne", "B"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "vypnute", "A"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "jen_cteni", "A"));
    EXPECT_TRUE(Viewer()->FormFieldHolds(*document, 0, "vyber", "A"));
    Viewer()->SetFormFieldValue(*document, 0, "vyber", "B");
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "vyber", "B"));
    EXPECT_TRUE(Viewer()->FormFieldHolds(*document, 0, "text", "A"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "tlacitko", "A"));
    // A disabled fieldset disables all but what its first legend holds; a disabled option
    // (or one in a disabled group) may be chosen but is not sent.
    EXPECT_TRUE(Viewer()->FormFieldHolds(*document, 0, "v_legende", "A"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "v_sade", "A"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "v_druhe_legende", "A"));
    for (const char* option : {"A", "B"}) {
        Viewer()->SetFormFieldValue(*document, 0, "vyber_vypnuty", option);
        EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "vyber_vypnuty", option)) << option;
    }
    Viewer()->SetFormFieldValue(*document, 0, "vyber_vypnuty", "C");
    EXPECT_TRUE(Viewer()->FormFieldHolds(*document, 0, "vyber_vypnuty", "C"));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 0, "chybi", ""));
    EXPECT_FALSE(Viewer()->FormFieldHolds(*document, 1, "volne", "A"));
}
