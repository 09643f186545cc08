// The standard preview window: its texts and the report's wishes, paging by
// buttons, keys and thumbnails, the page number question, progress, the
// search and its dialog, saving, loading, printing, print setup and closing.
#include "PreviewTestSupport.h"
#include "tests/report/TempFolder.h"

#include "platform/core/Files.h"
#include "platform/print/Printer.h"
#include "platform/ui/controls/ComCtrls.h"
#include "platform/ui/controls/DrawGrid.h"
#include "platform/ui/controls/Edits.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/controls/ToolBar.h"
#include "platform/ui/dialogs/ScriptedDialogs.h"
#include "platform/ui/kernel/Application.h"
#include "report/layout/RpPage.h"
#include "report/preview/RpExportFilterLibrary.h"
#include "report/preview/RpPreviewInterface.h"
#include "report/preview/RpPreviewReport.h"
#include "report/preview/RpSearchDlg.h"
#include "report/preview/RpStandardPreview.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpReportPrinterSettings.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <cstdlib>

using namespace report;
using report::test::BeginTextPages;
using report::test::DeliverPosted;
using report::test::RunTextPages;

namespace {

// A report as far as its preview asks of it.
class FakeReport : public core::TComponent, public TRpPreviewReport {
public:
    FakeReport() : core::TComponent(nullptr) {}
    ui::TFormStyle PrevFormStyle() const override { return ui::TFormStyle::fsNormal; }
    int PreviewWidth() const override { return 640; }
    int PreviewHeight() const override { return 480; }
    ui::TWindowState PreviewInitialState() const override { return ui::TWindowState::wsNormal; }
    bool PrevShowThumbs() const override { return ShowThumbs; }
    bool PrevShowSearch() const override { return ShowSearch; }
    TRpZoomState PrevInitialZoom() const override { return InitialZoom; }
    std::int32_t ReportZoom() const override { return 80; }
    const std::string& ReportTitle() const override { return Title; }
    TRpPage& Page() override { return ReportPage; }
    TRpReportPrinterSettings& PrinterSettings() override { return Stored; }
    TRpReportPrinterSettings& RunSettings() override { return Run; }
    print::TPrinterOrientation RunOrientation() const override { return print::TPrinterOrientation::poLandscape; }
    TRpPaperSize RunPaperSize() const override { return TRpPaperSize::A5; }
    void PrintSetup() override { ++Setups; }
    bool PrintsItselfAgain() const override { return true; }
    void PrintReport() override { ++Prints; }

    std::string Title = "Přehled konverzí";
    bool ShowThumbs = true;
    bool ShowSearch = true;
    TRpZoomState InitialZoom = TRpZoomState::rpZoomOther;
    TRpPage ReportPage;
    TRpReportPrinterSettings Stored;
    TRpReportPrinterSettings Run;
    int Setups = 0;
    int Prints = 0;
};

// A preview whose search question is answered by the test.
class AnsweredPreview : public TRpStandardPreview {
public:
    using TRpStandardPreview::TRpStandardPreview;
    bool AskSearchText(std::string& text, bool& matchCase) override
    {
        Asked.push_back(text);
        if (!Answer)
            return false;
        text = AnswerText;
        matchCase = AnswerMatchCase;
        return true;
    }
    bool Answer = true;
    std::string AnswerText;
    bool AnswerMatchCase = false;
    std::vector<std::string> Asked;
};

// Collects what an export filter was asked to write.
class TestFilter : public TRpExportFilter {
public:
    using TRpExportFilter::TRpExportFilter;
};

struct StandardPreview : testing::Test {
    TRpPrinter printer{nullptr};
    std::vector<QPointer<QWidget>> windows;

    StandardPreview()
    {
        StoredReportLoaded = false;
        PreviewTitle.clear();
    }
    ~StandardPreview() override
    {
        for (QPointer<QWidget>& window : windows)
            if (window != nullptr)
                ui::FreeComponent(ui::TControl::FromWidget(window));
        DeliverPosted();
        StoredReportLoaded = false;
    }
    template <class T = TRpStandardPreview>
    T* Open(TRpPrinter* shown = nullptr)
    {
        auto* form = ui::CreateComponent<T>(nullptr, shown != nullptr ? shown : &printer);
        windows.emplace_back(form->Widget());
        return form;
    }
    static std::string Panel(TRpStandardPreview* form, int index) { return form->StatusBar->Panels()[index].Text(); }
    static void Press(TRpStandardPreview* form, ui::WORD key, ui::TShiftState shift = 0)
    {
        form->FormKeyDown(form, key, shift);
    }
};

} // namespace

