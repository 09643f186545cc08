#include "platform/print/Printer.h"

#include "platform/gfx/PainterCanvas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace print {

namespace {

constexpr int kPdfResolution = 600;

std::function<std::vector<std::string>()>& Lister()
{
    static std::function<std::vector<std::string>()> lister;
    return lister;
}

bool& PdfOffered()
{
    static bool offered = true;
    return offered;
}

std::unique_ptr<TPrinter>& GlobalPrinter()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

std::vector<std::string> QueueNames()
{
    if (Lister())
        return Lister()();
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

std::string DefaultQueueName()
{
    return Lister() ? std::string() : QPrinterInfo::defaultPrinterName().toStdString();
}

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

// A paper code Qt knows, or nothing.
std::optional<QPageSize> PageSizeOfCode(int code)
{
    if (code <= 0 || code == DMPAPER_USER)
        return std::nullopt;
    QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom || QPageSize::windowsId(id) != code)
        return std::nullopt;
    return QPageSize(id);
}

gfx::TPoint TenthsOfMillimetre(const QPageSize& size)
{
    QSizeF mm = size.size(QPageSize::Millimeter);
    return {Round(mm.width() * 10), Round(mm.height() * 10)};
}

} // namespace

TPrinter::TPrinter() = default;

TPrinter::~TPrinter()
{
    if (printing_)
        Abort();
}

const core::TStrings& TPrinter::Printers()
{
    if (!printersRead_) {
        printers_.Clear();
        for (const std::string& name : QueueNames())
            printers_.Add(name);
        if (PdfOffered())
            printers_.Add(kPdfPrinterName);
        printersRead_ = true;
    }
    return printers_;
}

void TPrinter::Refresh()
{
    if (printing_)
        throw EPrinter("Printing in progress");
    std::string current = printerIndex_ >= 0 ? printers_.Get(printerIndex_) : std::string();
    printersRead_ = false;
    Printers();
    printerIndex_ = -1;
    printer_.reset();
    // The chosen printer stays chosen when it is still there.
    int index = current.empty() ? -1 : printers_.IndexOf(current);
    if (index >= 0)
        Select(index);
}

void TPrinter::EnsureSelected()
{
    if (printerIndex_ >= 0)
        return;
    const core::TStrings& names = Printers();
    if (names.Count() == 0)
        return;
    int index = 0;
    std::string preferred = DefaultQueueName();
    int queues = names.Count() - (PdfOffered() ? 1 : 0);
    for (int i = 0; i < queues; ++i)
        if (names.Get(i) == preferred)
            index = i;
    Select(index);
}

int TPrinter::PrinterIndex()
{
    EnsureSelected();
    return printerIndex_;
}

void TPrinter::SetPrinterIndex(int index)
{
    if (printing_)
        throw EPrinter("Printing in progress");
    if (index == -1) {
        printerIndex_ = -1;
        printer_.reset();
        EnsureSelected();
        return;
    }
    if (index < -1 || index >= Printers().Count())
        throw EPrinter("Printer index out of range");
    Select(index);
}

void TPrinter::Select(int index)
{
    std::string name = printers_.Get(index);
    pdf_ = PdfOffered() && index == printers_.Count() - 1;
    if (pdf_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setResolution(kPdfResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(QString::fromStdString(name)),
                                              QPrinter::HighResolution);
    }
    printer_->setFullPage(false);
    printer_->setPageMargins(printer_->pageLayout().minimumMargins(), printer_->pageLayout().units());
    printerIndex_ = index;
    mode_ = ReadDeviceMode();
    if (canvas_)
        canvas_->SetPainter(nullptr, printer_->resolution());
}

std::string TPrinter::PrinterName()
{
    EnsureSelected();
    return printerIndex_ >= 0 ? printers_.Get(printerIndex_) : std::string();
}

bool TPrinter::IsPdfPrinter()
{
    EnsureSelected();
    return printerIndex_ >= 0 && pdf_;
}

QPrinter& TPrinter::QtPrinter()
{
    EnsureSelected();
    if (!printer_)
        throw EPrinter("There is no default printer currently selected");
    return *printer_;
}

