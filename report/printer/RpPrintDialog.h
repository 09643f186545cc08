#pragma once
// The report's print dialog: the platform's print dialog run modally over the
// application (every other window disabled, the dialog centred across the
// screen and a third of the way down), its window handled by the dialog
// object's own window procedure, its help request answered with the object's
// help context, and the chosen device mode copied back into plain properties
// that a caller applies to its own printer settings.

#include "platform/core/Component.h"
#include "platform/print/DeviceMode.h"
#include "platform/print/PrintDialog.h"
#include "platform/ui/kernel/Dde.h"
#include "platform/ui/kernel/Messages.h"

#include <QMetaObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace print {
class TPrinter;
}

namespace report {

inline constexpr ui::UINT WM_NCDESTROY = 0x0082;
inline constexpr ui::UINT WM_INITDIALOG = 0x0110;

// Flags of the print-dialog record.
inline constexpr std::uint32_t PD_SELECTION = 0x00000001;
inline constexpr std::uint32_t PD_PAGENUMS = 0x00000002;
inline constexpr std::uint32_t PD_NOSELECTION = 0x00000004;
inline constexpr std::uint32_t PD_NOPAGENUMS = 0x00000008;
inline constexpr std::uint32_t PD_COLLATE = 0x00000010;
inline constexpr std::uint32_t PD_PRINTTOFILE = 0x00000020;
inline constexpr std::uint32_t PD_NOWARNING = 0x00000080;
inline constexpr std::uint32_t PD_SHOWHELP = 0x00000800;
inline constexpr std::uint32_t PD_ENABLEPRINTHOOK = 0x00001000;
inline constexpr std::uint32_t PD_ENABLESETUPHOOK = 0x00002000;
inline constexpr std::uint32_t PD_DISABLEPRINTTOFILE = 0x00080000;
inline constexpr std::uint32_t PD_HIDEPRINTTOFILE = 0x00100000;

// A dialog hook: gets the dialog window's messages before the dialog does;
// its result 0 lets the dialog's own handling go on.
using TDialogHook = ui::LRESULT (*)(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);

// What the print dialog is asked and what it answers.
struct TRpPrintDlgRecord {
    static constexpr std::uint32_t kSize = 66;
    std::uint32_t StructSize = 0;
    ui::HWND Owner = nullptr;
    std::uintptr_t Instance = 0;
    // The device mode to start from and, on OK, the one chosen.
    std::optional<print::TDeviceMode> DevMode;
    // The device-names block (0 for none).
    ui::HGLOBAL DevNames = 0;
    std::uint32_t Flags = 0;
    std::uint16_t FromPage = 0;
    std::uint16_t ToPage = 0;
    std::uint16_t MinPage = 0;
    std::uint16_t MaxPage = 0;
    std::uint16_t Copies = 0;
    TDialogHook PrintHook = nullptr;
    TDialogHook SetupHook = nullptr;
};

using TDialogFunction = std::function<bool(TRpPrintDlgRecord& record)>;

// Base of the dialogs: the window machinery.
class TRpCommonDialog : public core::TComponent {
public:
    explicit TRpCommonDialog(core::TComponent* owner);
    ~TRpCommonDialog() override;
    std::string ClassName() const override { return "TRpCommonDialog"; }

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool ctl3D) { ctl3D_ = ctl3D; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    core::TNotifyEvent OnClose;
    core::TNotifyEvent OnShow;

    // The running dialog's window; none otherwise.
    ui::HWND Handle() const { return handle_; }
    // The window procedure bound to this object, which the dialog's window gets.
    const ui::TWndMethod& ObjectInstance() const { return objectInstance_; }

    virtual bool Execute() = 0;

    virtual void WndProc(ui::TMessage& message);
    // Offered every message of the application's main window while the
    // dialog runs; true when it took the message.
    virtual bool MessageHook(ui::TMessage& message);
    // Runs dialog(record) as a modal dialog of the task.
    virtual bool TaskModalDialog(const TDialogFunction& dialog, TRpPrintDlgRecord& record);

    // The hook that centres the print and setup dialogs and hands their
    // windows to the dialog object being created.
    static ui::LRESULT DialogHook(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);

protected:
    virtual void DoClose();
    virtual void DoShow();
    void DefaultHandler(ui::TMessage& message);

private:
    void WindowGone();

    bool ctl3D_ = true;
    int helpContext_ = 0;
    ui::HWND handle_ = nullptr;
    ui::TWndMethod defWndProc_;
    ui::TWndMethod objectInstance_;
    QMetaObject::Connection destroyedConnection_;
};

// Printer selection through the device-names and device-mode blocks.
class TRpBasePrintDialog : public TRpCommonDialog {
public:
    explicit TRpBasePrintDialog(core::TComponent* owner);
    std::string ClassName() const override { return "TRpBasePrintDialog"; }

