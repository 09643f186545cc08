// The printer over Qt: the printer list, device modes and capabilities, PDF
// documents checked with an independent PDF reader, errors of the call order.
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/PainterCanvas.h"
#include "platform/print/PrintDialog.h"
#include "platform/print/Printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

using namespace print;

namespace {

// Runs a poppler tool on a file and returns what it printed.
std::string RunTool(const char* tool, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(tool), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

std::string PdfText(const std::string& file)
{
    return RunTool(KONVERZE_PDFTOTEXT, {QString::fromStdString(file), QStringLiteral("-")});
}

int PdfPages(const std::string& file)
{
    std::string info = RunTool(KONVERZE_PDFINFO, {QString::fromStdString(file)});
    auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class PrinterTest : public testing::Test {
protected:
    std::string File(const char* name) const { return QDir(folder_.path()).filePath(QString::fromUtf8(name)).toStdString(); }
    QTemporaryDir folder_;
};

} // namespace

TEST_F(PrinterTest, WithoutPrintQueuesThePdfPrinterIsTheOnlyAndDefaultOne)
{
    TPrinter printer;
    ASSERT_EQ(printer.Printers().Count(), 1);
    EXPECT_EQ(printer.Printers().Get(0), "PDF");
    EXPECT_EQ(printer.PrinterIndex(), 0);
    EXPECT_TRUE(printer.IsPdfPrinter());
    EXPECT_THROW(printer.SetPrinterIndex(1), EPrinter);
    EXPECT_THROW(printer.SetPrinterIndex(-2), EPrinter);
    EXPECT_NO_THROW(printer.SetPrinterIndex(-1));
    EXPECT_EQ(printer.PrinterName(), "PDF");
}

TEST_F(PrinterTest, QueuesComeFirstAndWithNoPrinterAtAllNothingPrints)
{
    SetPrinterLister([] { return std::vector<std::string>{"Kancelář", "Podatelna"}; });
    {
        TPrinter printer;
        ASSERT_EQ(printer.Printers().Count(), 3);
        EXPECT_EQ(printer.Printers().Get(0), "Kancelář");
        EXPECT_EQ(printer.Printers().Get(2), "PDF");
        try {
            printer.SetPrinterIndex(3);
            ADD_FAILURE() << "an index past the list was taken";
        } catch (const EPrinter& e) {
            EXPECT_EQ(e.Message(), "Printer index out of range");
        }
    }
    SetPrinterLister([] { return std::vector<std::string>{}; });
    SetPdfPrinterOffered(false);
    {
        TPrinter printer;
        EXPECT_EQ(printer.Printers().Count(), 0);
        EXPECT_EQ(printer.PrinterIndex(), -1);
        EXPECT_EQ(printer.PageWidth(), 0);
        EXPECT_TRUE(printer.PaperCodes().empty());
        try {
            printer.BeginDoc();
            ADD_FAILURE() << "a document began without a printer";
        } catch (const EPrinter& e) {
            EXPECT_EQ(e.Message(), "There is no default printer currently selected");
        }
        EXPECT_FALSE(printer.Printing());
    }
    SetPdfPrinterOffered(true);
}

TEST_F(PrinterTest, TheDeviceModeOfThePdfPrinterAndItsDeviceCapabilities)
{
    TPrinter printer;
    TDeviceMode mode = printer.DeviceMode();
    EXPECT_EQ(mode.DeviceName, "PDF");
    EXPECT_EQ(mode.PaperSize, DMPAPER_A4);
    EXPECT_EQ(mode.PaperWidth, 2100);
    EXPECT_EQ(mode.PaperLength, 2970);
    EXPECT_EQ(mode.Orientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(mode.Copies, 1);
    EXPECT_EQ(mode.PrintQuality, 600);
    EXPECT_TRUE(mode.Has(DM_PAPERSIZE | DM_ORIENTATION | DM_COPIES | DM_DEFAULTSOURCE | DM_COLLATE | DM_COLOR));
    EXPECT_FALSE(mode.Has(DM_DUPLEX)) << "a PDF file has no sides";

    EXPECT_EQ(printer.LogPixelsX(), 600);
    EXPECT_EQ(printer.LogPixelsY(), 600);
    EXPECT_NEAR(printer.PhysicalWidth(), 4961, 4);
    EXPECT_NEAR(printer.PhysicalHeight(), 7016, 4);
    EXPECT_EQ(printer.PhysicalOffsetX(), 0);
    EXPECT_EQ(printer.PhysicalOffsetY(), 0);
    EXPECT_EQ(printer.PageWidth(), printer.PhysicalWidth());

    std::vector<int> codes = printer.PaperCodes();
    for (int code : {DMPAPER_LETTER, DMPAPER_LEGAL, DMPAPER_A3, DMPAPER_A4, DMPAPER_A4SMALL, DMPAPER_A5, DMPAPER_USER})
        EXPECT_NE(std::find(codes.begin(), codes.end(), code), codes.end()) << code;
    EXPECT_EQ(codes.back(), DMPAPER_USER);
    auto a4 = static_cast<std::size_t>(std::find(codes.begin(), codes.end(), DMPAPER_A4) - codes.begin());
    EXPECT_EQ(printer.PaperNames().at(a4), "A4");
    EXPECT_EQ(printer.PaperSizes().at(a4), (gfx::TPoint{2100, 2970}));
    EXPECT_EQ(printer.PaperNames().size(), codes.size());
    EXPECT_EQ(printer.BinCodes(), std::vector<int>{DMBIN_AUTO});
    EXPECT_EQ(printer.BinNames(), std::vector<std::string>{"Automatický výběr"});
}

TEST_F(PrinterTest, SettingADeviceModeChangesPaperOrientationAndCopies)
{
    TPrinter printer;
    TDeviceMode mode = printer.DeviceMode();
    mode.PaperSize = DMPAPER_LETTER;
    mode.PaperWidth = 0;
    mode.PaperLength = 0;
    mode.Orientation = DMORIENT_LANDSCAPE;
    mode.Copies = 3;
    mode.Collate = DMCOLLATE_TRUE;
    mode.Color = DMCOLOR_MONOCHROME;
    mode.Duplex = DMDUP_HORIZONTAL;
    mode.Fields |= DM_DUPLEX;
    printer.SetDeviceMode(mode);

    TDeviceMode read = printer.DeviceMode();
    EXPECT_EQ(read.PaperSize, DMPAPER_LETTER);
    EXPECT_EQ(read.PaperWidth, 2159);
    EXPECT_EQ(read.PaperLength, 2794);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_NEAR(printer.PhysicalWidth(), 6600, 2);
    EXPECT_NEAR(printer.PhysicalHeight(), 5100, 2);
    EXPECT_EQ(printer.Copies(), 3);
    EXPECT_EQ(printer.QtPrinter().copyCount(), 3);
    EXPECT_TRUE(printer.QtPrinter().collateCopies());
    EXPECT_EQ(printer.QtPrinter().colorMode(), QPrinter::GrayScale);
    EXPECT_EQ(read.Duplex, DMDUP_SIMPLEX) << "fields the device does not know are not taken";

    // A size of its own in 0.1 mm, in portrait.
    mode = printer.DeviceMode();
    mode.PaperSize = DMPAPER_USER;
    mode.PaperWidth = 1000;
    mode.PaperLength = 1500;
    mode.Orientation = DMORIENT_PORTRAIT;
    printer.SetDeviceMode(mode);
    EXPECT_EQ(printer.DeviceMode().PaperSize, DMPAPER_USER);
    EXPECT_EQ(printer.DeviceMode().PaperWidth, 1000);
    // Qt keeps page sizes in whole points, so the paper may be up to 0.2 mm off.
    EXPECT_NEAR(printer.PhysicalWidth(), 2362, 5);
    EXPECT_NEAR(printer.PhysicalHeight(), 3543, 5);

    // A code that is no paper keeps the paper; the class library's setters too.
    mode = printer.DeviceMode();
    mode.PaperSize = 9999;
    mode.PaperWidth = 0;
    printer.SetDeviceMode(mode);
    EXPECT_EQ(printer.DeviceMode().PaperSize, DMPAPER_USER);
    printer.SetCopies(2);
    printer.SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.DeviceMode().Copies, 2);
    EXPECT_EQ(printer.DeviceMode().Orientation, DMORIENT_LANDSCAPE);
    printer.ResetDeviceMode();
    EXPECT_EQ(printer.DeviceMode().PaperSize, DMPAPER_A4);
    EXPECT_EQ(printer.DeviceMode().Copies, 1);
}

TEST_F(PrinterTest, TwoPagesPrintToAPdfFile)
{
    TPrinter printer;
    std::string file = File("dva listy.pdf");
    printer.SetOutputFileName(file);
    printer.SetTitle("Zkouška tisku");
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    gfx::TCanvas& canvas = printer.Canvas();
    EXPECT_EQ(canvas.PixelsPerInch(), 600);
    canvas.Font().SetName("DejaVu Sans");
    canvas.Font().SetSize(12);
    EXPECT_EQ(canvas.Font().Height(), -100);
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.TextOut(600, 600, "Strana 1: Příliš žluťoučký kůň");
    canvas.Rectangle(500, 500, 4000, 1000);
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    canvas.TextOut(600, 600, "Strana 2: úpěl ďábelské ódy");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.LastOutputFile(), file);

    ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(file)));
    EXPECT_EQ(PdfPages(file), 2);
    std::string text = PdfText(file);
    EXPECT_TRUE(Contains(text, "Strana 1: Příliš žluťoučký kůň")) << text;
    EXPECT_TRUE(Contains(text, "Strana 2: úpěl ďábelské ódy")) << text;
    EXPECT_LT(text.find("Strana 1"), text.find('\f')) << "the first page ends before the second text";
    EXPECT_GT(text.find("Strana 2"), text.find('\f'));
}