TDeviceMode TPrinter::ReadDeviceMode() const
{
    TDeviceMode mode;
    mode.DeviceName = printerIndex_ >= 0 ? printers_.Get(printerIndex_) : std::string();
    mode.Fields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE |
                  DM_PRINTQUALITY | DM_COLOR | DM_COLLATE;
    if (!pdf_ && QPrinterInfo::printerInfo(QString::fromStdString(mode.DeviceName)).supportedDuplexModes().size() > 1)
        mode.Fields |= DM_DUPLEX;
    QPageLayout layout = printer_->pageLayout();
    int code = layout.pageSize().windowsId();
    mode.PaperSize = code > 0 ? code : DMPAPER_USER;
    gfx::TPoint size = TenthsOfMillimetre(layout.pageSize());
    mode.PaperWidth = size.X;
    mode.PaperLength = size.Y;
    mode.Orientation = layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    mode.Copies = std::max(1, printer_->copyCount());
    mode.Collate = printer_->collateCopies() ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    switch (printer_->duplex()) {
    case QPrinter::DuplexNone: mode.Duplex = DMDUP_SIMPLEX; break;
    case QPrinter::DuplexLongSide: mode.Duplex = DMDUP_VERTICAL; break;
    case QPrinter::DuplexShortSide: mode.Duplex = DMDUP_HORIZONTAL; break;
    case QPrinter::DuplexAuto:
        mode.Duplex = mode.Orientation == DMORIENT_PORTRAIT ? DMDUP_VERTICAL : DMDUP_HORIZONTAL;
        break;
    }
    mode.Color = printer_->colorMode() == QPrinter::GrayScale ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
    mode.PrintQuality = printer_->resolution();
    mode.DefaultSource = DMBIN_AUTO;
    return mode;
}

TDeviceMode TPrinter::DeviceMode()
{
    EnsureSelected();
    return mode_;
}

void TPrinter::SetDeviceMode(const TDeviceMode& wanted)
{
    EnsureSelected();
    if (!printer_)
        return;
    if (printing_)
        throw EPrinter("Printing in progress");
    auto takes = [this, &wanted](std::uint32_t field) { return wanted.Has(field) && mode_.Has(field); };
    if (takes(DM_PAPERSIZE)) {
        std::vector<int> codes = PaperCodes();
        if (std::find(codes.begin(), codes.end(), wanted.PaperSize) != codes.end())
            mode_.PaperSize = wanted.PaperSize;
    }
    if (takes(DM_PAPERWIDTH | DM_PAPERLENGTH) && wanted.PaperWidth > 0 && wanted.PaperLength > 0) {
        mode_.PaperWidth = wanted.PaperWidth;
        mode_.PaperLength = wanted.PaperLength;
    } else if (std::optional<QPageSize> size = PageSizeOfCode(mode_.PaperSize)) {
        gfx::TPoint tenths = TenthsOfMillimetre(*size);
        mode_.PaperWidth = tenths.X;
        mode_.PaperLength = tenths.Y;
    }
    if (takes(DM_ORIENTATION) && (wanted.Orientation == DMORIENT_PORTRAIT || wanted.Orientation == DMORIENT_LANDSCAPE))
        mode_.Orientation = wanted.Orientation;
    if (takes(DM_COPIES) && wanted.Copies >= 1)
        mode_.Copies = wanted.Copies;
    if (takes(DM_COLLATE))
        mode_.Collate = wanted.Collate != 0 ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    if (takes(DM_DUPLEX) && wanted.Duplex >= DMDUP_SIMPLEX && wanted.Duplex <= DMDUP_HORIZONTAL)
        mode_.Duplex = wanted.Duplex;
    if (takes(DM_COLOR) && (wanted.Color == DMCOLOR_MONOCHROME || wanted.Color == DMCOLOR_COLOR))
        mode_.Color = wanted.Color;
    if (takes(DM_PRINTQUALITY) && wanted.PrintQuality != 0)
        mode_.PrintQuality = wanted.PrintQuality;
    if (takes(DM_DEFAULTSOURCE)) {
        std::vector<int> bins = BinCodes();
        if (std::find(bins.begin(), bins.end(), wanted.DefaultSource) != bins.end())
            mode_.DefaultSource = wanted.DefaultSource;
    }
    ApplyDeviceMode();
}