TEST_F(StandardPreview, TheWindowCarriesItsTextsAndThePrintersPages)
{
    printer.SetTitle("Kniha");
    RunTextPages(printer, {{"Strana jedna"}, {"Strana dvě"}, {"Strana tři"}});
    auto* form = Open();
    EXPECT_EQ(form->Name(), "RpStandardPreview");
    EXPECT_EQ(form->Caption(), "Report Preview : Kniha");
    EXPECT_EQ(form->TabThumbs->Caption(), "ThumbNails");
    EXPECT_EQ(form->TabSearchResult->Caption(), "Search Results");
    EXPECT_EQ(form->GroupBox1->Caption(), "Search Text");
    EXPECT_EQ(form->ExitButton->Caption(), "&Close");
    EXPECT_EQ(form->ExitButton->Width(), 40);
    std::vector<std::pair<ui::TControl*, std::string>> hints = {
        {form->ZoomFit, "Zoom to fit"},        {form->ZoomToWidth, "Zoom to width"},
        {form->Zoom100, "100% Size"},          {form->FirstPage, "First page"},
        {form->nextPage, "Next page"},         {form->PreviousPage, "Previous page"},
        {form->LastPage, "Last page"},         {form->GotoPageButton, "Select a Page"},
        {form->FindButton, "Search for Text"}, {form->PrintSetup, "Printer setup"},
        {form->Print, "Print"},                {form->SaveReport, "Save report"},
        {form->LoadReport, "Load report"},     {form->ExitButton, "Close Preview"}};
    for (auto& [control, hint] : hints)
        EXPECT_EQ(control->Hint(), hint) << control->Name();
    // The tool bar's order: zoom, paging, go to and find, setup and print, save and load, close.
    std::vector<std::string> order;
    for (int i = 0; i < form->ToolBar1->ControlCount(); ++i) {
        auto* button = dynamic_cast<ui::TToolButton*>(form->ToolBar1->Controls(i));
        if (button == nullptr || button->Style() != ui::TToolButtonStyle::tbsSeparator)
            order.push_back(form->ToolBar1->Controls(i)->Name());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"ZoomFit", "ZoomToWidth", "Zoom100", "FirstPage", "PreviousPage",
                                               "nextPage", "LastPage", "GotoPageButton", "FindButton",
                                               "PrintSetup", "Print", "SaveReport", "LoadReport", "ExitButton"}));

    // Without a report: maximised, fitted, thumbnails and search shown.
    EXPECT_EQ(form->WindowState(), ui::TWindowState::wsMaximized);
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_EQ(form->InitialZoom(), TRpZoomState::rpZoomToFit);
    EXPECT_TRUE(form->ZoomFit->Down());
    EXPECT_EQ(form->RpPreview->ZoomState(), TRpZoomState::rpZoomToFit);
    EXPECT_TRUE(form->Tabs->Visible());
    EXPECT_TRUE(form->TabThumbs->TabVisible());
    EXPECT_TRUE(form->FindButton->Visible());
    EXPECT_EQ(form->ThumbGrid->RowCount(), 3);
    EXPECT_TRUE(form->Print->Enabled());
    EXPECT_EQ(printer.Preview(), form->RpPreview);
    EXPECT_EQ(Panel(form, 0), "0%");
    EXPECT_EQ(form->StatusBar->Panels()[0].Width(), 40);
    EXPECT_EQ(form->StatusBar->Panels()[1].Width(), 120);

    form->ShowPreview();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(Panel(form, 1), "Page 1 of 3");
    EXPECT_FALSE(form->SearchResultBox->Enabled());
}

