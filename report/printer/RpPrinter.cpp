#include "report/printer/RpPrinter.h"

#include "platform/core/Letters.h"
#include "platform/gfx/MetafileCanvas.h"
#include "platform/gfx/Screen.h"
#include "platform/shell/Shell.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/kernel/WinControl.h"
#include "platform/ui/kernel/Windows.h"
#include "report/expr/RpMessages.h"
#include "report/layout/RpMath.h"
#include "report/layout/RpReportSite.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpProgressForm.h"
#include "report/printer/RpReportPrinterSettings.h"
#include "report/printer/RpWindowMessages.h"

#include <algorithm>
#include <utility>

namespace report {

bool StoredReportLoaded = false;

namespace {

constexpr long double kDefaultFactor = 96.0L / 254;

struct LinkHandlerRecord {
    std::string Prefix;
    TRpLinkHandler Handler;
};

// Made on first use, freed at shut-down with its records.
std::vector<LinkHandlerRecord>& LinkHandlers()
{
    static std::vector<LinkHandlerRecord> handlers;
    return handlers;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && core::SameText(text.substr(0, prefix.size()), prefix);
}

// Only web pages and mail addresses go to the desktop: a link on a page must
// not start programs or open local files (file:, javascript:, other
// schemes, bare paths).
bool DesktopMayOpen(const std::string& link)
{
    if (!shell::IsUrl(link))
        return false;
    const std::string scheme = link.substr(0, link.find(':'));
    return core::SameText(scheme, "http") || core::SameText(scheme, "https") || core::SameText(scheme, "mailto");
}

void OpenWithShell(const std::string& target)
{
    if (DesktopMayOpen(target))
        shell::ShellExecute("open", target, shell::SW_SHOWNORMAL);
}

} // namespace

TRpPrinter::TRpPrinter(core::TComponent* parentReport)
    : parentReport_(parentReport), settings_(std::make_unique<TPrinterSettings>()),
      pageList_(std::make_unique<TRpPageList>())
{
    print::TPrinter* standard = print::Printer();
    printerOK_ = standard->Printers().Count() > 0;

    report_ = dynamic_cast<TRpReportSite*>(parentReport);
    if (report_ != nullptr) {
        settings_->SetUseStandardprinter(report_->ReportPrinterSettings().UseStandardprinter());
        settings_->SetMemoryLimit(report_->ReportPrinterSettings().MemoryLimit());
    } else {
        settings_->SetUseStandardprinter(false);
    }

    if (settings_->UseStandardprinter()) {
        printer_ = standard;
    } else {
        ownPrinter_ = std::make_unique<print::TPrinter>();
        printer_ = ownPrinter_.get();
    }

    if (printerOK_) {
        settings_->SetPrinter(printer_);
        RpProcessMessages();
        if (ownPrinter_) {
            int index = standard->PrinterIndex();
            if (index >= 0 && index < printer_->Printers().Count() && index != printer_->PrinterIndex()) {
                printer_->SetPrinterIndex(index);
                settings_->ReadSettings();
            }
        }
    }
    topWaste_ = settings_->TopOffset();
    leftWaste_ = settings_->LeftOffset();
}

TRpPrinter::~TRpPrinter()
{
    if (status_ != TRpPrinterStatus::Ready) {
        try {
            Cleanup();
        } catch (...) {
            // Nothing may escape a destructor; the stream goes with the list.
        }
    }
    if (auto* view = dynamic_cast<TRpPrinterView*>(Preview()))
        view->SetRpPrinter(nullptr);
    canvas_ = nullptr;
    metafileCanvas_.reset();
    pageMetafile_.reset();
    pageList_->SetStream(nullptr);
}

// --- the run

void TRpPrinter::ScreenFactors()
{
    xFactor_ = yFactor_ = static_cast<long double>(gfx::ScreenPixelsPerInch()) / 254;
}

void TRpPrinter::BeginDoc()
{
    // Checked first: a refused call leaves the run it met (its open page
    // and its counts) as they are.
    if (status_ != TRpPrinterStatus::Ready)
        throw ERpError(std::string(msg::PrinterNotReady));
    canvas_ = nullptr;
    metafileCanvas_.reset();
    pageMetafile_.reset();
    availablePages_ = 0;
    cancelled_ = false;
    if (destination_ == TRpDestination::Printer) {
        settings_->ApplySettings();
        topWaste_ = settings_->TopOffset();
        leftWaste_ = settings_->LeftOffset();
    } else {
        topWaste_ = leftWaste_ = 0;
    }
    pageNumber_ = pageCount_ = 0;
    printedPages_ = 0;
    status_ = TRpPrinterStatus::Busy;
    if (destination_ == TRpDestination::StoredPages) {
        runStream_ = std::make_unique<TRpStream>(settings_->MemoryLimit());
        pageList_->SetStream(runStream_.get());
        ScreenFactors();
    } else {
        xFactor_ = static_cast<long double>(printer_->LogPixelsX()) / 254;
        yFactor_ = static_cast<long double>(printer_->LogPixelsY()) / 254;
        if (xFactor_ < 0.1L)
            xFactor_ = kDefaultFactor;
        if (yFactor_ < 0.1L)
            yFactor_ = kDefaultFactor;
    }
}

bool TRpPrinter::PageInRange() const
{
    if (firstPage_ > 0 && pageCount_ < firstPage_)
        return false;
    if (lastPage_ > 0 && pageCount_ > lastPage_)
        return false;
    return true;
}

void TRpPrinter::FinishMetafilePage(bool keep)
{
    canvas_ = nullptr;
    metafileCanvas_.reset(); // completes the metafile
    if (keep && pageMetafile_)
        pageList_->AddPage(*pageMetafile_);
    pageMetafile_.reset();
    canvasObjects_.clear();
}

void TRpPrinter::NewPage()
{
    if (status_ != TRpPrinterStatus::Busy)
        throw ERpError(std::string(msg::IllegalNewPage));
    if (pageNumber_ > 0) {
        if (destination_ == TRpDestination::StoredPages) {
            FinishMetafilePage(true);
        } else if (PageInRange()) {
            if (printer_->Printing() && pageCount_ != lastPage_)
                printer_->NewPage();
        } else {
            FinishMetafilePage(false);
        }
        SetAvailablePages(availablePages_ + 1);
    }
    ++pageCount_;
    ++pageNumber_;
    if (destination_ == TRpDestination::StoredPages || !PageInRange()) {
        CreateMetafileCanvas();
    } else {
        StartPrinterPage();
        ++printedPages_;
    }
}

void TRpPrinter::CreateMetafileCanvas()
{
    canvas_ = nullptr;
    metafileCanvas_.reset();
    pageMetafile_ = std::make_unique<gfx::TMetafile>();
    pageMetafile_->SetWidth(XSize(PaperWidth()));
    pageMetafile_->SetHeight(YSize(PaperLength()));
    metafileCanvas_ = std::make_unique<gfx::TMetafileCanvas>(pageMetafile_.get());
    canvas_ = metafileCanvas_.get();
    ScreenFactors();
    canvasObjects_.clear();
}

void TRpPrinter::StartPrinterPage()
{
    if (printer_->Printing()) {
        canvas_ = &printer_->Canvas();
        canvas_->Refresh();
    } else {
        printer_->SetTitle(title_);
        printer_->BeginDoc();
        canvas_ = &printer_->Canvas();
    }
    xFactor_ = static_cast<long double>(printer_->LogPixelsX()) / 254;
    yFactor_ = static_cast<long double>(printer_->LogPixelsY()) / 254;
    if (yFactor_ < 0.1L)
        yFactor_ = 1.0L;
}

void TRpPrinter::EndDoc()
{
    if (status_ != TRpPrinterStatus::Busy)
        return;
    bool pageOpen = pageCount_ > 0;
    if (destination_ == TRpDestination::Printer) {
        FinishMetafilePage(false); // a page out of the range
        canvas_ = nullptr;
        if (printer_->Printing())
            printer_->EndDoc();
    } else if (pageOpen) {
        FinishMetafilePage(true);
    }
    status_ = TRpPrinterStatus::Finished;
    // A run without pages has no page to offer.
    if (pageOpen)
        SetAvailablePages(availablePages_ + 1);
    RpProcessMessages();
    if (destination_ == TRpDestination::StoredPages) {
        if (pageList_->Stream() != nullptr)
            pageList_->Finish();
        return;
    }
    // Pages were made but the print range held none of them: nothing went
    // to the printer, which the caller hears instead of an empty success.
    if (pageCount_ > 0 && printedPages_ == 0)
        RaiseNoPagesInRange();
    if (OnAfterPrint)
        OnAfterPrint(this);
}

void TRpPrinter::AbortDoc()
{
    if (destination_ == TRpDestination::Printer) {
        FinishMetafilePage(false);
        canvas_ = nullptr;
        printer_->Abort();
    } else if (pageMetafile_) {
        bool exporting = report_ != nullptr && report_->ExportingFilter() != nullptr;
        FinishMetafilePage(!exporting);
    }
    status_ = TRpPrinterStatus::Finished;
}

void TRpPrinter::Cleanup()
{
    if (status_ == TRpPrinterStatus::Busy)
        Cancel();
    canvas_ = nullptr;
    metafileCanvas_.reset();
    pageMetafile_.reset();
    canvasObjects_.clear();
    pageList_->SetStream(nullptr);
    runStream_.reset();
    pageList_->Clear();
    status_ = TRpPrinterStatus::Ready;
}

void TRpPrinter::AddCanvasObject(std::unique_ptr<core::TObject> object)
{
    canvasObjects_.push_back(std::move(object));
}

// --- units

std::int32_t TRpPrinter::XPos(long double x) const { return RpRound((x - leftWaste_) * xFactor_); }
std::int32_t TRpPrinter::XSize(long double x) const { return RpRound(x * xFactor_); }
std::int32_t TRpPrinter::YPos(long double y) const { return RpRound((y - topWaste_) * yFactor_); }
std::int32_t TRpPrinter::YSize(long double y) const { return RpRound(y * yFactor_); }

std::int32_t TRpPrinter::PaperWidth() const
{
    bool landscape = settings_->Orientation() == print::TPrinterOrientation::poLandscape;
    return landscape ? settings_->PaperLength() : settings_->PaperWidth();
}

std::int32_t TRpPrinter::PaperLength() const
{
    bool landscape = settings_->Orientation() == print::TPrinterOrientation::poLandscape;
    return landscape ? settings_->PaperWidth() : settings_->PaperLength();
}

// --- pages and windows

std::unique_ptr<gfx::TMetafile> TRpPrinter::GetPage(std::int32_t n)
{
    if (status_ == TRpPrinterStatus::Ready || n < 1 || n > pageCount_)
        return nullptr;
    return pageList_->GetPageMetafile(n);
}

ui::TWinControl* TRpPrinter::Preview() const
{
    return previewWindow_ != nullptr ? preview_ : nullptr;
}

void TRpPrinter::SetPreview(ui::TWinControl* preview)
{
    preview_ = preview;
    previewWindow_ = preview != nullptr ? preview->Handle() : nullptr;
}

ui::TWinControl* TRpPrinter::Client() const
{
    return clientWindow_ != nullptr ? client_ : nullptr;
}

void TRpPrinter::SetClient(ui::TWinControl* client)
{
    client_ = client;
    clientWindow_ = client != nullptr ? client->Handle() : nullptr;
}

ui::TTreeView* TRpPrinter::OutlineView() const
{
    return outlineWindow_ != nullptr ? outlineView_ : nullptr;
}

void TRpPrinter::SetOutline(ui::TTreeView* view)
{
    outlineView_ = view;
    outlineWindow_ = view != nullptr ? view->Widget() : nullptr;
    pageList_->Outline().SetTreeNodes(view != nullptr ? &view->Items() : nullptr);
}

void TRpPrinter::SetAvailablePages(std::int32_t n)
{
    availablePages_ = n;
    if (ui::TWinControl* preview = Preview())
        ui::PostMessage(preview->Handle(), WM_RPAVAILABLEPAGES, static_cast<ui::WPARAM>(n), 0);
}

void TRpPrinter::SetProgress(std::int32_t n)
{
    progress_ = n;
    if (ui::TWinControl* preview = Preview())
        ui::PostMessage(preview->Handle(), WM_RPPROGRESS, static_cast<ui::WPARAM>(n), 0);
}

void TRpPrinter::SetShowingPreview(bool value)
{
    if (showingPreview_ && !value) {
        if (status_ == TRpPrinterStatus::Busy)
            Cancel();
        if (OnAfterPreview)
            OnAfterPreview(this);
    }
    showingPreview_ = value;
}

void TRpPrinter::ClosePreview()
{
    if (ui::TWinControl* client = Client())
        ui::SendMessage(client->Handle(), WM_RPPREVIEWCLOSED, 0, reinterpret_cast<ui::LPARAM>(this));
    showingPreview_ = false;
}

void TRpPrinter::SetPrinterIndex(int index)
{
    if (!printerOK_ || settings_->UseStandardprinter())
        return;
    printer_->SetPrinterIndex(index);
    ResetPrinterDevMode(printer_);
    settings_->ReadSettings();
}

// --- stored reports

void TRpPrinter::Load(const std::string& fileName)
{
    if (status_ != TRpPrinterStatus::Ready)
        Cleanup();
    pageList_->LoadFromFile(fileName);
    pageCount_ = pageList_->PageCount();
    ScreenFactors();

    if (pageCount_ > 0) {
        if (std::unique_ptr<gfx::TMetafile> first = pageList_->GetPageMetafile(1)) {
            // The page size in steps of 4 mm; the last matching row wins.
            std::int32_t w = RpTrunc(first->Width() / xFactor_ / 40);
            std::int32_t h = RpTrunc(first->Height() / xFactor_ / 40);
            for (int row = static_cast<int>(TRpPaperSize::Letter); row <= static_cast<int>(TRpPaperSize::ESheet);
                 ++row) {
                auto paper = static_cast<TRpPaperSize>(row);
                TRpPaperDimensions size = PaperDimensions(paper);
                std::int32_t rw = RpTrunc(size.Width / 4);
                std::int32_t rl = RpTrunc(size.Length / 4);
                if (rw == w && rl == h) {
                    settings_->SetPaperSize(paper);
                    settings_->SetOrientation(print::TPrinterOrientation::poPortrait);
                }
                if (rw == h && rl == w) {
                    settings_->SetPaperSize(paper);
                    settings_->SetOrientation(print::TPrinterOrientation::poLandscape);
                }
            }
        }
    }
    status_ = TRpPrinterStatus::Finished;
    OnPrintSetup = nullptr;
    OnExportToFilter = nullptr;
    loadedFromFile_ = true;
    StoredReportLoaded = true;
}

void TRpPrinter::Save(const std::string& fileName)
{
    if (status_ == TRpPrinterStatus::Finished)
        pageList_->SaveToFile(fileName);
}

void TRpPrinter::ExportToFilter(TRpExportFilter* filter)
{
    if (OnExportToFilter)
        OnExportToFilter(filter);
}

void TRpPrinter::Print()
{
    if (Client() != nullptr && !loadedFromFile_ && !settings_->PrintMetafile() &&
        status_ == TRpPrinterStatus::Finished) {
        ui::PostMessage(Client()->Handle(), WM_RPPRINTREQUEST, 0, 0);
        return;
    }
    if (status_ == TRpPrinterStatus::Finished && printerOK_)
        PrintStoredPages();
}

TRpPageRange TRpPrinter::StoredPagesRange() const
{
    // 0 or less: no bound. A bound past the pages that exist is theirs.
    TRpPageRange range{firstPage_ > 0 ? firstPage_ : 1, lastPage_ > 0 ? lastPage_ : pageCount_};
    range.Last = std::min(range.Last, pageCount_);
    return range;
}

void TRpPrinter::RaiseNoPagesInRange() const
{
    throw ERpError(FormatMessage(msg::NoPagesInRange, {std::to_string(pageCount_), std::to_string(firstPage_),
                                                       std::to_string(lastPage_)}));
}

void TRpPrinter::PrintStoredPages()
{
    const TRpPageRange range = StoredPagesRange();
    // Nothing is begun for a range that holds no page; the caller hears why.
    if (range.First > range.Last)
        RaiseNoPagesInRange();
    // A cancel of the run that made the pages does not stop their printing.
    cancelled_ = false;
    printer_->SetTitle(title_);
    if (printer_->Printing())
        printer_->Abort();
    settings_->ApplySettings();
    printer_->BeginDoc();

    ui::TWinControl* formerPreview = Preview();
    TRpProgressForm* form = nullptr;
    // Whatever happens, the progress form goes and the preview comes back.
    auto restore = [&] {
        SetPreview(formerPreview);
        if (form != nullptr)
            ui::FreeComponent(form);
        form = nullptr;
    };
    try {
        const std::int32_t first = range.First;
        const std::int32_t last = range.Last;

        form = ui::CreateComponent<TRpProgressForm>(nullptr);
        form->SetRpPrinter(this);
        form->Show();
        SetPreview(form);

        long double xf = static_cast<long double>(settings_->PixelsPerX()) / 254;
        long double yf = static_cast<long double>(settings_->PixelsPerY()) / 254;
        long double pageWidth = report_ != nullptr ? report_->ReportPageWidth() : PaperWidth();
        long double pageLength = report_ != nullptr ? report_->ReportPageLength() : PaperLength();
        long double lo = settings_->LeftOffset();
        long double to = settings_->TopOffset();
        gfx::TRect area{-RpRound(lo * xf), -RpRound(to * yf), RpRound((pageWidth - lo) * xf),
                        RpRound((pageLength - to) * yf)};

        for (std::int32_t p = first; p <= last; ++p) {
            RpProcessMessages();
            SetProgress(RpRound(static_cast<long double>(p - first + 1) / (last - first + 1) * 100));
            if (pageNumber_ >= 1 && pageNumber_ <= pageCount_)
                pageNumber_ = p;
            if (std::unique_ptr<gfx::TMetafile> page = GetPage(p))
                printer_->Canvas().DrawMetafile(area, *page);
            if (p < last)
                printer_->NewPage();
            if (cancelled_) {
                printer_->Abort();
                break;
            }
        }
        form->Hide();
    } catch (...) {
        restore();
        try {
            if (printer_->Printing())
                printer_->EndDoc();
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
    restore();
    if (printer_->Printing())
        printer_->EndDoc();
}

// --- links

void TRpPrinter::RegisterLinkHandler(const std::string& prefix, TRpLinkHandler handler)
{
    LinkHandlers().push_back({prefix, std::move(handler)});
}

void TRpPrinter::UnregisterLinkHandler(const std::string& prefix)
{
    auto& handlers = LinkHandlers();
    std::erase_if(handlers, [&](const LinkHandlerRecord& record) { return record.Prefix == prefix; });
}

bool TRpPrinter::OfferLink(const std::string& link)
{
    for (const LinkHandlerRecord& record : LinkHandlers()) {
        if (link.compare(0, record.Prefix.size(), record.Prefix) == 0) {
            if (record.Handler)
                record.Handler(this, link.substr(record.Prefix.size()));
            return true;
        }
    }
    return false;
}

void TRpPrinter::FollowLink(const std::string& link)
{
    if (StartsWithNoCase(link, "EXT:")) {
        OpenWithShell(link.substr(4));
    } else if (StartsWithNoCase(link, "INT:")) {
        OfferLink(link.substr(4));
    } else if (!OfferLink(link)) {
        OpenWithShell(link);
    }
}

} // namespace report
