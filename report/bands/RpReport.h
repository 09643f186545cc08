#pragma once
// The report: a panel placed on a form that holds the bands and printables,
// owns the page description, the printer settings, the report's variables
// and the controller that drives the detail loop. GenerateReport runs it: the
// report printer is prepared, the variables and every controller and
// printable, the controller runs, and while the bands print the report keeps
// the geometry of the page: the position, the column, the page count, page
// headers and footers and the frame around the page.

#include "platform/core/StringList.h"
#include "report/bands/RpBasePanel.h"
#include "report/layout/RpBandTypes.h"
#include "report/bands/RpController.h"
#include "report/expr/RpEnvironment.h"
#include "report/layout/RpPage.h"
#include "report/preview/RpPreviewReport.h"
#include "report/printer/RpPrinterSettings.h"
#include "report/printer/RpReportPrinterSettings.h"
#include "report/layout/RpReportSite.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace data {
class TDataSet;
}

namespace gfx {
class TMetafile;
}

namespace report {

class TCustomRpReport;
class TRpBand;
class TRpCustomBand;
class TRpExportFilter;
class TRpPrinter;
class TRpPrintable;
class TRpReportBands;
class TRpTextMeasure;

using TRpReportBeforePrintEvent = std::function<void(TCustomRpReport* Sender, bool& PrintReport)>;
using TRpNotifyEvent = std::function<void(TCustomRpReport* Sender)>;

enum TRpReportOption : std::uint8_t { FirstPageHeader = 1u << 0, LastPageFooter = 1u << 1, Compression = 1u << 2 };
using TRpReportOptions = std::uint8_t;

class TCustomRpReport : public TRpBasePanel,
                        public TRpReportSite,
                        public TRpPreviewReport,
                        public TRpExprNotifyHost {
public:
    explicit TCustomRpReport(core::TComponent* owner);
    ~TCustomRpReport() override;
    std::string ClassName() const override { return "TCustomRpReport"; }

    // --- what the report's parts ask of it
    const TRpReportPrinterSettings& ReportPrinterSettings() const override { return *printerSettings_; }
    TRpExportFilter* ExportingFilter() const override { return exporting_ ? exportFilter_ : nullptr; }
    int ReportFontSize() const override { return Font().Size(); }
    long double ReportPageWidth() const override;
    long double ReportPageLength() const override;
    ui::TControl* ReportControl() override { return this; }
    void ArrangeDesignBands() override { ArrangeBands(); }
    void RepaintReport() override { Invalidate(); }
    void ApplyReportUnits() override { SetUnits(Units()); }
    TRpPrinter* ReportRpPrinter() const override { return rpPrinter_; }
    TRpUnit ReportUnits() const override { return Units(); }
    std::int32_t ReportZoom() const override { return Zoom(); }
    void DesignBoundsChanged() override { InvalidateDesignImage(); }
    TRpDataSetList* ReportDataSets() const override { return dataSets_.get(); }
    TRpEvEnvironment* ReportFunctions() const override { return functions_.get(); }

    // --- settings
    TRpPage& Page() override { return *page_; }
    const TRpPage& Page() const { return *page_; }
    TRpReportPrinterSettings& PrinterSettings() override { return *printerSettings_; }
    // Filled by the print setup dialog, with the orientation and paper it chose.
    TRpReportPrinterSettings& RunSettings() override { return *runSettings_; }
    print::TPrinterOrientation RunOrientation() const override { return runOrientation_; }
    TRpPaperSize RunPaperSize() const override { return runPaperSize_; }
    // Printed from its preview, the report runs again unless its pages are
    // to be printed as they are stored.
    bool PrintsItselfAgain() const override { return !printerSettings_->PrintMetaFile(); }

    // --- the preview window
    ui::TFormStyle PrevFormStyle() const override { return prevFormStyle_; }
    void SetPrevFormStyle(ui::TFormStyle style) { prevFormStyle_ = style; }
    // A stored size of 0 or less reads as 500.
    int PreviewWidth() const override { return previewWidth_ > 0 ? previewWidth_ : kDefaultPreviewSize; }
    void SetPreviewWidth(int width) { previewWidth_ = width; }
    int PreviewHeight() const override { return previewHeight_ > 0 ? previewHeight_ : kDefaultPreviewSize; }
    void SetPreviewHeight(int height) { previewHeight_ = height; }
    ui::TWindowState PreviewInitialState() const override { return previewInitialState_; }
    void SetPreviewInitialState(ui::TWindowState state) { previewInitialState_ = state; }
    bool PrevShowThumbs() const override { return prevShowThumbs_; }
    void SetPrevShowThumbs(bool show) { prevShowThumbs_ = show; }
    bool PrevShowSearch() const override { return prevShowSearch_; }
    void SetPrevShowSearch(bool show) { prevShowSearch_ = show; }
    TRpZoomState PrevInitialZoom() const override { return prevInitialZoom_; }
    void SetPrevInitialZoom(TRpZoomState zoom) { prevInitialZoom_ = zoom; }
    static constexpr int kDefaultPreviewSize = 500;
    TRpEvEnvironment& Functions() { return *functions_; }
    core::TStringList& Description() { return description_; }
    void SetDescription(const core::TStrings& lines) { description_.Assign(const_cast<core::TStrings*>(&lines)); }
    const std::string& ReportTitle() const override { return reportTitle_; }
    void SetReportTitle(const std::string& title) { reportTitle_ = title; }
    TRpReportOptions Options() const { return options_; }
    void SetOptions(TRpReportOptions options) { options_ = options; }
    bool ShowProgress() const { return showProgress_; }
    void SetShowProgress(bool show) { showProgress_ = show; }
    bool SnapToGrid() const { return snapToGrid_; }
    void SetSnapToGrid(bool snap) { snapToGrid_ = snap; }
    const std::string& BackImageControl() const { return backImageControl_; }
    void SetBackImageControl(const std::string& name) { backImageControl_ = name; }
    TRpUnit Units() const { return page_->Units(); }
    // The page, every band and every printable on the report take the unit.
    virtual void SetUnits(TRpUnit unit);
    // 1 to 300; other values are ignored.
    void SetZoom(std::int32_t zoom) override;
    bool PrintIfEmpty() const { return controller_->PrintIfEmpty(); }
    virtual void SetPrintIfEmpty(bool printIfEmpty) { controller_->SetPrintIfEmpty(printIfEmpty); }
    TRpReportBands& Bands() { return *bands_; }

    // --- bands
    // In printing order.
    const std::vector<TRpCustomBand*>& BandList() const { return bandList_; }
    // The first band of that type in printing order, or none.
    TRpCustomBand* BandOfType(TRpBandType type) const;
    // Adds the band to the list (when new), orders and lays out the bands.
    void AddBand(TRpCustomBand* band);
    void RemoveBand(TRpCustomBand* band);
    // A new band of that type on this report, named after its type.
    TRpBand* CreateBand(TRpBandType type);
    // Assigns the controller's bands and builds the printing order again.
    void RebuildBandOrder();
    // Places the bands on the design surface one below the other.
    void ArrangeBands();
    // The design image is out of date; the report repaints.
    void InvalidateDesignImage();
    // The report's own bands for its controller (detail, title, summary).
    virtual void AssignControllerBands() {}
    // Appends band and its chain of child bands to the order being built.
    void AddToBandOrder(TRpCustomBand* band);
    void AddNotifyExpr(TRpPrintable* expression) override;

    // --- the run
    virtual void GenerateReport(bool prepareOnly);
    virtual void RunController();
    TRpCustomController& Controller() { return *controller_; }
    void SetController(std::unique_ptr<TRpCustomController> controller);
    TRpPrinter* RpPrinter() const { return rpPrinter_; }
    void SetRpPrinter(TRpPrinter* printer) { rpPrinter_ = printer; }
    // Makes a printer for a run when none runs; true when it made one.
    bool CreateRunPrinter();
    bool Available() const { return available_; }
    bool Cancelled() const { return cancelled_; }
    // Cancelled, or its printer was (from a progress form or a closed preview).
    bool RunCancelled() const;
    void Cancel();
    bool FinalPage() const { return finalPage_; }
    bool Exporting() const { return exporting_; }
    TRpExportFilter* ExportFilter() const { return exportFilter_; }
    void SetExportFilter(TRpExportFilter* filter);
    bool PrepareOnly() const { return prepareOnly_; }
    std::int32_t PageCount() const { return pageCount_; }
    void SetPageCount(std::int32_t count) { pageCount_ = count; }
    std::int32_t CurrentX() const { return currentX_; }
    std::int32_t CurrentY() const { return currentY_; }
    void SetCurrentY(std::int32_t y) { currentY_ = y; }
    std::int32_t ColumnNumber() const { return columnNumber_; }
    std::int32_t ColumnTop() const { return columnTop_; }
    long double PageFooterHeight() const { return pageFooterHeight_; }
    bool NewPageStarted() const { return newPageStarted_; }
    void SetNewPageStarted(bool started) { newPageStarted_ = started; }
    const std::vector<data::TDataSet*>* DataSets() const { return dataSets_.get(); }
    // The data sets expressions reach; exists only during a run.
    std::vector<data::TDataSet*>* DataSetList() { return dataSets_.get(); }
    // Records for the progress of the run.
    virtual std::int32_t RecordCount() { return 1; }

    // Native units left below the current position on the page.
    std::int32_t AvailableSpace() const;
    // Whether nothing but the page's and the column's headers printed in the
    // current column yet.
    bool AtColumnStart() const { return currentY_ <= columnStartY_; }
    void PrintReportBand(TRpCustomBand* band);
    void NewPage();
    void NewColumn();
    void EndPage();
    // Asked by bands with ForceNewColumn / ForceNewPage.
    void ForcedNewColumn();
    void ForcedNewPage();
    // Whether the data set is a query with a parameter named as a variable of Functions.
    bool QueryTakesVariables(data::TDataSet* dataSet) const;
    // Sets the query's parameters from the variables of environment.
    void UpdateParamsBeforeOpen(data::TDataSet* query, TRpEvEnvironment& environment);

    // Text measured in native units, the same for the preview, the stored
    // pages and every printer.
    long double ReportTextHeight(const ui::TFont& font, const std::string& text) override;
    long double ReportTextWidth(const ui::TFont& font, const std::string& text) override;
    std::vector<long double> ReportTextPositions(const ui::TFont& font, std::u16string_view text) override;

    // --- design surface
    const gfx::TMetafile* DesignImage() const { return designImage_.get(); }
    void SetDesignImage(std::unique_ptr<gfx::TMetafile> image);
    void DrawRuler(gfx::TCanvas& canvas, TRpUnit unit) override;
    virtual void DrawColumnGuides(gfx::TCanvas& canvas);
    virtual void DrawMarginFrame(gfx::TCanvas& canvas);
    virtual void DrawReportFrame(gfx::TCanvas& canvas);
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    // The printables placed on the report itself, not on a band.
    std::vector<TRpPrintable*> ReportPrintables() const;
    // Components a report writes when it is the root of a stream: its
    // controls and what it owns that has no parent control.
    std::vector<core::TComponent*> GetChildren() const;

    // --- printing and messages
    // Prints on the physical printer (from the preview).
    void PrintReport() override;
    // Shows the print dialog for the stored settings; Tag tells the outcome
    // (0 confirmed, 1 cancelled).
    void PrintSetup() override;
    // The printer takes the report's settings before a printing run.
    void SetupPrinter(TRpPrinter& printer);

    core::TNotifyEvent AfterPrint;
    core::TNotifyEvent AfterPreview;
    TRpReportBeforePrintEvent BeforePrint;
    TRpNotifyEvent OnEndPage;
    TRpNotifyEvent OnStartPage;
    core::TNotifyEvent OnPreview;
    // Handed to the printer of every printing run: they see the device mode
    // when the printer's settings are read back and before they are applied.
    TRpPrinterEvent OnGetPrinterSettings;
    TRpPrinterEvent OnApplyPrinterSettings;

protected:
    void PaintPanel(gfx::TCanvas& canvas) override;
    void WndProc(ui::TMessage& message) override;
    void Notification(core::TComponent* component, core::TOperation operation) override;
    bool Designing() const { return HasState(core::csDesigning); }

    std::unique_ptr<TRpCustomController> controller_;

private:
    void CollectReportDataSets();
    void ComputePageFooterHeight();
    void PrintPagePrintables();
    std::int32_t PaperLengthForSpace() const;
    void TellPartsTheirReport();

    std::vector<TRpCustomBand*> bandList_;
    std::vector<TRpCustomBand*> orderList_;
    std::unique_ptr<std::vector<data::TDataSet*>> dataSets_;
    std::unique_ptr<TRpEvEnvironment> functions_;
    core::TStringList description_;
    std::unique_ptr<TRpPage> page_;
    std::unique_ptr<TRpReportPrinterSettings> printerSettings_;
    std::unique_ptr<TRpReportPrinterSettings> runSettings_;
    std::unique_ptr<TRpReportBands> bands_;
    std::unique_ptr<gfx::TMetafile> designImage_;
    // Measures text in native units.
    std::unique_ptr<TRpTextMeasure> referenceDC_;
    TRpPrinter* rpPrinter_ = nullptr;
    std::unique_ptr<TRpPrinter> ownPrinter_;
    TRpExportFilter* exportFilter_ = nullptr;
    TRpPrintable* backImage_ = nullptr;
    TRpEvElement* pageElement_ = nullptr;
    TRpEvElement* columnElement_ = nullptr;
    TRpEvElement* titleElement_ = nullptr;

    std::string reportTitle_;
    std::string backImageControl_;
    TRpReportOptions options_ = FirstPageHeader | LastPageFooter;
    bool showProgress_ = true;
    bool snapToGrid_ = true;
    bool available_ = true;
    bool cancelled_ = false;
    bool finalPage_ = false;
    bool exporting_ = false;
    bool prepareOnly_ = false;
    bool newPageStarted_ = false;
    bool firstColumnRequested_ = false;
    bool designInvalidPending_ = false;
    bool arranging_ = false;
    bool ordering_ = false;
    std::int32_t pageCount_ = 0;
    std::int32_t currentX_ = 0;
    std::int32_t currentY_ = -1;
    std::int32_t columnNumber_ = 1;
    std::int32_t columnTop_ = 0;
    std::int32_t columnStartY_ = -1;
    long double pageFooterHeight_ = 0;
    print::TPrinterOrientation runOrientation_ = print::TPrinterOrientation::poPortrait;
    TRpPaperSize runPaperSize_ = TRpPaperSize::Default;
    ui::TFormStyle prevFormStyle_ = ui::TFormStyle::fsNormal;
    int previewWidth_ = kDefaultPreviewSize;
    int previewHeight_ = kDefaultPreviewSize;
    ui::TWindowState previewInitialState_ = ui::TWindowState::wsNormal;
    bool prevShowThumbs_ = true;
    bool prevShowSearch_ = true;
    TRpZoomState prevInitialZoom_ = TRpZoomState::rpZoomToFit;
};

// The report with a data controller over a data set.
class TRpReport : public TCustomRpReport {
public:
    explicit TRpReport(core::TComponent* owner);
    std::string ClassName() const override { return "TRpReport"; }

    data::TDataSet* DataSet() const;
    void SetDataSet(data::TDataSet* dataSet);
    TRpController& DataController() { return *static_cast<TRpController*>(controller_.get()); }

    void AssignControllerBands() override;
    void RunController() override;
    std::int32_t RecordCount() override;

    TRpOnNeedDataEvent OnNeedData;
};

} // namespace report