void TPrinter::ApplyDeviceMode()
{
    // The paper: the code's own size, unless the length and width name another
    // size, which is then used as it stands.
    std::optional<QPageSize> standard = PageSizeOfCode(mode_.PaperSize);
    bool sameSize = false;
    if (standard) {
        gfx::TPoint tenths = TenthsOfMillimetre(*standard);
        sameSize = std::abs(tenths.X - mode_.PaperWidth) <= 5 && std::abs(tenths.Y - mode_.PaperLength) <= 5;
    }
    if (standard && sameSize) {
        printer_->setPageSize(*standard);
    } else if (mode_.PaperWidth > 0 && mode_.PaperLength > 0) {
        printer_->setPageSize(QPageSize(QSizeF(mode_.PaperWidth / 10.0, mode_.PaperLength / 10.0), QPageSize::Millimeter,
                                        QString(), QPageSize::ExactMatch));
        mode_.PaperSize = printer_->pageLayout().pageSize().windowsId() > 0 ? printer_->pageLayout().pageSize().windowsId()
                                                                          : DMPAPER_USER;
    }
    printer_->setPageOrientation(mode_.Orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_->setPageMargins(printer_->pageLayout().minimumMargins(), printer_->pageLayout().units());
    printer_->setCopyCount(mode_.Copies);
    printer_->setCollateCopies(mode_.Collate != 0);
    if (mode_.Has(DM_DUPLEX))
        printer_->setDuplex(mode_.Duplex == DMDUP_VERTICAL     ? QPrinter::DuplexLongSide
                            : mode_.Duplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                                                               : QPrinter::DuplexNone);
    printer_->setColorMode(mode_.Color == DMCOLOR_MONOCHROME ? QPrinter::GrayScale : QPrinter::Color);
    if (mode_.PrintQuality > 0 && mode_.PrintQuality != printer_->resolution()) {
        printer_->setResolution(mode_.PrintQuality);
        mode_.PrintQuality = printer_->resolution();
        if (canvas_)
            canvas_->SetPainter(nullptr, printer_->resolution());
    }
}

void TPrinter::ResetDeviceMode()
{
    EnsureSelected();
    if (printing_)
        throw EPrinter("Printing in progress");
    if (printerIndex_ >= 0)
        Select(printerIndex_);
}

TPrinterOrientation TPrinter::Orientation()
{
    return DeviceMode().Orientation == DMORIENT_LANDSCAPE ? TPrinterOrientation::poLandscape
                                                          : TPrinterOrientation::poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    TDeviceMode mode = DeviceMode();
    mode.Orientation = orientation == TPrinterOrientation::poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    SetDeviceMode(mode);
}

int TPrinter::Copies()
{
    return DeviceMode().Copies;
}

void TPrinter::SetCopies(int copies)
{
    TDeviceMode mode = DeviceMode();
    mode.Copies = copies;
    SetDeviceMode(mode);
}

int TPrinter::LogPixelsX()
{
    EnsureSelected();
    return printer_ ? printer_->logicalDpiX() : 0;
}

int TPrinter::LogPixelsY()
{
    EnsureSelected();
    return printer_ ? printer_->logicalDpiY() : 0;
}

int TPrinter::PageWidth()
{
    EnsureSelected();
    return printer_ ? Round(printer_->pageRect(QPrinter::DevicePixel).width()) : 0;
}

int TPrinter::PageHeight()
{
    EnsureSelected();
    return printer_ ? Round(printer_->pageRect(QPrinter::DevicePixel).height()) : 0;
}

int TPrinter::PhysicalWidth()
{
    EnsureSelected();
    return printer_ ? Round(printer_->paperRect(QPrinter::DevicePixel).width()) : 0;
}

int TPrinter::PhysicalHeight()
{
    EnsureSelected();
    return printer_ ? Round(printer_->paperRect(QPrinter::DevicePixel).height()) : 0;
}

int TPrinter::PhysicalOffsetX()
{
    EnsureSelected();
    return printer_ ? Round(printer_->pageRect(QPrinter::DevicePixel).left() - printer_->paperRect(QPrinter::DevicePixel).left())
                    : 0;
}

int TPrinter::PhysicalOffsetY()
{
    EnsureSelected();
    return printer_ ? Round(printer_->pageRect(QPrinter::DevicePixel).top() - printer_->paperRect(QPrinter::DevicePixel).top())
                    : 0;
}

std::vector<int> TPrinter::PaperCodes()
{
    EnsureSelected();
    std::vector<int> codes;
    if (!printer_)
        return codes;
    bool custom = true;
    if (pdf_) {
        for (int i = 0; i <= QPageSize::LastPageSize; ++i) {
            int code = QPageSize::windowsId(static_cast<QPageSize::PageSizeId>(i));
            if (code > 0 && code != DMPAPER_USER && PageSizeOfCode(code))
                codes.push_back(code);
        }
    } else {
        QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printers_.Get(printerIndex_)));
        for (const QPageSize& size : info.supportedPageSizes()) {
            int code = size.windowsId();
            if (code > 0 && code != DMPAPER_USER && PageSizeOfCode(code))
                codes.push_back(code);
        }
        custom = info.supportsCustomPageSizes();
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    if (custom)
        codes.push_back(DMPAPER_USER);
    return codes;
}

std::vector<std::string> TPrinter::PaperNames()
{
    std::vector<std::string> names;
    for (int code : PaperCodes()) {
        std::optional<QPageSize> size = PageSizeOfCode(code);
        names.push_back(size ? size->name().toStdString() : std::string("Vlastní velikost"));
    }
    return names;
}

std::vector<gfx::TPoint> TPrinter::PaperSizes()
{
    std::vector<gfx::TPoint> sizes;
    for (int code : PaperCodes()) {
        std::optional<QPageSize> size = PageSizeOfCode(code);
        sizes.push_back(size ? TenthsOfMillimetre(*size) : gfx::TPoint{});
    }
    return sizes;
}