// Only under a real display, asked for by KONVERZE_PREVIEW_SCREENSHOT (a
// folder): the window as a person sees it, with a two-page report drawn by
// hand, saved as standard-preview.png.
TEST_F(StandardPreview, ScreenshotOfATwoPageReport)
{
    const char* folder = std::getenv("KONVERZE_PREVIEW_SCREENSHOT");
    if (folder == nullptr)
        GTEST_SKIP() << "no screenshot asked for";
    printer.SetTitle("Evidence konverzí");
    printer.BeginDoc();
    for (int page = 1; page <= 2; ++page) {
        printer.NewPage();
        gfx::TCanvas& canvas = *printer.Canvas();
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(16);
        canvas.TextOut(printer.XPos(200), printer.YPos(150), "Evidence autorizovaných konverzí");
        canvas.Font().SetSize(10);
        canvas.MoveTo(printer.XPos(200), printer.YPos(260));
        canvas.LineTo(printer.XPos(1900), printer.YPos(260));
        for (int row = 0; row < 20; ++row) {
            int number = (page - 1) * 20 + row + 1;
            long double y = 300 + row * 90;
            canvas.TextOut(printer.XPos(200), printer.YPos(y), std::to_string(number) + ".");
            canvas.TextOut(printer.XPos(400), printer.YPos(y), "Příliš žluťoučký kůň úpěl ďábelské ódy");
        }
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.Rectangle(printer.XPos(150), printer.YPos(120), printer.XPos(1950), printer.YPos(2200));
        canvas.TextOut(printer.XPos(900), printer.YPos(2800), "Strana " + std::to_string(page) + " z 2");
    }
    printer.EndDoc();
    auto* form = Open();
    form->SetWindowState(ui::TWindowState::wsNormal);
    form->SetBounds(0, 0, 900, 700);
    form->ShowPreview();
    form->GoToPage(2);
    for (int i = 0; i < 20; ++i)
        QTest::qWait(50);
    EXPECT_EQ(Panel(form, 1), "Page 2 of 2");
    EXPECT_TRUE(form->Widget()->grab().save(QString::fromStdString(std::string(folder) + "/standard-preview.png")));
}

TEST_F(StandardPreview, TheReportChoosesSizeZoomTitleAndWhatIsShown)
{
    FakeReport report;
    report.ReportPage.SetOrientation(print::TPrinterOrientation::poLandscape);
    TRpPrinter owned(&report);
    RunTextPages(owned, {{"A"}, {"B"}});
    auto* form = Open(&owned);
    EXPECT_EQ(form->Width(), 640);
    EXPECT_EQ(form->Height(), 480);
    EXPECT_EQ(form->WindowState(), ui::TWindowState::wsNormal);
    EXPECT_EQ(PreviewTitle, "Přehled konverzí");
    EXPECT_EQ(owned.Title(), "Přehled konverzí");
    EXPECT_EQ(form->Caption(), "Report Preview : Přehled konverzí");
    EXPECT_TRUE(form->Landscape());
    EXPECT_TRUE(form->Zoom100->Down());
    EXPECT_FALSE(form->ZoomFit->Down());
    EXPECT_EQ(form->RpPreview->Zoom(), 80);
    form->UpdateStatus();
    EXPECT_EQ(Panel(form, 2), "Přehled konverzí");

    report.ShowThumbs = false;
    report.ShowSearch = false;
    auto* bare = Open(&owned);
    EXPECT_FALSE(bare->Tabs->Visible());
    EXPECT_FALSE(bare->FindButton->Visible());
    EXPECT_FALSE(bare->TabSearchResult->TabVisible());

    report.ShowThumbs = false;
    report.ShowSearch = true;
    report.InitialZoom = TRpZoomState::rpZoomToWidth;
    auto* searching = Open(&owned);
    EXPECT_TRUE(searching->Tabs->Visible());
    EXPECT_FALSE(searching->TabThumbs->TabVisible());
    EXPECT_TRUE(searching->TabSearchResult->TabVisible());
    EXPECT_TRUE(searching->ZoomToWidth->Down());
    EXPECT_EQ(searching->RpPreview->ZoomState(), TRpZoomState::rpZoomToWidth);
}

TEST_F(StandardPreview, PagingByButtonsKeysAndThumbnails)
{
    RunTextPages(printer, {{"1"}, {"2"}, {"3"}, {"4"}});
    auto* form = Open();
    ui::TDrawGrid* grid = form->ThumbGrid;

    Press(form, ui::VK_PRIOR);
    EXPECT_EQ(form->RpPreview->PageNumber(), 1) << "Page Up on page 1";
    form->NextPageClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(Panel(form, 1), "Page 2 of 4");
    Press(form, ui::VK_NEXT, ui::ssCtrl);
    EXPECT_EQ(form->RpPreview->PageNumber(), 4);
    EXPECT_EQ(grid->Row(), 3);
    Press(form, ui::VK_PRIOR, ui::ssCtrl | ui::ssShift);
    EXPECT_EQ(form->RpPreview->PageNumber(), 3) << "Ctrl with Shift is no Ctrl alone";
    Press(form, ui::VK_HOME);
    EXPECT_EQ(form->RpPreview->PageNumber(), 1);
    Press(form, ui::VK_END);
    EXPECT_EQ(form->RpPreview->PageNumber(), 4);
    form->NextPageClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 4) << "no page after the last";
    form->FirstPageClick(form);
    form->LastPageClick(form);
    form->PrevPageClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 3);
    ui::WORD other = 'A';
    form->FormKeyDown(form, other, 0);
    EXPECT_EQ(other, 'A') << "keys the preview does not use go on";

    // A thumbnail chosen by the user shows its page.
    grid->SetRow(1);
    EXPECT_EQ(form->RpPreview->PageNumber(), 2);
    EXPECT_EQ(Panel(form, 1), "Page 2 of 4");
    // While the form moves the selection itself, the grid does not page.
    ThumbSync = true;
    grid->SetRow(3);
    ThumbSync = false;
    EXPECT_EQ(form->RpPreview->PageNumber(), 2);
}