TEST_F(PrinterTest, AStoredPageStretchedOverThePaperPrintsItsText)
{
    gfx::TMetafile page;
    page.SetWidth(794);
    page.SetHeight(1123);
    {
        gfx::TMetafileCanvas canvas(&page, 96);
        canvas.Font().SetName("DejaVu Sans");
        canvas.Font().SetSize(14);
        canvas.TextOut(96, 96, "Uložená stránka č. 1");
        canvas.Rectangle(90, 90, 700, 140);
    }
    TPrinter printer;
    std::string file = File("ulozena.pdf");
    printer.SetOutputFileName(file);
    printer.BeginDoc();
    int left = -printer.PhysicalOffsetX();
    int top = -printer.PhysicalOffsetY();
    printer.Canvas().StretchDraw(gfx::Rect(left, top, left + printer.PhysicalWidth(), top + printer.PhysicalHeight()), page);
    printer.EndDoc();
    EXPECT_EQ(PdfPages(file), 1);
    EXPECT_TRUE(Contains(PdfText(file), "Uložená stránka č. 1"));
}

TEST_F(PrinterTest, CallsOutOfOrderRaiseAndAnAbortedDocumentLeavesNoFile)
{
    TPrinter printer;
    try {
        printer.NewPage();
        ADD_FAILURE();
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), "Printer is not currently printing");
    }
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    EXPECT_THROW(printer.Canvas().Rectangle(0, 0, 10, 10), gfx::EInvalidGraphicOperation);

    std::string file = File("zrusene.pdf");
    printer.SetOutputFileName(file);
    printer.BeginDoc();
    try {
        printer.BeginDoc();
        ADD_FAILURE();
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message(), "Printing in progress");
    }
    EXPECT_THROW(printer.SetPrinterIndex(0), EPrinter);
    EXPECT_THROW(printer.SetCopies(2), EPrinter);
    printer.Canvas().TextOut(100, 100, "nedokončeno");
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(file)));

    // The next document runs normally.
    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted());
    printer.EndDoc();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(file)));
}

