#pragma once
// The report printer: the one object through which a report produces pages.
// The report draws each page on Canvas; the printer either keeps every page
// as a recorded metafile in its page list (destination stored pages: for
// preview, saving and later printing) or draws straight on the physical
// printer. It converts the native unit (0.1 mm) to device pixels, counts the
// pages, keeps the state of the run, tells a preview by posted messages how
// far generation has come, prints stored pages and saves and loads stored
// report files.
//
// A run: BeginDoc, NewPage before every page (the first included), then
// EndDoc or AbortDoc; Cleanup makes the printer ready for the next run.

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Metafile.h"
#include "platform/print/Printer.h"
#include "report/pages/RpPageList.h"
#include "report/printer/RpPrinterSettings.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace ui {
class TTreeView;
class TWinControl;
}

namespace report {

class TRpExportFilter;
class TRpPrinter;
class TRpReportSite;

// The report engine's exception class.
class ERpError : public core::Exception {
public:
    using core::Exception::Exception;
};

enum class TRpDestination : std::uint8_t { StoredPages = 0, Printer = 1 };

// Pages First to Last, both counted from 1.
struct TRpPageRange {
    std::int32_t First;
    std::int32_t Last;
};
enum class TRpPrinterStatus : std::uint8_t { Ready = 0, Busy = 1, Finished = 2 };

using TRpAfterPrintEvent = std::function<void(core::TObject* sender)>;
using TRpAfterPreviewEvent = std::function<void(core::TObject* sender)>;
using TRpExportToFilterEvent = std::function<void(TRpExportFilter* filter)>;
// Gets the rest of a link after the handler's prefix.
using TRpLinkHandler = std::function<void(TRpPrinter* printer, const std::string& rest)>;

// A window that shows a printer's pages and must hear when the printer goes.
class TRpPrinterView {
public:
    virtual ~TRpPrinterView() = default;
    virtual void SetRpPrinter(TRpPrinter* printer) = 0;
};

class TRpPrinter : public core::TPersistent {
public:
    // parentReport: the report that creates the printer (not owned); when it
    // is a report, its stored printer options choose the printer object and
    // the memory limit of the page stream.
    explicit TRpPrinter(core::TComponent* parentReport);
    ~TRpPrinter() override;
    std::string ClassName() const override { return "TRpPrinter"; }

    // --- the run
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void AbortDoc();
    // Asks the report's loop and the printing loop to stop.
    void Cancel() { cancelled_ = true; }
    void Cleanup();

    // The canvas of the current page; none outside a page.
    gfx::TCanvas* Canvas() const { return canvas_; }
    // Objects that live as long as the current page.
    void AddCanvasObject(std::unique_ptr<core::TObject> object);
    std::size_t CanvasObjectCount() const { return canvasObjects_.size(); }

    // --- native units (0.1 mm, from the paper's top left corner) to device pixels
    std::int32_t XPos(long double x) const;
    std::int32_t XSize(long double x) const;
    std::int32_t YPos(long double y) const;
    std::int32_t YSize(long double y) const;
    long double XFactor() const { return xFactor_; }
    long double YFactor() const { return yFactor_; }
    std::int32_t LeftWaste() const { return leftWaste_; }
    std::int32_t TopWaste() const { return topWaste_; }

    // The paper in 0.1 mm as it lies (width and length exchanged in landscape).
    std::int32_t PaperWidth() const;
    std::int32_t PaperLength() const;

    // --- pages
    // A new metafile of page n (owned by the caller) while busy or finished
    // and 1 <= n <= PageCount; none otherwise.
    std::unique_ptr<gfx::TMetafile> GetPage(std::int32_t n);
    std::int32_t PageCount() const { return pageCount_; }
    std::int32_t PageNumber() const { return pageNumber_; }
    void SetPageNumber(std::int32_t n) { pageNumber_ = n; }
    std::int32_t AvailablePages() const { return availablePages_; }
    void SetAvailablePages(std::int32_t n);
    std::int32_t Progress() const { return progress_; }
    void SetProgress(std::int32_t n);
    TRpPageList& PageList() { return *pageList_; }
    TRpStream* PageStream() const { return pageList_->Stream(); }
    void SetCompression(bool compression) { pageList_->SetCompression(compression); }