    // The selected printer's device mode and a new device-names block (none
    // for either when the printer has no device mode). The caller frees the block.
    void GetPrinterHandles(std::optional<print::TDeviceMode>& devMode, ui::HGLOBAL& devNames);
    // Selects the named device with that device mode; frees the block.
    void SetPrinterFromHandles(const std::optional<print::TDeviceMode>& devMode, ui::HGLOBAL devNames);
    // A new block with the same bytes; 0 for 0.
    static ui::HGLOBAL CopyMemoryBlock(ui::HGLOBAL block);

    const std::string& Device() const { return device_; }
    const std::string& Driver() const { return driver_; }
    const std::string& Port() const { return port_; }

protected:
    print::TPrinter* printer_;

private:
    std::string device_;
    std::string driver_;
    std::string port_;
};

class TRpPrintDialog : public TRpBasePrintDialog {
public:
    explicit TRpPrintDialog(core::TComponent* owner) : TRpBasePrintDialog(owner) {}
    std::string ClassName() const override { return "TRpPrintDialog"; }

    bool Execute() override;
    // The flags the dialog is run with, from the properties.
    std::uint32_t DialogFlags() const;

    int FromPage() const { return fromPage_; }
    void SetFromPage(int page) { fromPage_ = page; }
    int ToPage() const { return toPage_; }
    void SetToPage(int page) { toPage_ = page; }
    int MinPage() const { return minPage_; }
    void SetMinPage(int page) { minPage_ = page; }
    int MaxPage() const { return maxPage_; }
    void SetMaxPage(int page) { maxPage_ = page; }
    // Non-zero means collate.
    int Collate() const { return collate_; }
    void SetCollate(int collate) { collate_ = collate; }
    int Copies() const { return copies_; }
    // Sets the printer's number of copies too.
    void SetCopies(int copies);
    print::TPrintDialogOptions Options() const { return options_; }
    void SetOptions(print::TPrintDialogOptions options) { options_ = options; }
    bool PrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool printToFile) { printToFile_ = printToFile; }
    print::TPrintRange PrintRange() const { return printRange_; }
    void SetPrintRange(print::TPrintRange range) { printRange_ = range; }

    int PrintQuality() const { return printQuality_; }
    void SetPrintQuality(int quality) { printQuality_ = quality; }
    int ColorOption() const { return colorOption_; }
    void SetColorOption(int color) { colorOption_ = color; }
    int OutputBin() const { return outputBin_; }
    void SetOutputBin(int bin) { outputBin_ = bin; }
    int PaperSize() const { return paperSize_; }
    void SetPaperSize(int paper) { paperSize_ = paper; }
    int DuplexCode() const { return duplexCode_; }
    void SetDuplexCode(int duplex) { duplexCode_ = duplex; }
    bool Duplex() const { return duplex_; }
    void SetDuplex(bool duplex) { duplex_ = duplex; }
    std::int16_t Orientation() const { return orientation_; }
    void SetOrientation(std::int16_t orientation) { orientation_ = orientation; }
    // 0.1 mm, as the device mode gives them.
    long double Paperwidth() const { return paperwidth_; }
    void SetPaperwidth(long double width) { paperwidth_ = width; }
    long double Paperlength() const { return paperlength_; }
    void SetPaperlength(long double length) { paperlength_ = length; }
    // The field mask of the last device mode read.
    std::uint32_t DevModeFields() const { return devModeFields_; }

private:
    int fromPage_ = 0;
    int toPage_ = 0;
    int minPage_ = 0;
    int maxPage_ = 0;
    int collate_ = 0;
    int copies_ = 1;
    print::TPrintDialogOptions options_ = 0;
    bool printToFile_ = false;
    print::TPrintRange printRange_ = print::TPrintRange::prAllPages;
    int printQuality_ = 0;
    int colorOption_ = 0;
    int outputBin_ = 0;
    int paperSize_ = 0;
    int duplexCode_ = 0;
    bool duplex_ = false;
    std::int16_t orientation_ = 1;
    long double paperwidth_ = 0;
    long double paperlength_ = 0;
    std::uint32_t devModeFields_ = 0;
};

// The print dialog as the platform's print dialog service runs it.
bool RunPrintDialog(TRpPrintDlgRecord& record, print::TPrinter& printer);

// The dialog unit's process-wide values; the first use starts the unit.
void InitializePrintDialogUnit();
void FinalizePrintDialogUnit();
ui::UINT HelpMessage();
ui::UINT FindReplaceMessage();
// The global atom the unit added, 0 when none.
ui::ATOM WndProcAtom();
// The atom's name for a module instance and a thread: "WndProcPtr" and both
// numbers as eight upper-case hexadecimal digits.
std::string WndProcAtomName(std::uint32_t instance, std::uint32_t threadId);

} // namespace report