TEST_F(StandardPreview, UpAndDownScrollAndTurnPagesAtTheEdges)
{
    RunTextPages(printer, {{"1"}, {"2"}});
    auto* form = Open();
    form->SetWindowState(ui::TWindowState::wsNormal);
    form->ShowPreview();
    form->RpPreview->SetZoom(300); // taller than the preview
    ui::TControlScrollBar& bar = form->RpPreview->VertScrollBar();
    ASSERT_GT(bar.Range(), form->RpPreview->Height() + 3 * bar.Increment());
    // Up at the top of the first page stays there.
    Press(form, ui::VK_UP);
    EXPECT_EQ(form->RpPreview->PageNumber(), 1);
    EXPECT_EQ(bar.Position(), 0);
    Press(form, ui::VK_DOWN);
    EXPECT_EQ(bar.Position(), bar.Increment());
    // Down at the bottom turns to the next page, at its top.
    bar.SetPosition(bar.Range() - form->RpPreview->Height() - bar.Increment());
    Press(form, ui::VK_DOWN);
    EXPECT_EQ(form->RpPreview->PageNumber(), 2);
    EXPECT_EQ(bar.Position(), 0);
    // Up at the top goes back to the previous page's bottom.
    Press(form, ui::VK_UP);
    EXPECT_EQ(form->RpPreview->PageNumber(), 1);
    EXPECT_EQ(bar.Position(), bar.Range() - form->RpPreview->Height() - bar.Increment());
}

TEST_F(StandardPreview, TheFormSeesTheKeysOfItsControlsFirst)
{
    RunTextPages(printer, {{"1"}, {"2"}, {"3"}});
    auto* form = Open();
    form->SetWindowState(ui::TWindowState::wsNormal);
    form->ShowPreview();
    QWidget* grid = form->ThumbGrid->Widget();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(grid, &end);
    EXPECT_EQ(form->RpPreview->PageNumber(), 3);
    QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(grid, &pageUp);
    EXPECT_EQ(form->RpPreview->PageNumber(), 2) << "the grid did not page a second time";
    EXPECT_EQ(form->ThumbGrid->Row(), 1);
}

TEST_F(StandardPreview, ThePageNumberQuestionTakesOnlyPagesThatExist)
{
    RunTextPages(printer, {{"1"}, {"2"}, {"3"}});
    auto* form = Open();
    ui::TScriptedDialogs dialogs;
    dialogs.AnswerInput("3");
    form->GotoPageButtonClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 3);
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].Caption, "Select a page from 1 to 3");
    EXPECT_EQ(dialogs.Questions()[0].Text, "Enter page number");
    EXPECT_EQ(dialogs.Questions()[0].Value, "1") << "the page shown";

    for (const char* wrong : {"abc", "0", "4", "", "2x"}) {
        form->GoToPage(2);
        dialogs.AnswerInput(wrong);
        form->GotoPageButtonClick(form);
        EXPECT_EQ(form->RpPreview->PageNumber(), 1) << wrong;
    }
    // Cancelled, the question keeps the page shown.
    form->GoToPage(2);
    dialogs.CancelInput();
    form->GotoPageButtonClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 2);
    EXPECT_EQ(dialogs.Unanswered(), 0) << dialogs.Describe();
}