    TRpPrinterStatus Status() const { return status_; }
    bool Cancelled() const { return cancelled_; }
    TRpDestination Destination() const { return destination_; }
    void SetDestination(TRpDestination destination) { destination_ = destination; }
    std::int32_t FirstPage() const { return firstPage_; }
    void SetFirstPage(std::int32_t page) { firstPage_ = page; }
    std::int32_t LastPage() const { return lastPage_; }
    void SetLastPage(std::int32_t page) { lastPage_ = page; }
    // Whether the page now counted lies in FirstPage..LastPage.
    bool PageInRange() const;
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    bool LoadedFromFile() const { return loadedFromFile_; }
    bool PrinterOK() const { return printerOK_; }
    core::TComponent* ParentReport() const { return parentReport_; }
    print::TPrinter* Printer() const { return printer_; }
    TPrinterSettings& Settings() { return *settings_; }

    // --- windows that follow the run (not owned)
    // Receives the progress and page-available messages.
    ui::TWinControl* Preview() const;
    void SetPreview(ui::TWinControl* preview);
    // Receives the print-request and preview-closed messages.
    ui::TWinControl* Client() const;
    void SetClient(ui::TWinControl* client);
    // The tree view that shows the outline (not owned); setting it fills it.
    ui::TTreeView* OutlineView() const;
    void SetOutline(ui::TTreeView* view);
    bool ShowingPreview() const { return showingPreview_; }
    void SetShowingPreview(bool value);
    void ClosePreview();

    // --- stored reports
    void Load(const std::string& fileName);
    void Save(const std::string& fileName);
    // Prints the stored pages (or asks the client to run the report again).
    // A print range that holds none of them raises ERpError.
    void Print();
    // The stored pages that Print prints: FirstPage and LastPage within the
    // pages there are (0 or less: no bound); First > Last when none.
    TRpPageRange StoredPagesRange() const;
    void ExportToFilter(TRpExportFilter* filter);
    // "EXT:" and the rest goes to the desktop, "INT:" and the rest to the
    // link handlers; any other link to the handlers, then to the desktop.
    // The desktop gets only http, https and mailto links; others are refused.
    void FollowLink(const std::string& link);

    // --- settings, passed on to Settings
    print::TPrinterOrientation Orientation() const { return settings_->Orientation(); }
    bool SetOrientation(print::TPrinterOrientation orientation) { return settings_->SetOrientation(orientation); }
    TRpPaperSize PaperSize() const { return settings_->PaperSize(); }
    bool SetPaperSize(TRpPaperSize paper) { return settings_->SetPaperSize(paper); }
    void SetPaperWidth(std::int32_t width) { settings_->SetPaperWidth(width); }
    void SetPaperLength(std::int32_t length) { settings_->SetPaperLength(length); }
    std::int32_t Copies() const { return settings_->Copies(); }
    bool SetCopies(std::int32_t copies) { return settings_->SetCopies(copies); }
    TRpBin OutputBin() const { return settings_->OutputBin(); }
    bool SetOutputBin(TRpBin bin) { return settings_->SetOutputBin(bin); }
    bool Duplex() const { return settings_->Duplex(); }
    bool SetDuplex(bool duplex) { return settings_->SetDuplex(duplex); }
    std::int32_t ExtendedDuplex() const { return settings_->ExtendedDuplex(); }
    void SetExtendedDuplex(std::int32_t code) { settings_->SetExtendedDuplex(code); }
    bool UseCustomBinCode() const { return settings_->UseCustomBinCode(); }
    void SetUseCustomBinCode(bool use) { settings_->SetUseCustomBinCode(use); }
    std::int32_t CustomBinCode() const { return settings_->CustomBinCode(); }
    void SetCustomBinCode(std::int32_t code) { settings_->SetCustomBinCode(code); }
    bool UseCustomPaperCode() const { return settings_->UseCustomPaperCode(); }
    void SetUseCustomPaperCode(bool use) { settings_->SetUseCustomPaperCode(use); }
    std::int32_t CustomPaperCode() const { return settings_->CustomPaperCode(); }
    void SetCustomPaperCode(std::int32_t code) { settings_->SetCustomPaperCode(code); }
    std::int32_t PrintQuality() const { return settings_->PrintQuality(); }
    void SetPrintQuality(std::int32_t quality) { settings_->SetPrintQuality(quality); }
    std::int32_t Collate() const { return settings_->Collate(); }
    void SetCollate(std::int32_t collate) { settings_->SetCollate(collate); }
    std::int32_t ColorOption() const { return settings_->ColorOption(); }
    void SetColorOption(std::int32_t option) { settings_->SetColorOption(option); }
    bool PrintMetafile() const { return settings_->PrintMetafile(); }
    void SetPrintMetafile(bool print) { settings_->SetPrintMetafile(print); }
    bool UseStandardprinter() const { return settings_->UseStandardprinter(); }
    // Selects another printer of the own printer object and reads its settings.
    void SetPrinterIndex(int index);

