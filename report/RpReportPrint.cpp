// Printing a report from its preview, the messages the report printer and
// the preview send to the report, and setting up the printer from the
// report's settings.

#include "platform/print/Printer.h"
#include "platform/ui/Forms.h"
#include "report/RpExportFilter.h"
#include "report/RpMath.h"
#include "report/RpPrinter.h"
#include "report/RpProgressForm.h"
#include "report/RpReport.h"
#include "report/RpWindowMessages.h"

namespace report {

namespace {
inline constexpr const char* kPrintingProgress = "Printing progress";
}

void TCustomRpReport::Cancel()
{
    if (available_)
        return;
    cancelled_ = true;
    if (rpPrinter_ != nullptr)
        rpPrinter_->Cancel();
}

void TCustomRpReport::SetExportFilter(TRpExportFilter* filter)
{
    exportFilter_ = filter;
    exporting_ = filter != nullptr;
}

void TCustomRpReport::SetupPrinter(TRpPrinter& printer)
{
    const TRpReportPrinterSettings& settings = *printerSettings_;
    const TRpPage& page = *page_;
    printer.SetPrinterIndex(settings.PrinterIndex());
    printer.SetPaperSize(page.PaperSize());
    if (page.PaperSize() == TRpPaperSize::Custom) {
        printer.SetPaperWidth(RpRound(page.NativeValue(TRpPage::kWidth)));
        printer.SetPaperLength(RpRound(page.NativeValue(TRpPage::kLength)));
    }
    printer.SetOrientation(page.Orientation());
    printer.SetCopies(settings.Copies());
    printer.SetOutputBin(settings.OutputBin());
    printer.SetFirstPage(settings.FirstPage());
    printer.SetLastPage(settings.LastPage());
    printer.SetDuplex(settings.Duplex());
    printer.Settings().SetUseStandardprinter(settings.UseStandardprinter());
    printer.SetPrintMetafile(settings.PrintMetaFile());
    printer.SetUseCustomBinCode(settings.UseCustomBinCode());
    printer.SetCustomBinCode(settings.CustomBinCode());
    printer.SetUseCustomPaperCode(settings.UseCustomPaperCode());
    printer.SetCustomPaperCode(settings.CustomPaperCode());
    printer.SetPrintQuality(settings.PrintQuality());
    printer.SetCollate(settings.Collate());
    printer.SetColorOption(settings.ColorOption());
    printer.SetExtendedDuplex(settings.ExtendedDuplex());
}

void TCustomRpReport::PrintReport()
{
    TRpPrinter* former = rpPrinter_;
    std::unique_ptr<TRpPrinter> formerOwned = std::move(ownPrinter_);
    const bool created = CreateRunPrinter();
    TRpProgressForm* form = nullptr;
    auto restore = [&] {
        if (form != nullptr)
            ui::FreeComponent(form);
        form = nullptr;
        if (created)
            ownPrinter_.reset();
        ownPrinter_ = std::move(formerOwned);
        rpPrinter_ = former;
    };
    if (!created || print::Printer()->Printers().Count() == 0) {
        restore();
        return;
    }
    try {
        rpPrinter_->SetDestination(TRpDestination::Printer);
        form = ui::CreateComponent<TRpProgressForm>(nullptr);
        form->SetCaption(kPrintingProgress);
        form->SetRpPrinter(rpPrinter_);
        if (showProgress_)
            form->Show();
        rpPrinter_->SetPreview(form);
        GenerateReport(false);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TCustomRpReport::WndProc(ui::TMessage& message)
{
    switch (message.Msg) {
    case WM_RPAVAILABLEPAGES:
        if (message.WParam == 1 && rpPrinter_ != nullptr)
            SetDesignImage(rpPrinter_->GetPage(1));
        return;
    case WM_RPPRINTREQUEST:
        PrintReport();
        return;
    case WM_RPPREVIEWCLOSED:
        if (!available_) {
            Cancel();
            return;
        }
        if (rpPrinter_ != nullptr) {
            if (rpPrinter_->ShowingPreview())
                rpPrinter_->SetShowingPreview(false);
            if (ownPrinter_.get() == rpPrinter_)
                ownPrinter_.reset();
            rpPrinter_ = nullptr;
        }
        return;
    default:
        TRpBasePanel::WndProc(message);
    }
}

} // namespace report
