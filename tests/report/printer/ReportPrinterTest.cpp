// The report printer: call-order faults, stored runs with their posted
// messages, direct runs to the PDF printer with a page range, printing stored
// pages again with progress and cancel, loading and saving stored reports,
// the preview and client messages, links, and a report's options.
#include "platform/core/Files.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/gfx/Screen.h"
#include "platform/print/Printer.h"
#include "platform/ui/controls/ProgressBar.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/kernel/Forms.h"
#include "report/expr/RpMessages.h"
#include "report/layout/RpMath.h"
#include "report/layout/RpReportSite.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpProgressForm.h"
#include "report/printer/RpReportPrinterSettings.h"
#include "report/printer/RpWindowMessages.h"
#include "tests/report/FakeReport.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <fstream>
#include <optional>
#include <set>
#include <utility>

using namespace report;
using report::fakes::FakeReport;

namespace {

std::string PdfText(const std::string& file)
{
    QProcess process;
    process.start(QStringLiteral(KONVERZE_PDFTOTEXT), {QString::fromStdString(file), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

// A window that keeps the report messages it is given.
class MessageWindow : public ui::TForm {
public:
    MessageWindow() : ui::TForm(nullptr)
    {
        WindowProc = [this](ui::TMessage& message) {
            if (message.Msg >= ui::WM_USER && message.Msg < ui::WM_USER + 16)
                Messages.push_back(message);
            else
                WndProc(message);
        };
    }
    std::vector<ui::WPARAM> WParams(ui::UINT msg) const
    {
        std::vector<ui::WPARAM> values;
        for (const ui::TMessage& m : Messages)
            if (m.Msg == msg)
                values.push_back(m.WParam);
        return values;
    }
    std::vector<ui::TMessage> Messages;
};

// A preview that hears when its printer goes.
class ViewWindow : public MessageWindow, public TRpPrinterView {
public:
    void SetRpPrinter(TRpPrinter* printer) override
    {
        Printer = printer;
        ++Calls;
    }
    TRpPrinter* Printer = nullptr;
    int Calls = 0;
};

// Draws "Page n" on each page of a run.
void RunPages(TRpPrinter& printer, int pages)
{
    printer.BeginDoc();
    for (int n = 1; n <= pages; ++n) {
        printer.NewPage();
        ASSERT_NE(printer.Canvas(), nullptr);
        printer.Canvas()->TextOut(printer.XPos(200), printer.YPos(200), "Page " + std::to_string(n));
    }
    printer.EndDoc();
}

// The texts drawn on a recorded page.
std::string PageText(gfx::TMetafile& page)
{
    std::string text;
    for (const std::string& t : gfx::MetafileTexts(page))
        text += t;
    return text;
}

class ReportPrinterTest : public testing::Test {
protected:
    std::string File(const char* name) const
    {
        return QDir(folder_.path()).filePath(QString::fromUtf8(name)).toStdString();
    }
    void TearDown() override { StoredReportLoaded = false; }
    QTemporaryDir folder_;
};

} // namespace

TEST(RpMathTest, RoundsHalvesToEvenAndTruncatesTowardZero)
{
    EXPECT_EQ(RpRound(2.5L), 2);
    EXPECT_EQ(RpRound(3.5L), 4);
    EXPECT_EQ(RpRound(-2.5L), -2);
    EXPECT_EQ(RpRound(2.51L), 3);
    EXPECT_EQ(RpTrunc(-2.7L), -2);
    EXPECT_EQ(RpTrunc(2.7L), 2);
    EXPECT_EQ(RpRound(1e20L), 2147483647);
}

TEST_F(ReportPrinterTest, CallOrderFaultsRaiseTheirMessages)
{
    TRpPrinter printer(nullptr);
    try {
        printer.NewPage();
        FAIL() << "NewPage before BeginDoc";
    } catch (const ERpError& e) {
        EXPECT_STREQ(e.what(), "Illegal call to NewPage");
    }
    printer.BeginDoc();
    printer.NewPage();
    printer.NewPage();
    try {
        printer.BeginDoc();
        FAIL() << "BeginDoc twice";
    } catch (const ERpError& e) {
        EXPECT_STREQ(e.what(), "RpPrinter not ready");
    }
    // The refused call leaves the run and its open page alone.
    EXPECT_EQ(printer.AvailablePages(), 1);
    ASSERT_NE(printer.Canvas(), nullptr);
    printer.Canvas()->TextOut(5, 5, "still here");
    printer.EndDoc();
    ASSERT_NE(printer.GetPage(2), nullptr);
    EXPECT_EQ(PageText(*printer.GetPage(2)), "still here");
    EXPECT_THROW(printer.NewPage(), ERpError);
    EXPECT_THROW(printer.BeginDoc(), ERpError);
    printer.Cleanup();
    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Ready);
    EXPECT_NO_THROW(printer.BeginDoc());
}

TEST_F(ReportPrinterTest, StoredRunKeepsPagesAndPostsTheirCount)
{
    MessageWindow preview;
    TRpPrinter printer(nullptr);
    printer.SetPreview(&preview);
    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Ready);
    EXPECT_EQ(printer.XFactor(), 96.0L / 254);

    printer.BeginDoc();
    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Busy);
    printer.NewPage();
    printer.Canvas()->TextOut(10, 10, "Page 1");
    printer.NewPage();
    printer.Canvas()->TextOut(10, 10, "Page 2");
    // Pages already finished can be read while the run goes on.
    std::unique_ptr<gfx::TMetafile> early = printer.GetPage(1);
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(PageText(*early), "Page 1");
    printer.NewPage();
    printer.Canvas()->TextOut(10, 10, "Page 3");
    printer.EndDoc();
    QApplication::processEvents();

    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Finished);
    EXPECT_EQ(printer.PageCount(), 3);
    EXPECT_EQ(printer.AvailablePages(), 3);
    EXPECT_EQ(preview.WParams(WM_RPAVAILABLEPAGES), (std::vector<ui::WPARAM>{1, 2, 3}));
    EXPECT_EQ(printer.PageList().PageCount(), 3);

    std::unique_ptr<gfx::TMetafile> third = printer.GetPage(3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(PageText(*third), "Page 3");
    // A4 at the screen's resolution.
    long double factor = static_cast<long double>(gfx::ScreenPixelsPerInch()) / 254;
    EXPECT_EQ(third->Width(), RpRound(2100 * factor));
    EXPECT_EQ(third->Height(), RpRound(2970 * factor));
    EXPECT_EQ(printer.GetPage(0), nullptr);
    EXPECT_EQ(printer.GetPage(4), nullptr);

    printer.Cleanup();
    EXPECT_EQ(printer.GetPage(1), nullptr);
    EXPECT_EQ(printer.PageStream(), nullptr);
}