TEST_F(StandardPreview, ProgressShowsInStepsOfFiveAndGoesAtTheEnds)
{
    auto* form = Open();
    for (int p : {3, 4, 6})
        form->RpPreviewProgressUpdate(form->RpPreview, p);
    EXPECT_EQ(Panel(form, 0), "6%");
    form->RpPreviewProgressUpdate(form->RpPreview, 10);
    EXPECT_EQ(Panel(form, 0), "6%");
    form->RpPreviewProgressUpdate(form->RpPreview, 11);
    EXPECT_EQ(Panel(form, 0), "11%");
    EXPECT_EQ(form->LastProgress(), 11);
    form->RpPreviewProgressUpdate(form->RpPreview, 100);
    EXPECT_EQ(Panel(form, 0), "");
    // Through the printer's posted message as well.
    printer.SetProgress(0);
    DeliverPosted();
    EXPECT_EQ(Panel(form, 0), "");
}

TEST_F(StandardPreview, PagesThatComeLaterGrowTheThumbnailsAndEnablePrinting)
{
    auto* form = Open();
    EXPECT_FALSE(form->Print->Enabled());
    EXPECT_FALSE(form->PrintSetup->Enabled());
    EXPECT_EQ(form->ThumbGrid->RowCount(), 0);
    BeginTextPages(printer, {{"A"}, {"B"}});
    DeliverPosted();
    EXPECT_EQ(Panel(form, 1), "Page 1 of 2");
    EXPECT_EQ(form->ThumbGrid->RowCount(), 2);
    EXPECT_FALSE(form->Print->Enabled());
    printer.EndDoc();
    DeliverPosted();
    EXPECT_TRUE(form->Print->Enabled());
    EXPECT_TRUE(form->PrintSetup->Enabled());
}

TEST_F(StandardPreview, ThumbnailsFollowTheGridsWidthAndThePaper)
{
    RunTextPages(printer, {{"Náhled"}, {"Druhý"}});
    auto* form = Open();
    form->ThumbGrid->SetAlign(ui::TAlign::alNone);
    form->ThumbGrid->SetBounds(0, 0, 150, 400);
    form->LayoutThumbs();
    int text = form->ThumbTextHeight();
    EXPECT_GT(text, 0);
    EXPECT_EQ(form->ThumbGrid->ColWidths(0), 146);
    EXPECT_EQ(form->ThumbWidth(), 126);
    long double ratio = static_cast<long double>(printer.Settings().PaperLength()) / printer.Settings().PaperWidth();
    EXPECT_EQ(form->ThumbHeight(), static_cast<int>(std::nearbyint(126 * ratio - text)));
    EXPECT_EQ(form->ThumbGrid->DefaultRowHeight(), form->ThumbHeight());
    EXPECT_EQ(form->ThumbOffsetX(), 10);
    EXPECT_EQ(form->ThumbOffsetY(), 0);

    // Each row shows its page on a sheet with a border.
    QImage shot(150, 400, QImage::Format_RGB32);
    form->ThumbGrid->Widget()->render(&shot);
    auto* area = static_cast<QAbstractScrollArea*>(form->ThumbGrid->Widget());
    QRect cell = form->ThumbGrid->CellRect(0, 0).translated(area->viewport()->mapTo(area, QPoint(0, 0)));
    EXPECT_EQ(shot.pixelColor(cell.left() + 10, cell.top() + 30), QColor(Qt::black)) << "the sheet's left edge";
    EXPECT_EQ(shot.pixelColor(cell.left() + 40, cell.top() + 30), QColor(Qt::white)) << "the sheet";
}

TEST_F(StandardPreview, TheSearchListsThePagesWithTheText)
{
    RunTextPages(printer, {{"Total"}, {"nic"}, {"GRAND TOTAL"}, {"subtotal"}});
    auto* form = Open<AnsweredPreview>();
    form->AnswerText = "total";
    form->FindButtonClick(form);
    EXPECT_TRUE(form->SearchResultBox->Enabled());
    EXPECT_EQ(form->SearchTextLabel->Caption(), "total");
    EXPECT_EQ(form->SearchResultBox->Items().Text(), "Page 1\r\nPage 3\r\nPage 4\r\n");
    EXPECT_EQ(form->SearchResultPages(), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(form->Tabs->ActivePage(), form->TabSearchResult);
    form->SearchResultBox->SetItemIndex(1);
    form->SearchResultBoxClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 3);
    EXPECT_EQ(form->ThumbGrid->Row(), 2);
    form->SearchResultBox->SetItemIndex(-1);
    form->SearchResultBoxClick(form);
    EXPECT_EQ(form->RpPreview->PageNumber(), 1) << "no item chosen";

    form->AnswerMatchCase = true;
    form->FindButtonClick(form);
    EXPECT_EQ(form->SearchResultPages(), (std::vector<int>{4}));
    EXPECT_EQ(form->Asked.back(), "total") << "the last text is offered again";

    form->AnswerText = "nenalezeno";
    form->FindButtonClick(form);
    EXPECT_EQ(form->SearchResultBox->Items().Text(), "No matching text\r\n");
    EXPECT_FALSE(form->SearchResultBox->Enabled());

    // A cancelled question changes nothing.
    form->Answer = false;
    form->FindButtonClick(form);
    EXPECT_EQ(form->SearchTextLabel->Caption(), "nenalezeno");
}

