// What an exporting report hands its filter, and the print setup dialog.
#include "BandTestSupport.h"
#include "tests/report/TempFolder.h"

#include "platform/print/DeviceMode.h"
#include "platform/print/PrintDialog.h"
#include "platform/print/Printer.h"
#include "platform/ui/kernel/Windows.h"
#include "report/preview/RpStandardPreview.h"
#include "report/printables/RpShape.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpWindowMessages.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <string>

namespace report::testing {
namespace {

using Names = std::vector<std::string>;
using report::test::ScopedTempFolder;

class RecordingFilter : public TRpExportFilter {
public:
    RecordingFilter() : TRpExportFilter("out.txt") {}
    void ExportStart(std::int32_t width, std::int32_t length, const ui::TFont& font) override
    {
        TRpExportFilter::ExportStart(width, length, font);
        Calls.push_back("start " + std::to_string(width) + "x" + std::to_string(length) + " " + font.Name());
    }
    void ExportEndPage() override { Calls.push_back("end page"); }
    void ExportFinish() override { Calls.push_back("finish"); }
    void ExportNewPage() override { Calls.push_back("new page"); }
    void ExportShape(TRpShape& shape, long double, long double) override
    {
        Calls.push_back(shape.Brush().Style() == gfx::TBrushStyle::bsSolid && shape.Pen().Style() == gfx::TPenStyle::psClear
                            ? "background"
                            : "shape");
    }
    void ExportBand(TRpCustomBand& band, long double x, long double y, bool expanded) override
    {
        Calls.push_back("band " + band.Name() + " " + std::to_string(static_cast<int>(x)) + "," +
                        std::to_string(static_cast<int>(y)) + (expanded ? " expanded" : ""));
    }
    Names Calls;
};

TEST(ReportExport, TheFilterHearsTheRunPageByPage)
{
    ReportForm f({"'A', 'x', 'one', 1", "'A', 'x', 'two', 2"});
    f.Query()->Open();
    TRpReport& report = *f.Report();
    report.Page().SetUnits(TRpUnit::MM);
    report.Page().SetPaperSize(TRpPaperSize::A4);
    TRpBand* header = f.AddBand(TRpBandType::rbPageHeader, "Header", 100);
    header->SetTransparentBand(true);
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 1500);
    RecordingFilter filter;
    report.SetExportFilter(&filter);
    EXPECT_TRUE(report.Exporting());
    f.Generate();
    EXPECT_EQ(filter.Calls, (Names{"start 2100x2970 Arial", "end page", "new page", "band Header 100,100",
                                   "background", "band Detail 100,200", "end page", "new page", "band Header 100,100",
                                   "background", "band Detail 100,200", "end page", "finish"}));
    // A started filter is not started again.
    filter.Calls.clear();
    detail->SetEnabled(false);
    f.Generate();
    EXPECT_EQ(filter.Calls.front(), "end page");
    report.SetExportFilter(nullptr);
    EXPECT_FALSE(report.Exporting());
}

class PrintSetup : public ::testing::Test {
protected:
    ReportForm f{{"'A', 'x', 'one', 1"}};
};

TEST_F(PrintSetup, CancellingChangesNothingAndSetsTagOne)
{
    TRpReportPrinterSettings& settings = f.Report()->PrinterSettings();
    settings.SetCopies(2);
    settings.SetFirstPage(5);
    print::TScopedPrintDialog service([](print::TPrinter&, print::TPrintDialogData& data) {
        EXPECT_EQ(data.MinPage, 0);
        EXPECT_EQ(data.MaxPage, 9999);
        EXPECT_EQ(data.Copies, 2);
        data.Copies = 9;
        return false;
    });
    f.Report()->PrintSetup();
    EXPECT_EQ(service.Calls(), 1);
    EXPECT_EQ(f.Report()->Tag(), 1);
    EXPECT_EQ(settings.Copies(), 2);
    EXPECT_EQ(settings.FirstPage(), 5);
    EXPECT_EQ(f.Report()->RunSettings().Copies(), 1);
}

TEST_F(PrintSetup, ConfirmingTakesCopiesRangeAndOrientation)
{
    f.Query()->Open();
    f.AddBand(TRpBandType::rbDetail, "Detail", 100);
    f.Generate();
    f.Report()->SetTag(7);
    print::TScopedPrintDialog service([](print::TPrinter& printer, print::TPrintDialogData& data) {
        EXPECT_EQ(data.MinPage, 1);
        EXPECT_EQ(data.MaxPage, 1);
        EXPECT_EQ(data.ToPage, 1);
        print::TDeviceMode mode = printer.DeviceMode();
        mode.Orientation = print::DMORIENT_LANDSCAPE;
        printer.SetDeviceMode(mode);
        data.PrintRange = print::TPrintRange::prPageNums;
        data.FromPage = 2;
        data.ToPage = 3;
        data.Copies = 4;
        return true;
    });
    f.Report()->PrintSetup();
    const TRpReportPrinterSettings& settings = f.Report()->PrinterSettings();
    EXPECT_EQ(f.Report()->Tag(), 0);
    EXPECT_EQ(settings.Copies(), 4);
    EXPECT_EQ(settings.FirstPage(), 2);
    EXPECT_EQ(settings.LastPage(), 3);
    EXPECT_EQ(f.Report()->RunSettings().Copies(), 4);
    EXPECT_EQ(f.Report()->RunSettings().FirstPage(), 2);
    EXPECT_EQ(f.Report()->Page().Orientation(), print::TPrinterOrientation::poLandscape);

    print::TScopedPrintDialog all([](print::TPrinter&, print::TPrintDialogData& data) {
        data.PrintRange = print::TPrintRange::prAllPages;
        return true;
    });
    f.Report()->PrintSetup();
    EXPECT_EQ(settings.FirstPage(), 0);
    EXPECT_EQ(settings.LastPage(), 0);
}

std::string PdfText(const std::string& file)
{
    QProcess process;
    process.start(QStringLiteral(KONVERZE_PDFTOTEXT), {QString::fromStdString(file), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

TEST(ReportPrinting, PrintedFromThePreviewTheReportRunsAgainOnThePrinter)
{
    ReportForm f({"'A', 'x', 'Rozsudek', 1", "'A', 'x', 'Usnesení', 2"});
    f.Query()->Open();
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 100), "{name}");
    TRpReport& report = *f.Report();
    report.SetShowProgress(false);
    ASSERT_TRUE(report.CreateRunPrinter());
    report.GenerateReport(false);
    TRpPrinter* preview = report.RpPrinter();

    ScopedTempFolder temp("print");
    const std::string pdf = temp.File("print.pdf");
    TRpDestination destination = TRpDestination::StoredPages;
    report.BeforePrint = [&](TCustomRpReport* sender, bool&) {
        destination = sender->RpPrinter()->Destination();
        sender->RpPrinter()->Printer()->SetOutputFileName(pdf);
    };
    // The preview's print request reaches the report through its printer.
    ui::SendMessage(report.Handle(), WM_RPPRINTREQUEST);
    EXPECT_EQ(destination, TRpDestination::Printer);
    EXPECT_EQ(report.RpPrinter(), preview);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Rozsudek"), std::string::npos) << text;
    EXPECT_NE(text.find("Usnesení"), std::string::npos) << text;
}

TEST(ReportPrinting, TheReportsPrinterEventsReachTheDeviceModeOfItsRuns)
{
    ReportForm f({"'A', 'x', 'Rozsudek', 1"});
    f.Query()->Open();
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 100), "{name}");
    TRpReport& report = *f.Report();
    report.SetShowProgress(false);
    report.PrinterSettings().SetCopies(3);
    int applied = 0;
    int copiesSeen = 0;
    report.OnApplyPrinterSettings = [&](core::TObject*, bool&, print::TDeviceMode* mode) {
        ++applied;
        copiesSeen = mode->Copies;
    };
    int read = 0;
    report.OnGetPrinterSettings = [&](core::TObject*, bool& cancel, print::TDeviceMode*) {
        ++read;
        cancel = true;
    };
    ASSERT_TRUE(report.CreateRunPrinter());
    report.GenerateReport(false);
    TRpPrinter* printer = report.RpPrinter();
    // A stored run applies nothing to the device, but the printer has the handlers.
    EXPECT_EQ(applied, 0);
    printer->SetPrinterIndex(printer->Printer()->PrinterIndex());
    EXPECT_EQ(read, 1);