TEST_F(ReportPrinterTest, ARunWithoutPagesOffersNone)
{
    MessageWindow preview;
    TRpPrinter printer(nullptr);
    printer.SetPreview(&preview);
    printer.BeginDoc();
    printer.EndDoc();
    QApplication::processEvents();
    EXPECT_EQ(printer.AvailablePages(), 0);
    EXPECT_TRUE(preview.Messages.empty());
    EXPECT_EQ(printer.GetPage(1), nullptr);
}

TEST_F(ReportPrinterTest, ProgressIsPostedToThePreview)
{
    MessageWindow preview;
    TRpPrinter printer(nullptr);
    printer.SetPreview(&preview);
    printer.SetProgress(40);
    EXPECT_EQ(printer.Progress(), 40);
    EXPECT_TRUE(preview.Messages.empty()); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(preview.WParams(WM_RPPROGRESS), (std::vector<ui::WPARAM>{40}));

    // A preview that went away is not written to.
    auto* gone = new MessageWindow;
    printer.SetPreview(gone);
    printer.SetProgress(50);
    delete gone;
    EXPECT_EQ(printer.Preview(), nullptr);
    QApplication::processEvents();
}

TEST_F(ReportPrinterTest, UnitsBecomeDevicePixels)
{
    TRpPrinter printer(nullptr);
    EXPECT_EQ(printer.XSize(254), 96);
    EXPECT_EQ(printer.YSize(2540), 960);
    EXPECT_EQ(printer.XPos(127), 48);
    EXPECT_EQ(printer.PaperWidth(), 2100);
    EXPECT_EQ(printer.PaperLength(), 2970);
    ASSERT_TRUE(printer.SetOrientation(print::TPrinterOrientation::poLandscape));
    EXPECT_EQ(printer.PaperWidth(), 2970);
    EXPECT_EQ(printer.PaperLength(), 2100);
    ASSERT_TRUE(printer.SetPaperSize(TRpPaperSize::Default));
    printer.SetPaperWidth(1000);
    printer.SetPaperLength(500);
    EXPECT_EQ(printer.PaperWidth(), 500);
    EXPECT_EQ(printer.PaperLength(), 1000);
}