    TRpAfterPrintEvent OnAfterPrint;
    TRpAfterPreviewEvent OnAfterPreview;
    TRpExportToFilterEvent OnExportToFilter;
    core::TNotifyEvent OnPrintSetup;

    // Handlers of links by prefix, for the whole process; the first whose
    // prefix starts the link gets the rest of it.
    static void RegisterLinkHandler(const std::string& prefix, TRpLinkHandler handler);
    static void UnregisterLinkHandler(const std::string& prefix);

private:
    void CreateMetafileCanvas();
    void StartPrinterPage();
    // Completes the recorded page and keeps it (or throws it away).
    void FinishMetafilePage(bool keep);
    void ScreenFactors();
    bool OfferLink(const std::string& link);
    void PrintStoredPages();
    [[noreturn]] void RaiseNoPagesInRange() const;

    core::TComponent* parentReport_;
    TRpReportSite* report_ = nullptr;
    print::TPrinter* printer_ = nullptr;
    std::unique_ptr<print::TPrinter> ownPrinter_;
    std::unique_ptr<TPrinterSettings> settings_;
    std::unique_ptr<TRpPageList> pageList_;
    std::unique_ptr<TRpStream> runStream_;

    std::unique_ptr<gfx::TMetafile> pageMetafile_;
    std::unique_ptr<gfx::TCanvas> metafileCanvas_;
    gfx::TCanvas* canvas_ = nullptr;
    std::vector<std::unique_ptr<core::TObject>> canvasObjects_;

    ui::TWinControl* preview_ = nullptr;
    QPointer<QWidget> previewWindow_;
    ui::TWinControl* client_ = nullptr;
    QPointer<QWidget> clientWindow_;
    ui::TTreeView* outlineView_ = nullptr;
    QPointer<QWidget> outlineWindow_;

    std::int32_t availablePages_ = 0;
    bool cancelled_ = false;
    TRpDestination destination_ = TRpDestination::StoredPages;
    std::int32_t firstPage_ = 0;
    std::int32_t lastPage_ = 0;
    std::int32_t leftWaste_ = 0;
    std::int32_t topWaste_ = 0;
    std::int32_t pageCount_ = 0;
    std::int32_t pageNumber_ = 0;
    // Pages of a direct run that went to the printer.
    std::int32_t printedPages_ = 0;
    bool printerOK_ = false;
    std::int32_t progress_ = 0;
    std::string title_;
    bool showingPreview_ = false;
    TRpPrinterStatus status_ = TRpPrinterStatus::Ready;
    long double xFactor_ = 96.0L / 254;
    long double yFactor_ = 96.0L / 254;
    bool loadedFromFile_ = false;
};

// Set when a stored report is loaded; every report construction clears it.
extern bool StoredReportLoaded;

} // namespace report