TEST_F(StandardPreview, TheSearchDialogAsksTextAndCase)
{
    auto* form = Open();
    auto* dialog = ui::CreateComponent<TSearchDlg>(form);
    EXPECT_EQ(dialog->Name(), "SearchDlg");
    EXPECT_EQ(dialog->Caption(), "Search for Text");
    EXPECT_EQ(dialog->Label1->Caption(), "Search Text");
    EXPECT_EQ(dialog->CheckBox1->Caption(), "Match case");
    EXPECT_EQ(dialog->SpeedButton2->Caption(), "Search");
    EXPECT_EQ(dialog->SpeedButton1->Caption(), "Cancel");
    EXPECT_EQ(dialog->ClientWidth(), 305);
    EXPECT_EQ(dialog->ClientHeight(), 118);
    EXPECT_FALSE(dialog->Cancelled());
    ui::FreeComponent(dialog);

    // The form's question through the real dialog: typed, then Search.
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->objectName() == "SearchDlg") {
                auto* search = dynamic_cast<TSearchDlg*>(ui::TControl::FromWidget(window));
                search->Edit1->SetText("Příliš");
                search->CheckBox1->SetChecked(true);
                search->SpeedButton2->Click();
            }
    });
    std::string text = "dřív";
    bool matchCase = false;
    EXPECT_TRUE(form->AskSearchText(text, matchCase));
    EXPECT_EQ(text, "Příliš");
    EXPECT_TRUE(matchCase);

    // Cancel, and a dialog closed without its buttons, ask for nothing.
    for (bool byButton : {true, false}) {
        QTimer::singleShot(0, [byButton] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible() && window->objectName() == "SearchDlg") {
                    auto* search = dynamic_cast<TSearchDlg*>(ui::TControl::FromWidget(window));
                    search->Edit1->SetText("nikdy");
                    if (byButton)
                        search->SpeedButton1->Click();
                    else
                        search->Close();
                }
        });
        std::string unchanged = "ponechat";
        EXPECT_FALSE(form->AskSearchText(unchanged, matchCase));
        EXPECT_EQ(unchanged, "ponechat");
    }
}

TEST_F(StandardPreview, SavingAndLoadingStoredReports)
{
    test::ScopedTempFolder folder("preview-save");
    RunTextPages(printer, {{"Uložená strana"}, {"Druhá uložená"}});
    auto* form = Open();
    ui::TScriptedDialogs dialogs;
    std::string file = folder.Path().string() + "/zaloha.RPF";
    dialogs.AnswerFile(file, 1);
    form->SaveClick(form);
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    const ui::TFileDialogRequest& save = dialogs.Questions()[0].File;
    EXPECT_TRUE(save.Save);
    EXPECT_EQ(save.Title, "Save report");
    EXPECT_EQ(save.Filter, "Report file(*.RPF)|*.RPF");
    EXPECT_EQ(save.DefaultExt, "RPF");
    ASSERT_TRUE(core::FileExists(file));

    // A second printer loads the file into a fresh preview.
    TRpPrinter other(nullptr);
    RunTextPages(other, {{"Jiná"}});
    auto* loading = Open(&other);
    loading->GoToPage(1);
    dialogs.Clear();
    dialogs.AnswerFile(file);
    loading->LoadClick(loading);
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_FALSE(dialogs.Questions()[0].File.Save);
    EXPECT_EQ(dialogs.Questions()[0].File.Title, "Load report");
    EXPECT_EQ(dialogs.Questions()[0].File.Filter, "Report file (*.RPF)|*.RPF");
    EXPECT_TRUE(other.LoadedFromFile());
    EXPECT_EQ(other.PageCount(), 2);
    EXPECT_TRUE(StoredReportLoaded);
    EXPECT_EQ(PreviewTitle, file);
    EXPECT_EQ(Panel(loading, 1), "Page 1 of 2");
    EXPECT_EQ(Panel(loading, 2), file);
    EXPECT_EQ(loading->ThumbGrid->RowCount(), 2);
    EXPECT_TRUE(loading->Print->Enabled());
    gfx::TMetafile* shown = loading->RpPreview->PreviewImage()->Metafile();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(test::PageTexts(*shown), "Uložená strana") << "page 1 of the file, not of the run before";

    // A file that is not there changes nothing.
    dialogs.Clear();
    dialogs.AnswerFile(folder.Path().string() + "/chybi.RPF");
    dialogs.AnswerButton(ui::mrOk);
    loading->LoadClick(loading);
    ASSERT_EQ(dialogs.Questions().size(), 2u);
    EXPECT_EQ(dialogs.Questions()[1].Text, "File does not exist");
    EXPECT_EQ(other.PageCount(), 2);

    // A cancelled dialog does nothing either.
    dialogs.Clear();
    dialogs.CancelFile();
    loading->SaveClick(loading);
    EXPECT_EQ(dialogs.Unanswered(), 0) << dialogs.Describe();
}