TEST_F(ReportPrinterTest, DirectRunPrintsOnlyThePageRange)
{
    TRpPrinter printer(nullptr);
    std::string pdf = File("range.pdf");
    printer.Printer()->SetOutputFileName(pdf);
    printer.SetDestination(TRpDestination::Printer);
    printer.SetFirstPage(2);
    printer.SetLastPage(3);
    printer.SetTitle("Rozsah");
    int afterPrint = 0;
    printer.OnAfterPrint = [&](core::TObject* sender) {
        EXPECT_EQ(sender, &printer);
        ++afterPrint;
    };
    std::vector<bool> toPrinter;
    printer.BeginDoc();
    long double dpi = printer.Printer()->LogPixelsX();
    EXPECT_EQ(printer.XFactor(), dpi / 254);
    EXPECT_EQ(printer.LeftWaste(), printer.Settings().LeftOffset());
    for (int n = 1; n <= 5; ++n) {
        printer.NewPage();
        toPrinter.push_back(printer.Canvas() == &printer.Printer()->Canvas());
        printer.Canvas()->TextOut(printer.XPos(300), printer.YPos(300), "Strana " + std::to_string(n));
    }
    printer.EndDoc();
    EXPECT_EQ(toPrinter, (std::vector<bool>{false, true, true, false, false}));
    EXPECT_EQ(afterPrint, 1);
    EXPECT_EQ(printer.PageCount(), 5);
    EXPECT_EQ(printer.PageList().PageCount(), 0);

    std::string text = PdfText(pdf);
    EXPECT_EQ(text.find("Strana 1"), std::string::npos);
    EXPECT_NE(text.find("Strana 2"), std::string::npos);
    EXPECT_NE(text.find("Strana 3"), std::string::npos);
    EXPECT_EQ(text.find("Strana 4"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
}

TEST_F(ReportPrinterTest, StoredPagesPrintAgainWithProgress)
{
    TRpPrinter printer(nullptr);
    RunPages(printer, 5);
    std::string pdf = File("again.pdf");
    printer.Printer()->SetOutputFileName(pdf);
    printer.SetFirstPage(3);
    printer.SetLastPage(4);

    // The event loop runs once per printed page, before its progress is set.
    std::set<int> seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { seen.insert(printer.Progress()); });
    watch.start(0);
    printer.Print();
    watch.stop();
    EXPECT_EQ(printer.Progress(), 100);
    EXPECT_TRUE(seen.count(50)) << "progress 50 was never seen";
    EXPECT_EQ(printer.Preview(), nullptr);

    std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Page 3"), std::string::npos);
    EXPECT_NE(text.find("Page 4"), std::string::npos);
    EXPECT_EQ(text.find("Page 5"), std::string::npos);
    EXPECT_EQ(text.find("Page 2"), std::string::npos);
}

// Prints three stored pages with a range to a PDF file and gives the pages
// that reached it.
class StoredRange : public ReportPrinterTest {
protected:
    StoredRange() { RunPages(printer, 3); }
    std::vector<std::string> PrintedPages(std::int32_t first, std::int32_t last)
    {
        const std::string pdf = File(("range" + std::to_string(++files_) + ".pdf").c_str());
        printer.Printer()->SetOutputFileName(pdf);
        printer.SetFirstPage(first);
        printer.SetLastPage(last);
        printer.Print();
        std::vector<std::string> pages;
        const std::string text = PdfText(pdf);
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\f', start)) != std::string::npos; start = end + 1) {
            std::string page = text.substr(start, end - start);
            while (!page.empty() && (page.back() == '\n' || page.back() == ' '))
                page.pop_back();
            pages.push_back(page);
        }
        return pages;
    }
    using Pages = std::vector<std::string>;
    TRpPrinter printer{nullptr};
    int files_ = 0;
};

