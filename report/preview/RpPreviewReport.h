#pragma once
// What the standard preview asks of the report whose printer it shows: how
// the preview window should look, the report's page and printer options, its
// print setup and its printing. The report component implements it; the
// preview finds it as the printer's parent report. The names and signatures
// are the report's own, so that its members of the same name answer.

#include "platform/print/Printer.h"
#include "platform/ui/kernel/Forms.h"
#include "report/layout/RpPaperSizes.h"
#include "report/preview/RpPreview.h"

#include <cstdint>
#include <string>

namespace report {

class TRpPage;
class TRpReportPrinterSettings;

class TRpPreviewReport {
public:
    virtual ~TRpPreviewReport() = default;

    // The preview window.
    virtual ui::TFormStyle PrevFormStyle() const = 0;
    virtual int PreviewWidth() const = 0;
    virtual int PreviewHeight() const = 0;
    virtual ui::TWindowState PreviewInitialState() const = 0;
    virtual bool PrevShowThumbs() const = 0;
    virtual bool PrevShowSearch() const = 0;
    virtual TRpZoomState PrevInitialZoom() const = 0;
    // The report's zoom, percent.
    virtual std::int32_t ReportZoom() const = 0;
    virtual const std::string& ReportTitle() const = 0;

    // The report's page (its orientation and paper size).
    virtual TRpPage& Page() = 0;
    // The printer options the report stores.
    virtual TRpReportPrinterSettings& PrinterSettings() = 0;
    // What the last print setup chose, with the orientation and paper size
    // that its dialog reported.
    virtual TRpReportPrinterSettings& RunSettings() = 0;
    virtual print::TPrinterOrientation RunOrientation() const = 0;
    virtual TRpPaperSize RunPaperSize() const = 0;
    // Runs the print setup dialog, which fills RunSettings.
    virtual void PrintSetup() = 0;

    // True for a report that, printed from its preview, runs again straight
    // to the printer instead of printing the stored pages.
    virtual bool PrintsItselfAgain() const = 0;
    virtual void PrintReport() = 0;
};

} // namespace report