TEST_F(PrinterTest, AFileThatCannotBeWrittenIsReportedInCzech)
{
    TPrinter printer;
    printer.SetOutputFileName(File("chybí/složka.pdf"));
    try {
        printer.BeginDoc();
        ADD_FAILURE() << "printing began into a missing folder";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(Contains(e.Message(), "Tisk nelze zahájit")) << e.Message();
    }
    EXPECT_FALSE(printer.Printing());
}

TEST_F(PrinterTest, WithoutAFileNameThePdfGoesToTheDocumentsFolderUnderAFreeName)
{
    QByteArray home = qgetenv("HOME");
    QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", folder_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", folder_.path().toUtf8() + "/.config");
    {
        TPrinter printer;
        printer.SetTitle("Výkaz 2024/1");
        printer.BeginDoc();
        printer.EndDoc();
        EXPECT_EQ(printer.LastOutputFile(), File("Documents/Výkaz 2024_1.pdf"));
        printer.BeginDoc();
        printer.EndDoc();
        EXPECT_EQ(printer.LastOutputFile(), File("Documents/Výkaz 2024_1 (2).pdf"));
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(printer.LastOutputFile())));
    }
    qputenv("HOME", home);
    if (config.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(PrinterTest, WhatADialogChoseOnQtsPrinterIsTakenBack)
{
    TPrinter printer;
    QPrinter& qt = printer.QtPrinter();
    qt.setCopyCount(4);
    qt.setPageOrientation(QPageLayout::Landscape);
    qt.setPageSize(QPageSize(QPageSize::A5));
    qt.setOutputFileName(QString::fromStdString(File("z dialogu.pdf")));
    printer.TakeQtPrinterSettings();
    TDeviceMode mode = printer.DeviceMode();
    EXPECT_EQ(mode.Copies, 4);
    EXPECT_EQ(mode.Orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(mode.PaperSize, DMPAPER_A5);
    EXPECT_EQ(printer.OutputFileName(), File("z dialogu.pdf"));
    EXPECT_TRUE(printer.IsPdfPrinter());
}

TEST_F(PrinterTest, ThePrintDialogIsAReplaceableService)
{
    EXPECT_NE(dynamic_cast<TQtPrintDialogService*>(&PrintDialogService()), nullptr);
    TPrinter printer;
    TPrintDialogData data;
    data.MinPage = 1;
    data.MaxPage = 5;
    {
        TScopedPrintDialog dialog([](TPrinter& p, TPrintDialogData& d) {
            d.PrintRange = TPrintRange::prPageNums;
            d.FromPage = 2;
            d.ToPage = 3;
            d.Copies = 2;
            p.SetCopies(2);
            return true;
        });
        EXPECT_TRUE(PrintDialogService().Execute(printer, data));
        EXPECT_EQ(dialog.Calls(), 1);
    }
    EXPECT_EQ(data.PrintRange, TPrintRange::prPageNums);
    EXPECT_EQ(data.FromPage, 2);
    EXPECT_EQ(data.ToPage, 3);
    EXPECT_EQ(printer.Copies(), 2);
    EXPECT_NE(dynamic_cast<TQtPrintDialogService*>(&PrintDialogService()), nullptr) << "the scope put Qt's dialog back";
}

TEST_F(PrinterTest, TheApplicationWidePrinterCanBeReplaced)
{
    TPrinter* first = Printer();
    EXPECT_EQ(Printer(), first);
    std::unique_ptr<TPrinter> old = SetPrinter(std::make_unique<TPrinter>());
    EXPECT_EQ(old.get(), first);
    EXPECT_NE(Printer(), first);
}