TEST_F(StoredRange, BoundsPastThePagesAreThePagesThereAre)
{
    EXPECT_EQ(PrintedPages(0, 0), (Pages{"Page 1", "Page 2", "Page 3"}));
    EXPECT_EQ(PrintedPages(1, 10), (Pages{"Page 1", "Page 2", "Page 3"}));
    EXPECT_EQ(PrintedPages(2, 2147483647), (Pages{"Page 2", "Page 3"}));
    EXPECT_EQ(PrintedPages(-5, 2), (Pages{"Page 1", "Page 2"}));
    EXPECT_EQ(PrintedPages(-2147483647 - 1, -1), (Pages{"Page 1", "Page 2", "Page 3"}));
    EXPECT_EQ(PrintedPages(3, 0), (Pages{"Page 3"}));
    EXPECT_EQ(printer.Progress(), 100);
    EXPECT_EQ(printer.StoredPagesRange().First, 3);
    EXPECT_EQ(printer.StoredPagesRange().Last, 3);
}

TEST_F(StoredRange, ARangeWithoutPagesPrintsNothingAndSaysSo)
{
    for (const auto& [first, last] : std::vector<std::pair<int, int>>{{4, 0}, {5, 10}, {3, 2}, {2147483647, 0}}) {
        const std::string pdf = File("none.pdf");
        printer.Printer()->SetOutputFileName(pdf);
        printer.SetFirstPage(first);
        printer.SetLastPage(last);
        try {
            printer.Print();
            ADD_FAILURE() << first << "-" << last << " printed";
        } catch (const ERpError& error) {
            EXPECT_EQ(error.Message(), "No page to print: the report has 3 pages, the print range is " +
                                           std::to_string(first) + " to " + std::to_string(last));
        }
        // No job was begun: no file, no progress form left behind.
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf))) << first << "-" << last;
        EXPECT_FALSE(printer.Printer()->Printing());
        EXPECT_EQ(printer.Preview(), nullptr);
    }
    // The stored pages are still there to print.
    EXPECT_EQ(PrintedPages(2, 3), (Pages{"Page 2", "Page 3"}));
}

TEST_F(ReportPrinterTest, ADirectRunWhosePagesAllFallOutsideTheRangeSaysSo)
{
    TRpPrinter printer(nullptr);
    const std::string pdf = File("outside.pdf");
    printer.Printer()->SetOutputFileName(pdf);
    printer.SetDestination(TRpDestination::Printer);
    printer.SetFirstPage(5);
    int afterPrint = 0;
    printer.OnAfterPrint = [&](core::TObject*) { ++afterPrint; };
    printer.BeginDoc();
    for (int n = 1; n <= 3; ++n)
        printer.NewPage();
    EXPECT_THROW(printer.EndDoc(), ERpError);
    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Finished);
    EXPECT_EQ(afterPrint, 0);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf)));
    // A run without any page is no range fault.
    TRpPrinter empty(nullptr);
    empty.SetDestination(TRpDestination::Printer);
    empty.SetFirstPage(5);
    empty.BeginDoc();
    EXPECT_NO_THROW(empty.EndDoc());
}