TEST_F(StandardPreview, ALoadedFileShowsThePagesItHoldsWhateverItsHeaderCounts)
{
    test::ScopedTempFolder folder("preview-count");
    RunTextPages(printer, {{"První"}, {"Druhá"}});
    const std::string saved = folder.Path().string() + "/dve.RPF";
    printer.Save(saved);
    const std::string twoPages = core::ReadFileBytes(saved);
    const struct {
        std::string Bytes;
        std::int32_t Header;
        const char* First;
        const char* Last;
    } cases[] = {
        {twoPages, 0, "Page 1 of 2", "Page 2 of 2"},
        {twoPages, -1, "Page 1 of 2", "Page 2 of 2"},
        {twoPages, INT32_MIN, "Page 1 of 2", "Page 2 of 2"},
        {twoPages, 9, "Page 1 of 2", "Page 2 of 2"},
        {twoPages.substr(0, 128), INT32_MIN, "Page 0 of 0", "Page 0 of 0"},
    };
    const std::string file = folder.Path().string() + "/poskozena.RPF";
    for (const auto& c : cases) {
        std::string bytes = c.Bytes;
        for (int i = 0; i < 4; ++i)
            bytes[8 + static_cast<std::size_t>(i)] = static_cast<char>(static_cast<std::uint32_t>(c.Header) >> (8 * i));
        core::WriteFileBytes(file, bytes);
        TRpPrinter loaded(nullptr);
        auto* form = Open(&loaded);
        ui::TScriptedDialogs dialogs;
        dialogs.AnswerFile(file);
        form->LoadClick(form);
        EXPECT_EQ(Panel(form, 1), c.First) << c.Header;
        EXPECT_EQ(form->ThumbGrid->RowCount(), loaded.PageCount()) << c.Header;
        form->LastPageClick(form);
        EXPECT_EQ(Panel(form, 1), c.Last) << c.Header;
        form->Close();
        DeliverPosted();
    }
}

TEST_F(StandardPreview, SavingThroughARegisteredExportFilter)
{
    RunTextPages(printer, {{"Export"}});
    std::vector<std::string> exported;
    printer.OnExportToFilter = [&](TRpExportFilter* filter) { exported.push_back(filter->FileName()); };
    ExportFilterLibrary().Add([](const std::string& name) { return std::make_unique<TestFilter>(name); },
                              "Zkušební export", "zk");
    auto* form = Open();
    ui::TScriptedDialogs dialogs;
    dialogs.AnswerFile("/tmp/vystup.zk", 2);
    form->SaveClick(form);
    ExportFilterLibrary().FilterList.pop_back();
    ASSERT_EQ(dialogs.Questions().size(), 1u);
    EXPECT_EQ(dialogs.Questions()[0].File.Filter, "Report file(*.RPF)|*.RPF|Zkušební export (*.zk)|*.zk");
    EXPECT_EQ(exported, std::vector<std::string>{"/tmp/vystup.zk"});
}

TEST_F(StandardPreview, PrintingAskesTheReportUnlessAStoredReportIsShown)
{
    test::ScopedTempFolder folder("preview-print");
    FakeReport report;
    TRpPrinter owned(&report);
    RunTextPages(owned, {{"Tisk"}});
    auto* form = Open(&owned);
    form->PrintClick(form);
    EXPECT_EQ(report.Prints, 1);

    // A stored report prints its pages.
    StoredReportLoaded = true;
    std::string pdf = folder.Path().string() + "/tisk.pdf";
    owned.Printer()->SetOutputFileName(pdf);
    form->PrintClick(form);
    EXPECT_EQ(report.Prints, 1);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(pdf)));
}

