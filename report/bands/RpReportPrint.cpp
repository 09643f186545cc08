// Printing a report from its preview, the messages the report printer and
// the preview send to the report, and setting up the printer from the
// report's settings.

#include "platform/print/Printer.h"
#include "platform/ui/kernel/Forms.h"
#include "report/bands/RpReport.h"
#include "report/layout/RpMath.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrintDialog.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpProgressForm.h"
#include "report/printer/RpWindowMessages.h"

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
    printer.Settings().OnApplyPrinterSettings = OnApplyPrinterSettings;
    printer.Settings().OnGetPrinterSettings = OnGetPrinterSettings;
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

void TCustomRpReport::PrintSetup()
{
    TRpReportPrinterSettings& settings = *printerSettings_;
    TRpPrintDialog dialog(nullptr);
    print::TPrinter* printer = print::Printer();
    if (settings.PrinterIndex() >= 0 && settings.PrinterIndex() < printer->Printers().Count())
        printer->SetPrinterIndex(settings.PrinterIndex());
    if (rpPrinter_ != nullptr && rpPrinter_->Status() == TRpPrinterStatus::Finished) {
        dialog.SetMinPage(1);
        dialog.SetMaxPage(rpPrinter_->PageCount());
        dialog.SetFromPage(1);
        dialog.SetToPage(rpPrinter_->PageCount());
    } else {
        dialog.SetMinPage(0);
        dialog.SetMaxPage(9999);
    }
    dialog.SetOptions(print::poPageNums | print::poWarning);
    const bool landscape = page_->Orientation() == print::TPrinterOrientation::poLandscape;
    dialog.SetOrientation(static_cast<std::int16_t>(landscape ? print::DMORIENT_LANDSCAPE : print::DMORIENT_PORTRAIT));
    dialog.SetCopies(settings.Copies());
    runOrientation_ = page_->Orientation();
    runPaperSize_ = page_->PaperSize();
    if (!dialog.Execute()) {
        SetTag(1);
        return;
    }
    settings.SetCopies(dialog.Copies());
    settings.SetPrinterIndex(printer->PrinterIndex());
    page_->SetOrientation(dialog.Orientation() == print::DMORIENT_LANDSCAPE ? print::TPrinterOrientation::poLandscape
                                                                            : print::TPrinterOrientation::poPortrait);
    runOrientation_ = page_->Orientation();
    for (int p = static_cast<int>(TRpPaperSize::Letter); p < static_cast<int>(TRpPaperSize::Custom); ++p)
        if (PaperCode(static_cast<TRpPaperSize>(p)) == dialog.PaperSize())
            runPaperSize_ = static_cast<TRpPaperSize>(p);
    TRpReportPrinterSettings& run = *runSettings_;
    run.SetCustomBinCode(dialog.OutputBin());
    run.SetExtendedDuplex(dialog.DuplexCode());
    run.SetPrintQuality(dialog.PrintQuality());
    run.SetCollate(dialog.Collate());
    run.SetColorOption(dialog.ColorOption());
    run.SetCopies(dialog.Copies());
    run.SetFirstPage(dialog.FromPage());
    run.SetLastPage(dialog.ToPage());
    TRpBin bin = settings.OutputBin();
    for (int i = 0; i < kBinCount; ++i)
        if (BinCode(static_cast<TRpBin>(i)) == dialog.OutputBin())
            bin = static_cast<TRpBin>(i);
    run.SetOutputBin(bin);
    run.SetPrinterIndex(printer->PrinterIndex());
    run.SetDuplex(dialog.Duplex());
    if (dialog.PrintRange() == print::TPrintRange::prPageNums) {
        settings.SetFirstPage(dialog.FromPage());
        settings.SetLastPage(dialog.ToPage());
    } else {
        settings.SetFirstPage(0);
        settings.SetLastPage(0);
    }
    SetTag(0);
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