std::vector<int> TPrinter::BinCodes()
{
    EnsureSelected();
    // Qt chooses the tray by itself; the device offers the automatic choice.
    return printer_ ? std::vector<int>{DMBIN_AUTO} : std::vector<int>{};
}

std::vector<std::string> TPrinter::BinNames()
{
    std::vector<std::string> names;
    for (int bin : BinCodes())
        names.push_back(BinName(bin));
    return names;
}

std::string TPrinter::ChooseOutputFile() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    QString base = QString::fromStdString(title_).trimmed();
    for (QChar& c : base)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    if (base.isEmpty() || base.startsWith(QLatin1Char('.')))
        base = QStringLiteral("tisk");
    QString candidate = QDir(folder).filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = QDir(folder).filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return candidate.toStdString();
}

gfx::TCanvas& TPrinter::Canvas()
{
    if (!canvas_) {
        EnsureSelected();
        canvas_ = std::make_unique<gfx::TPainterCanvas>(nullptr, printer_ ? printer_->resolution() : 0);
    }
    return *canvas_;
}

void TPrinter::BeginDoc()
{
    if (printing_)
        throw EPrinter("Printing in progress");
    EnsureSelected();
    if (!printer_)
        throw EPrinter("There is no default printer currently selected");
    std::string file = !outputFileName_.empty() ? outputFileName_ : pdf_ ? ChooseOutputFile() : std::string();
    if (!pdf_ && file.empty() && printer_->outputFormat() == QPrinter::PdfFormat) {
        // A print queue that wrote a file last time goes back to the queue.
        TDeviceMode mode = mode_;
        Select(printerIndex_);
        mode_ = mode;
    }
    if (!file.empty())
        printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(file));
    printer_->setDocName(QString::fromStdString(title_));
    ApplyDeviceMode();

    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_.get())) {
        if (!file.empty())
            throw EPrinter("Tisk nelze zahájit: soubor „" + file + "“ nelze zapsat.");
        throw EPrinter("Tisk nelze zahájit na tiskárně „" + printers_.Get(printerIndex_) + "“.");
    }
    painter_ = std::move(painter);
    Canvas();
    canvas_->SetPainter(painter_.get(), printer_->resolution());
    canvas_->Refresh();
    lastOutputFile_ = file;
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
}

void TPrinter::NewPage()
{
    if (!printing_)
        throw EPrinter("Printer is not currently printing");
    printer_->newPage();
    canvas_->Refresh();
    ++pageNumber_;
}

void TPrinter::EndDoc()
{
    if (!printing_)
        throw EPrinter("Printer is not currently printing");
    printing_ = false;
    pageNumber_ = 0;
    canvas_->SetPainter(nullptr, printer_->resolution());
    bool finished = painter_->end();
    painter_.reset();
    if (!finished)
        throw EPrinter("Tisk se nepodařilo dokončit na tiskárně „" + printers_.Get(printerIndex_) + "“.");
}

void TPrinter::Abort()
{
    if (!printing_)
        return;
    printing_ = false;
    aborted_ = true;
    pageNumber_ = 0;
    canvas_->SetPainter(nullptr, printer_->resolution());
    printer_->abort();
    if (painter_->isActive())
        painter_->end();
    painter_.reset();
    if (!lastOutputFile_.empty()) {
        std::remove(lastOutputFile_.c_str());
        lastOutputFile_.clear();
    }
}

void TPrinter::TakeQtPrinterSettings()
{
    if (!printer_)
        return;
    if (printer_->outputFormat() == QPrinter::PdfFormat || printer_->printerName().isEmpty()) {
        if (PdfOffered()) {
            printerIndex_ = Printers().Count() - 1;
            pdf_ = true;
        }
        outputFileName_ = printer_->outputFileName().toStdString();
    } else {
        std::string name = printer_->printerName().toStdString();
        int index = Printers().IndexOf(name);
        if (index < 0) {
            printersRead_ = false;
            index = Printers().IndexOf(name);
        }
        if (index >= 0) {
            printerIndex_ = index;
            pdf_ = false;
        }
    }
    mode_ = ReadDeviceMode();
}

TPrinter* Printer()
{
    if (!GlobalPrinter()) {
        GlobalPrinter() = std::make_unique<TPrinter>();
        // Qt's printer must go before the application object does.
        if (QCoreApplication::instance() != nullptr)
            qAddPostRoutine([] { GlobalPrinter().reset(); });
    }
    return GlobalPrinter().get();
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer)
{
    std::unique_ptr<TPrinter> old = std::move(GlobalPrinter());
    GlobalPrinter() = std::move(printer);
    return old;
}

void SetPrinterLister(std::function<std::vector<std::string>()> lister)
{
    Lister() = std::move(lister);
}

void SetPdfPrinterOffered(bool offered)
{
    PdfOffered() = offered;
}

} // namespace print