TEST_F(StandardPreview, PrintSetupGivesTheDialogsChoiceToThePrinterAndTheReport)
{
    FakeReport report;
    TRpPrinter owned(&report);
    RunTextPages(owned, {{"Nastavení"}});
    auto* form = Open(&owned);
    report.Run.SetCustomBinCode(4); // the manual feed
    report.Run.SetCopies(2);
    report.Run.SetFirstPage(2);
    report.Run.SetLastPage(3);
    report.Run.SetCollate(1);
    report.Run.SetColorOption(2);
    report.Run.SetPrintQuality(300);
    report.Run.SetExtendedDuplex(3);
    report.Run.SetMemoryLimit(1000);
    report.Run.SetUseCustomPaperCode(true);
    report.Run.SetCustomPaperCode(77);
    report.Stored.SetUseCustomBinCode(true);

    form->PrintSetupClick(form);
    EXPECT_EQ(report.Setups, 1);
    EXPECT_EQ(owned.CustomBinCode(), 4);
    EXPECT_EQ(owned.FirstPage(), 2);
    EXPECT_EQ(owned.LastPage(), 3);
    EXPECT_EQ(owned.Collate(), 1);
    EXPECT_EQ(owned.ColorOption(), 2);
    EXPECT_EQ(owned.PrintQuality(), 300);
    EXPECT_EQ(owned.ExtendedDuplex(), 3);
    EXPECT_TRUE(owned.UseCustomBinCode());
    // The report keeps what was chosen.
    EXPECT_EQ(report.Stored.OutputBin(), TRpBin::Manual);
    EXPECT_EQ(report.Stored.Copies(), 2);
    EXPECT_EQ(report.Stored.FirstPage(), 2);
    EXPECT_EQ(report.Stored.MemoryLimit(), 1000);
    EXPECT_EQ(report.Stored.CustomPaperCode(), 77);
    EXPECT_FALSE(report.Stored.UseCustomBinCode()) << "taken from the dialog's settings";
    EXPECT_EQ(report.ReportPage.Orientation(), print::TPrinterOrientation::poLandscape);
    EXPECT_EQ(report.ReportPage.PaperSize(), TRpPaperSize::A5);

    // A bin code that no bin has keeps the bin; a stored report keeps the report's settings.
    report.Run.SetCustomBinCode(999);
    report.Run.SetCopies(5);
    StoredReportLoaded = true;
    form->PrintSetupClick(form);
    EXPECT_EQ(report.Stored.OutputBin(), TRpBin::Manual);
    EXPECT_EQ(report.Stored.Copies(), 2);
    EXPECT_EQ(owned.CustomBinCode(), 999);
}

TEST_F(StandardPreview, ClosingTellsThePrinterAndFreesTheWindow)
{
    BeginTextPages(printer, {{"Běží"}});
    int afterPreview = 0;
    printer.OnAfterPreview = [&](core::TObject*) { ++afterPreview; };
    auto* form = Open();
    form->ShowPreview();
    QPointer<QWidget> window = form->Widget();
    ui::WORD escape = ui::VK_ESCAPE;
    form->FormKeyDown(form, escape, 0);
    EXPECT_FALSE(printer.ShowingPreview());
    DeliverPosted();
    EXPECT_EQ(window, nullptr) << "the window freed itself";
    EXPECT_EQ(printer.Preview(), nullptr);
    EXPECT_EQ(afterPreview, 0) << "closing already told the printer; the preview going adds nothing";
    printer.EndDoc();
}

TEST_F(StandardPreview, TheStandardInterfaceOpensTheWindowAndTheBaseNone)
{
    RunTextPages(printer, {{"Rozhraní"}});
    TRpPreviewInterface base(nullptr);
    EXPECT_EQ(base.Show(&printer), nullptr);
    EXPECT_EQ(base.ShowModal(&printer), nullptr);
    std::unique_ptr<TRpPreviewInterface> standard = PreviewInterfaceClass()(nullptr);
    ui::TCustomForm* form = standard->Show(&printer);
    ASSERT_NE(form, nullptr);
    windows.emplace_back(form->Widget());
    EXPECT_EQ(form->Owner(), ui::Application);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(dynamic_cast<TRpStandardPreview*>(form)->StatusBar->Panels()[1].Text(), "Page 1 of 1");
}