    ScopedTempFolder temp("events");
    const std::string pdf = temp.File("events.pdf");
    report.BeforePrint = [&](TCustomRpReport* sender, bool&) {
        sender->RpPrinter()->Printer()->SetOutputFileName(pdf);
    };
    report.PrintReport();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(copiesSeen, 3);
}

TEST(ReportPreview, TheStandardPreviewShowsTheGeneratedPagesAsTheReportAsks)
{
    ReportForm f(std::vector<std::string>(30, "'A', 'x', 'n', 1"));
    f.Query()->Open();
    f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 150), "{name}");
    TRpReport& report = *f.Report();
    report.SetReportTitle("Přehled");
    report.SetPrevShowThumbs(false);
    report.SetPrevInitialZoom(TRpZoomState::rpZoomToWidth);
    report.SetPreviewWidth(0);
    EXPECT_EQ(report.PreviewWidth(), 500);
    EXPECT_EQ(report.PreviewHeight(), 500);
    ASSERT_TRUE(report.CreateRunPrinter());
    report.GenerateReport(false);
    TRpPrinter* printer = report.RpPrinter();
    ASSERT_EQ(printer->PageCount(), 2);
    EXPECT_EQ(printer->Client(), &report);

    auto* preview = ui::CreateComponent<TRpStandardPreview>(nullptr, printer);
    EXPECT_EQ(preview->RpPrinter(), printer);
    EXPECT_FALSE(preview->ShowThumbs());
    EXPECT_EQ(preview->InitialZoom(), TRpZoomState::rpZoomToWidth);
    ui::FreeComponent(preview);
    EXPECT_TRUE(report.PrintsItselfAgain());
}

} // namespace
} // namespace report::testing
