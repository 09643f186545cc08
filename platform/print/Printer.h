#pragma once
// The printer object of the class library over Qt's printer. The printers are
// the system's print queues and, last, a printer that writes a PDF file, so a
// desktop without any queue can still print. A document runs BeginDoc,
// NewPage between pages, EndDoc (or Abort), and is drawn on Canvas in device
// pixels of the printable area, whose top left corner is the origin.

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/gfx/Types.h"
#include "platform/print/DeviceMode.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace gfx {
class TCanvas;
class TPainterCanvas;
}

namespace print {

class EPrinter : public core::Exception {
public:
    using core::Exception::Exception;
};

enum class TPrinterOrientation { poPortrait, poLandscape };

// The name under which the PDF file printer is listed.
inline constexpr const char* kPdfPrinterName = "PDF";

class TPrinter : public core::TObject {
public:
    TPrinter();
    ~TPrinter() override;
    std::string ClassName() const override { return "TPrinter"; }

    // The printer names; read once, again after Refresh.
    const core::TStrings& Printers();
    void Refresh();
    // -1 until a printer is chosen; reading it then gives the default printer.
    int PrinterIndex();
    // Selecting a printer loads its default device mode; -1 selects the default.
    void SetPrinterIndex(int index);
    std::string PrinterName();
    bool IsPdfPrinter();

    // Where the PDF printer writes (or any printer, when set: printing to a
    // file). Empty: the PDF printer writes "<Title>.pdf" into the user's
    // documents folder, under a name that is not taken yet.
    const std::string& OutputFileName() const { return outputFileName_; }
    void SetOutputFileName(const std::string& fileName) { outputFileName_ = fileName; }
    // The file the last document went to (empty for a print queue).
    const std::string& LastOutputFile() const { return lastOutputFile_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Stops the document; nothing is printed and a PDF file begun is removed.
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    int PageNumber() const { return pageNumber_; }

    // Draws on the current page while printing; measures text at the printer's
    // resolution otherwise.
    gfx::TCanvas& Canvas();

    // The printable area in device pixels.
    int PageWidth();
    int PageHeight();
    TPrinterOrientation Orientation();
    void SetOrientation(TPrinterOrientation orientation);
    int Copies();
    void SetCopies(int copies);

    // Device capabilities in device pixels: resolution, the whole paper, and
    // the offset of the printable area from the paper's corner.
    int LogPixelsX();
    int LogPixelsY();
    int PhysicalWidth();
    int PhysicalHeight();
    int PhysicalOffsetX();
    int PhysicalOffsetY();

    // The selected printer's device mode.
    TDeviceMode DeviceMode();
    // Takes the wanted values of the fields the device knows (others are
    // ignored); unknown paper codes keep the paper. Not while printing.
    void SetDeviceMode(const TDeviceMode& mode);
    // Back to the printer's own defaults.
    void ResetDeviceMode();

    // The papers the device offers: codes, names and portrait sizes in 0.1 mm,
    // in the same order; DMPAPER_USER when it takes any size.
    std::vector<int> PaperCodes();
    std::vector<std::string> PaperNames();
    std::vector<gfx::TPoint> PaperSizes();
    std::vector<int> BinCodes();
    std::vector<std::string> BinNames();

    // Qt's printer of the selected device, for the print dialog.
    QPrinter& QtPrinter();
    // After a dialog changed Qt's printer: takes its printer, file and settings.
    void TakeQtPrinterSettings();

private:
    void EnsureSelected();
    void Select(int index);
    void ApplyDeviceMode();
    TDeviceMode ReadDeviceMode() const;
    std::string ChooseOutputFile() const;

    core::TStringList printers_;
    bool printersRead_ = false;
    int printerIndex_ = -1;
    bool pdf_ = false;
    std::unique_ptr<QPrinter> printer_;
    TDeviceMode mode_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<gfx::TPainterCanvas> canvas_;
    std::string title_;
    std::string outputFileName_;
    std::string lastOutputFile_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The application-wide printer, made on first use.
TPrinter* Printer();
// Puts another application-wide printer in place and hands back the old one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

// Where the names of the system's print queues come from: Qt's list unless a
// program or a test puts another function in place (an empty one restores it).
void SetPrinterLister(std::function<std::vector<std::string>()> lister);
// Whether the PDF file printer is listed (it is by default).
void SetPdfPrinterOffered(bool offered);

} // namespace print