TEST_F(ReportPrinterTest, CancelFromTheProgressFormStopsPrinting)
{
    TRpPrinter printer(nullptr);
    RunPages(printer, 3);
    EXPECT_EQ(printer.PageNumber(), 3);
    std::string pdf = File("cancelled.pdf");
    printer.Printer()->SetOutputFileName(pdf);

    bool clicked = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* form = dynamic_cast<TRpProgressForm*>(ui::TControl::FromWidget(window));
            if (form != nullptr && form->RpPrinter() == &printer) {
                EXPECT_EQ(form->Caption(), "Printing progress");
                EXPECT_EQ(form->CancelButton->Caption(), "Cancel");
                form->CancelButton->Click();
                clicked = true;
            }
        }
    });
    printer.Print();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(printer.Cancelled());
    // Only the first page was drawn before the job was aborted.
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_FALSE(printer.Printer()->Printing());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf)));
}

TEST_F(ReportPrinterTest, SavedPagesLoadBackWithTheirPaper)
{
    std::string file = File("a4.rpf");
    {
        TRpPrinter printer(nullptr);
        RunPages(printer, 2);
        printer.Save(file);
    }
    TRpPrinter loaded(nullptr);
    ASSERT_TRUE(loaded.SetPaperSize(TRpPaperSize::A5));
    loaded.OnExportToFilter = [](TRpExportFilter*) {};
    loaded.OnPrintSetup = [](core::TObject*) {};
    loaded.Load(file);
    EXPECT_EQ(loaded.Status(), TRpPrinterStatus::Finished);
    EXPECT_EQ(loaded.PageCount(), 2);
    EXPECT_TRUE(loaded.LoadedFromFile());
    EXPECT_TRUE(StoredReportLoaded);
    EXPECT_FALSE(loaded.OnExportToFilter);
    EXPECT_FALSE(loaded.OnPrintSetup);
    // 210 x 297 mm: A4 and A4Small match; the later row wins.
    EXPECT_EQ(loaded.PaperSize(), TRpPaperSize::A4Small);
    EXPECT_EQ(loaded.Orientation(), print::TPrinterOrientation::poPortrait);
    std::unique_ptr<gfx::TMetafile> second = loaded.GetPage(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(PageText(*second), "Page 2");

    std::string turned = File("landscape.rpf");
    {
        TRpPrinter printer(nullptr);
        ASSERT_TRUE(printer.SetOrientation(print::TPrinterOrientation::poLandscape));
        RunPages(printer, 1);
        printer.Save(turned);
    }
    loaded.Load(turned);
    EXPECT_EQ(loaded.PageCount(), 1);
    EXPECT_EQ(loaded.PaperSize(), TRpPaperSize::A4Small);
    EXPECT_EQ(loaded.Orientation(), print::TPrinterOrientation::poLandscape);
}

TEST_F(ReportPrinterTest, SavingWorksOnlyWhenFinished)
{
    TRpPrinter printer(nullptr);
    std::string file = File("busy.rpf");
    printer.BeginDoc();
    printer.NewPage();
    printer.Save(file);
    EXPECT_FALSE(core::FileExists(file));
    printer.EndDoc();
    printer.Save(file);
    EXPECT_TRUE(core::FileExists(file));
}

TEST_F(ReportPrinterTest, ClientGetsThePrintRequestAndThePreviewClosing)
{
    MessageWindow client;
    TRpPrinter printer(nullptr);
    printer.SetClient(&client);
    RunPages(printer, 1);
    printer.Print();
    EXPECT_TRUE(client.Messages.empty()); // posted
    QApplication::processEvents();
    ASSERT_EQ(client.Messages.size(), 1u);
    EXPECT_EQ(client.Messages[0].Msg, ui::WM_USER + 2u);

    client.Messages.clear();
    printer.SetShowingPreview(true);
    printer.ClosePreview();
    ASSERT_EQ(client.Messages.size(), 1u); // sent at once
    EXPECT_EQ(client.Messages[0].Msg, ui::WM_USER + 4u);
    EXPECT_EQ(client.Messages[0].LParam, reinterpret_cast<ui::LPARAM>(&printer));
    EXPECT_FALSE(printer.ShowingPreview());
}

TEST_F(ReportPrinterTest, TurningAShownPreviewOffCancelsTheRun)
{
    TRpPrinter printer(nullptr);
    int afterPreview = 0;
    printer.OnAfterPreview = [&](core::TObject*) { ++afterPreview; };
    printer.SetShowingPreview(false);
    EXPECT_EQ(afterPreview, 0);
    printer.SetShowingPreview(true);
    printer.BeginDoc();
    printer.SetShowingPreview(false);
    EXPECT_TRUE(printer.Cancelled());
    EXPECT_EQ(afterPreview, 1);
    EXPECT_FALSE(printer.ShowingPreview());
}

TEST_F(ReportPrinterTest, AbortKeepsTheOpenPageUnlessExporting)
{
    FakeReport report;
    TRpPrinter printer(&report);
    printer.BeginDoc();
    printer.NewPage();
    printer.AbortDoc();
    EXPECT_EQ(printer.Status(), TRpPrinterStatus::Finished);
    EXPECT_EQ(printer.PageList().PageCount(), 1);

    TRpExportFilter filter("x");
    report.Filter = &filter;
    printer.Cleanup();
    printer.BeginDoc();
    printer.NewPage();
    printer.AbortDoc();
    EXPECT_EQ(printer.PageList().PageCount(), 0);
}

TEST_F(ReportPrinterTest, ReportOptionsChooseThePrinterAndTheMemoryLimit)
{
    FakeReport report;
    report.Settings.SetUseStandardprinter(true);
    report.Settings.SetMemoryLimit(1000);
    {
        TRpPrinter printer(&report);
        EXPECT_EQ(printer.Printer(), print::Printer());
        EXPECT_TRUE(printer.UseStandardprinter());
        printer.BeginDoc();
        EXPECT_EQ(printer.PageStream()->MemoryLimit(), 1000);
        printer.EndDoc();
    }
    TRpPrinter own(nullptr);
    EXPECT_NE(own.Printer(), print::Printer());
    EXPECT_EQ(own.ParentReport(), nullptr);
}

TEST_F(ReportPrinterTest, APreviewIsDetachedWhenThePrinterGoes)
{
    ViewWindow view;
    {
        TRpPrinter printer(nullptr);
        printer.SetPreview(&view);
        view.Printer = &printer;
    }
    EXPECT_EQ(view.Printer, nullptr);
    EXPECT_EQ(view.Calls, 1);
}

TEST_F(ReportPrinterTest, LinksGoToTheirHandlers)
{
    TRpPrinter printer(nullptr);
    std::vector<std::string> got;
    TRpPrinter::RegisterLinkHandler("page:", [&](TRpPrinter* p, const std::string& rest) {
        EXPECT_EQ(p, &printer);
        got.push_back("page " + rest);
    });
    TRpPrinter::RegisterLinkHandler("pa", [&](TRpPrinter*, const std::string& rest) { got.push_back("pa " + rest); });
    printer.FollowLink("INT:page:12");
    printer.FollowLink("int:page:3");
    printer.FollowLink("page:7");
    printer.FollowLink("pax");
    printer.FollowLink("INT:unknown"); // nobody takes it, and nothing is opened
    TRpPrinter::UnregisterLinkHandler("page:");
    TRpPrinter::UnregisterLinkHandler("pa");
    EXPECT_EQ(got, (std::vector<std::string>{"page 12", "page 3", "page 7", "pa x"}));
}

TEST_F(ReportPrinterTest, OnlyWebAndMailLinksReachTheDesktop)
{
    TRpPrinter printer(nullptr);
    testsupport::TempFolder folder;
    const std::string local = folder.File("smlouva.pdf");
    std::ofstream(local) << "x";
    // Each link alone, so what the desktop got is that link's.
    auto opened = [&](const std::string& link) -> std::optional<std::vector<std::string>> {
        testsupport::StandInTool opener("xdg-open");
        printer.FollowLink(link);
        return opener.Arguments(std::chrono::milliseconds(500));
    };
    for (const std::string& link : {std::string("https://www.example.cz/stazeni.php?id=1"),
                                    std::string("HTTP://example.cz/"), std::string("mailto:notar@example.cz")}) {
        const auto arguments = opened(link);
        ASSERT_TRUE(arguments) << link;
        EXPECT_EQ(*arguments, std::vector<std::string>{link});
    }
    const auto external = opened("EXT:https://www.example.cz/");
    ASSERT_TRUE(external);
    EXPECT_EQ(*external, std::vector<std::string>{"https://www.example.cz/"});
    // Local files, scripts and every other scheme are refused: the desktop
    // hears of none of them.
    testsupport::StandInTool opener("xdg-open");
    for (const std::string& link :
         {"file://" + local, local, "EXT:" + local, "EXT:file://" + local, std::string("javascript:alert(1)"),
          std::string("JavaScript:alert(1)"), std::string("ftp://example.cz/a"), std::string("smb://server/share"),
          std::string("vbscript:x"), std::string("-v"), std::string(""), std::string("EXT:")})
        printer.FollowLink(link);
    EXPECT_FALSE(opener.Arguments(std::chrono::milliseconds(500)));
}

TEST_F(ReportPrinterTest, ExportGoesToTheHandler)
{
    TRpPrinter printer(nullptr);
    TRpExportFilter filter("out");
    printer.ExportToFilter(&filter); // no handler: nothing
    TRpExportFilter* got = nullptr;
    printer.OnExportToFilter = [&](TRpExportFilter* f) { got = f; };
    printer.ExportToFilter(&filter);
    EXPECT_EQ(got, &filter);
}

TEST_F(ReportPrinterTest, CanvasObjectsLiveForOnePage)
{
    struct Counted : core::TObject {
        explicit Counted(int& alive) : alive_(alive) { ++alive_; }
        ~Counted() override { --alive_; }
        int& alive_;
    };
    int alive = 0;
    TRpPrinter printer(nullptr);
    printer.BeginDoc();
    printer.NewPage();
    printer.AddCanvasObject(std::make_unique<Counted>(alive));
    printer.AddCanvasObject(std::make_unique<Counted>(alive));
    EXPECT_EQ(alive, 2);
    printer.NewPage();
    EXPECT_EQ(alive, 0);
    printer.AddCanvasObject(std::make_unique<Counted>(alive));
    printer.EndDoc();
    EXPECT_EQ(alive, 0);
}

TEST_F(ReportPrinterTest, WithoutPrintersNothingIsPrinted)
{
    print::SetPdfPrinterOffered(false);
    print::Printer()->Refresh();
    {
        TRpPrinter printer(nullptr);
        EXPECT_FALSE(printer.PrinterOK());
        RunPages(printer, 1);
        EXPECT_NO_THROW(printer.Print());
        EXPECT_NO_THROW(printer.SetPrinterIndex(0));
        EXPECT_EQ(printer.Progress(), 0);
    }
    print::SetPdfPrinterOffered(true);
    print::Printer()->Refresh();
    TRpPrinter printer(nullptr);
    EXPECT_TRUE(printer.PrinterOK());
}

TEST_F(ReportPrinterTest, TheProgressFormShowsEveryFifthPercent)
{
    TRpPrinter printer(nullptr);
    auto* form = ui::CreateComponent<TRpProgressForm>(nullptr);
    form->SetRpPrinter(&printer);
    EXPECT_EQ(form->Name(), "RpProgressForm");
    EXPECT_EQ(form->ClientWidth(), 149);
    EXPECT_EQ(form->ClientHeight(), 97);
    EXPECT_EQ(form->Gauge->Max(), 100);
    printer.SetPreview(form);

    printer.SetProgress(55);
    QApplication::processEvents();
    EXPECT_EQ(form->Gauge->Position(), 55);
    EXPECT_EQ(form->Info->Caption(), "55%  Completed");

    printer.SetProgress(52);
    QApplication::processEvents();
    EXPECT_EQ(form->Gauge->Position(), 55);
    EXPECT_EQ(form->Info->Caption(), "55%  Completed");

    form->CancelButtonClick(form->CancelButton);
    EXPECT_TRUE(printer.Cancelled());
    ui::FreeComponent(form);
    EXPECT_EQ(printer.Preview(), nullptr);
}
