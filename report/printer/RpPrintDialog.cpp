#include "report/printer/RpPrintDialog.h"

#include "platform/print/Printer.h"
#include "platform/print/PrinterDevice.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/RegisteredMessages.h"
#include "platform/ui/kernel/Windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <vector>

namespace report {

namespace {

// The dialog object whose window is being created; set only from the start of
// TaskModalDialog until the dialog's initialisation.
TRpCommonDialog* CreationDialog = nullptr;

struct TUnit {
    int starts = 0;
    ui::UINT helpMessage = 0;
    ui::UINT findReplaceMessage = 0;
    ui::ATOM atom = 0;
};

TUnit& Unit()
{
    static TUnit unit;
    return unit;
}

// The module instance: a number of this code module.
std::uint32_t ModuleInstance()
{
    static const char marker = 0;
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&marker));
}

// A text cut to what a buffer of 80 characters holds with its terminating zero,
// never inside a UTF-8 sequence.
std::string Buffer80(const std::string& text)
{
    std::size_t length = std::min<std::size_t>(text.size(), 79);
    while (length > 0 && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return text.substr(0, length);
}

std::uint16_t ReadWord(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

void WriteWord(std::uint8_t* bytes, std::size_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The zero-terminated text at offset of a locked block.
std::string TextAt(std::span<std::uint8_t> block, std::size_t offset)
{
    if (offset >= block.size())
        return {};
    const char* start = reinterpret_cast<const char*>(block.data() + offset);
    return std::string(start, strnlen(start, block.size() - offset));
}

// Disables every other visible top-level window while it lives and gives the
// activation back to the window that had it.
class TTaskWindows {
public:
    TTaskWindows() : active_(QApplication::activeWindow())
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->isEnabled()) {
                widget->setEnabled(false);
                disabled_.emplace_back(widget);
            }
    }
    ~TTaskWindows()
    {
        for (const QPointer<QWidget>& widget : disabled_)
            if (widget != nullptr)
                widget->setEnabled(true);
        if (active_ != nullptr)
            active_->activateWindow();
    }
    TTaskWindows(const TTaskWindows&) = delete;
    TTaskWindows& operator=(const TTaskWindows&) = delete;

private:
    QPointer<QWidget> active_;
    std::vector<QPointer<QWidget>> disabled_;
};

// Offers the main window's messages to the dialog's message hook while it lives.
class TMainWindowHook {
public:
    explicit TMainWindowHook(TRpCommonDialog* dialog)
    {
        ui::TCustomForm* main = ui::Application != nullptr ? ui::Application->MainForm() : nullptr;
        if (main == nullptr || main->Handle() == nullptr)
            return;
        window_ = main->Handle();
        ui::SetWindowSubclass(window_, Id(dialog), [dialog](ui::TMessage& message, const ui::TWndMethod& next) {
            if (!dialog->MessageHook(message))
                next(message);
        });
        id_ = Id(dialog);
    }
    ~TMainWindowHook()
    {
        if (window_ != nullptr)
            ui::RemoveWindowSubclass(window_, id_);
    }
    TMainWindowHook(const TMainWindowHook&) = delete;
    TMainWindowHook& operator=(const TMainWindowHook&) = delete;

private:
    static std::uintptr_t Id(TRpCommonDialog* dialog) { return reinterpret_cast<std::uintptr_t>(dialog); }
    QPointer<QWidget> window_;
    std::uintptr_t id_ = 0;
};

// Builds a device-names block: four offsets, then the driver, device and
// output texts, each zero-terminated, offsets counted from the block start.
ui::HGLOBAL MakeDevNames(const std::string& device, const std::string& driver, const std::string& port)
{
    const std::size_t size = device.size() + driver.size() + port.size() + 11;
    ui::HGLOBAL block = ui::GlobalAlloc(size);
    std::span<std::uint8_t> bytes = ui::GlobalLock(block);
    if (bytes.data() == nullptr)
        return 0;
    std::size_t offset = 8;
    WriteWord(bytes.data() + 0, offset);
    std::memcpy(bytes.data() + offset, driver.data(), driver.size());
    offset += driver.size() + 1;
    WriteWord(bytes.data() + 2, offset);
    std::memcpy(bytes.data() + offset, device.data(), device.size());
    offset += device.size() + 1;
    WriteWord(bytes.data() + 4, offset);
    std::memcpy(bytes.data() + offset, port.data(), port.size());
    ui::GlobalUnlock(block);
    return block;
}

} // namespace

// --- the unit

std::string WndProcAtomName(std::uint32_t instance, std::uint32_t threadId)
{
    char name[40];
    std::snprintf(name, sizeof name, "WndProcPtr%.8X%.8X", instance, threadId);
    return name;
}

void InitializePrintDialogUnit()
{
    TUnit& unit = Unit();
    if (unit.starts++ > 0)
        return;
    unit.helpMessage = ui::RegisterWindowMessage("commdlg_help");
    unit.findReplaceMessage = ui::RegisterWindowMessage("commdlg_FindReplace");
    unit.atom = ui::GlobalAddAtom(WndProcAtomName(ModuleInstance(), ui::GetCurrentThreadId()));
}

void FinalizePrintDialogUnit()
{
    TUnit& unit = Unit();
    if (unit.starts == 0 || --unit.starts > 0)
        return;
    if (unit.atom != 0)
        ui::GlobalDeleteAtom(unit.atom);
    unit.atom = 0;
}

ui::UINT HelpMessage()
{
    if (Unit().starts == 0)
        InitializePrintDialogUnit();
    return Unit().helpMessage;
}

ui::UINT FindReplaceMessage()
{
    if (Unit().starts == 0)
        InitializePrintDialogUnit();
    return Unit().findReplaceMessage;
}

ui::ATOM WndProcAtom()
{
    return Unit().atom;
}

// --- TRpCommonDialog

TRpCommonDialog::TRpCommonDialog(core::TComponent* owner) : core::TComponent(owner)
{
    if (Unit().starts == 0)
        InitializePrintDialogUnit();
    objectInstance_ = [this](ui::TMessage& message) { WndProc(message); };
}

TRpCommonDialog::~TRpCommonDialog()
{
    QObject::disconnect(destroyedConnection_);
    if (CreationDialog == this)
        CreationDialog = nullptr;
    objectInstance_ = nullptr;
}

void TRpCommonDialog::WndProc(ui::TMessage& message)
{
    switch (message.Msg) {
    case ui::WM_DESTROY:
        DefaultHandler(message);
        DoClose();
        break;
    case WM_INITDIALOG:
        DoShow();
        message.Result = 0;
        break;
    case WM_NCDESTROY:
        DefaultHandler(message);
        handle_ = nullptr;
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TRpCommonDialog::DefaultHandler(ui::TMessage& message)
{
    if (handle_ != nullptr && defWndProc_)
        defWndProc_(message);
}

bool TRpCommonDialog::MessageHook(ui::TMessage& message)
{
    if (message.Msg != HelpMessage() || helpContext_ == 0)
        return false;
    if (ui::Application != nullptr)
        ui::Application->HelpContext(helpContext_);
    message.Result = 0;
    return true;
}

bool TRpCommonDialog::TaskModalDialog(const TDialogFunction& dialog, TRpPrintDlgRecord& record)
{
    TTaskWindows windows;
    TMainWindowHook hook(this);
    CreationDialog = this;
    struct Reset {
        ~Reset() { CreationDialog = nullptr; }
    } reset;
    return dialog(record);
}

void TRpCommonDialog::DoClose()
{
    if (OnClose)
        OnClose(this);
}

void TRpCommonDialog::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TRpCommonDialog::WindowGone()
{
    // The window is going: it hears of its end as a window does.
    ui::TMessage destroy{ui::WM_DESTROY, 0, 0, 0};
    objectInstance_(destroy);
    ui::TMessage ncDestroy{WM_NCDESTROY, 0, 0, 0};
    objectInstance_(ncDestroy);
}

ui::LRESULT TRpCommonDialog::DialogHook(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam)
{
    if (message != WM_INITDIALOG || window == nullptr)
        return 0;
    // Centred across the screen, a third of the free height from the top; not
    // resized, re-ordered or activated.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        window->move((area.width() - window->width()) / 2, (area.height() - window->height()) / 3);
    }
    TRpCommonDialog* dialog = CreationDialog;
    if (dialog == nullptr)
        return 0;
    dialog->handle_ = window;
    dialog->defWndProc_ = ui::SetWindowProc(window, dialog->objectInstance_);
    QObject::disconnect(dialog->destroyedConnection_);
    dialog->destroyedConnection_ = QObject::connect(window, &QObject::destroyed, [dialog, window] {
        if (dialog->handle_ == window)
            dialog->WindowGone();
    });
    ui::TMessage init{WM_INITDIALOG, wParam, lParam, 0};
    dialog->objectInstance_(init);
    CreationDialog = nullptr;
    return 0;
}

// --- TRpBasePrintDialog

TRpBasePrintDialog::TRpBasePrintDialog(core::TComponent* owner) : TRpCommonDialog(owner), printer_(print::Printer())
{
}

void TRpBasePrintDialog::GetPrinterHandles(std::optional<print::TDeviceMode>& devMode, ui::HGLOBAL& devNames)
{
    devMode.reset();
    devNames = 0;
    if (printer_ == nullptr || printer_->Printers().Count() == 0)
        return;
    print::TPrinterDevice names = print::GetPrinterDevice(*printer_);
    device_ = Buffer80(names.Device);
    driver_ = Buffer80(names.Driver);
    port_ = Buffer80(names.Port);
    devMode = printer_->DeviceMode();
    devNames = MakeDevNames(device_, driver_, port_);
}

void TRpBasePrintDialog::SetPrinterFromHandles(const std::optional<print::TDeviceMode>& devMode, ui::HGLOBAL devNames)
{
    struct FreeBlock {
        ui::HGLOBAL block;
        ~FreeBlock()
        {
            if (block != 0) {
                ui::GlobalUnlock(block);
                ui::GlobalFree(block);
            }
        }
    } freeBlock{devNames};
    std::span<std::uint8_t> bytes = ui::GlobalLock(devNames);
    if (bytes.data() == nullptr || bytes.size() < 8 || printer_ == nullptr)
        return;
    const std::string device = TextAt(bytes, ReadWord(bytes.data() + 2));
    // The port stays the printer's own: a queue is reached by its name.
    const int index = printer_->Printers().IndexOf(device);
    if (index >= 0 && index != printer_->PrinterIndex())
        printer_->SetPrinterIndex(index);
    if (devMode)
        printer_->SetDeviceMode(*devMode);
}

ui::HGLOBAL TRpBasePrintDialog::CopyMemoryBlock(ui::HGLOBAL block)
{
    if (block == 0)
        return 0;
    std::span<std::uint8_t> source = ui::GlobalLock(block);
    if (source.data() == nullptr)
        return 0;
    ui::HGLOBAL copy = ui::GlobalAlloc(source.size());
    std::span<std::uint8_t> target = ui::GlobalLock(copy);
    if (target.data() != nullptr)
        std::memcpy(target.data(), source.data(), source.size());
    ui::GlobalUnlock(copy);
    ui::GlobalUnlock(block);
    return copy;
}

// --- TRpPrintDialog

void TRpPrintDialog::SetCopies(int copies)
{
    copies_ = copies;
    if (printer_ != nullptr)
        printer_->SetCopies(copies);
}

std::uint32_t TRpPrintDialog::DialogFlags() const
{
    std::uint32_t flags = 0;
    switch (printRange_) {
    case print::TPrintRange::prSelection: flags = PD_SELECTION; break;
    case print::TPrintRange::prPageNums: flags = PD_PAGENUMS; break;
    default: break;
    }
    flags |= PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    if (collate_ != 0)
        flags |= PD_COLLATE;
    if ((options_ & print::poPrintToFile) == 0)
        flags |= PD_HIDEPRINTTOFILE;
    if ((options_ & print::poPageNums) == 0)
        flags |= PD_NOPAGENUMS;
    if ((options_ & print::poSelection) == 0)
        flags |= PD_NOSELECTION;
    if ((options_ & print::poDisablePrintToFile) != 0)
        flags |= PD_DISABLEPRINTTOFILE;
    if (printToFile_)
        flags |= PD_PRINTTOFILE;
    if ((options_ & print::poHelp) != 0)
        flags |= PD_SHOWHELP;
    if ((options_ & print::poWarning) == 0)
        flags |= PD_NOWARNING;
    return flags;
}

bool TRpPrintDialog::Execute()
{
    TRpPrintDlgRecord record;
    record.StructSize = TRpPrintDlgRecord::kSize;
    record.Instance = ModuleInstance();
    std::optional<print::TDeviceMode> devMode;
    ui::HGLOBAL devNames = 0;
    GetPrinterHandles(devMode, devNames);
    record.DevNames = devNames;
    record.DevMode = devMode;
    record.Flags = DialogFlags();
    record.FromPage = static_cast<std::uint16_t>(fromPage_);
    record.ToPage = static_cast<std::uint16_t>(toPage_);
    record.MinPage = static_cast<std::uint16_t>(minPage_);
    record.MaxPage = static_cast<std::uint16_t>(maxPage_);
    record.PrintHook = &TRpCommonDialog::DialogHook;
    record.SetupHook = &TRpCommonDialog::DialogHook;
    if (ui::Application != nullptr && ui::Application->MainForm() != nullptr)
        record.Owner = ui::Application->MainForm()->Handle();

    bool accepted = false;
    try {
        accepted = printer_ != nullptr &&
                   TaskModalDialog([this](TRpPrintDlgRecord& r) { return RunPrintDialog(r, *printer_); }, record);
    } catch (...) {
        ui::GlobalFree(record.DevNames);
        throw;
    }
    if (!accepted) {
        ui::GlobalFree(record.DevNames);
        return false;
    }
    SetPrinterFromHandles(record.DevMode, record.DevNames);
    printToFile_ = (record.Flags & PD_PRINTTOFILE) != 0;
    printRange_ = (record.Flags & PD_SELECTION) != 0  ? print::TPrintRange::prSelection
                  : (record.Flags & PD_PAGENUMS) != 0 ? print::TPrintRange::prPageNums
                                                      : print::TPrintRange::prAllPages;
    fromPage_ = record.FromPage;
    toPage_ = record.ToPage;
    // A count of 1 means the driver keeps the copies itself.
    if (record.Copies == 1)
        SetCopies(printer_->Copies());
    else
        SetCopies(record.Copies);
    if (record.DevMode) {
        const print::TDeviceMode& mode = *record.DevMode;
        devModeFields_ = mode.Fields;
        outputBin_ = mode.DefaultSource;
        paperSize_ = mode.PaperSize;
        paperwidth_ = mode.PaperWidth;
        paperlength_ = mode.PaperLength;
        orientation_ = static_cast<std::int16_t>(mode.Orientation);
        printQuality_ = mode.PrintQuality;
        colorOption_ = mode.Color;
        duplexCode_ = mode.Duplex;
        duplex_ = mode.Duplex != print::DMDUP_SIMPLEX;
        collate_ = mode.Collate;
    }
    return true;
}

// --- the platform's dialog

bool RunPrintDialog(TRpPrintDlgRecord& record, print::TPrinter& printer)
{
    print::TPrintDialogData data;
    data.FromPage = record.FromPage;
    data.ToPage = record.ToPage;
    data.MinPage = record.MinPage;
    data.MaxPage = record.MaxPage;
    // With no count in the record the dialog starts from the device mode's copies.
    data.Copies = record.Copies != 0 ? record.Copies : record.DevMode ? record.DevMode->Copies : printer.Copies();
    data.Collate = (record.Flags & PD_COLLATE) != 0;
    data.Options = 0;
    if ((record.Flags & PD_HIDEPRINTTOFILE) == 0)
        data.Options |= print::poPrintToFile;
    if ((record.Flags & PD_NOPAGENUMS) == 0)
        data.Options |= print::poPageNums;
    if ((record.Flags & PD_NOSELECTION) == 0)
        data.Options |= print::poSelection;
    if ((record.Flags & PD_NOWARNING) == 0)
        data.Options |= print::poWarning;
    if ((record.Flags & PD_SHOWHELP) != 0)
        data.Options |= print::poHelp;
    if ((record.Flags & PD_DISABLEPRINTTOFILE) != 0)
        data.Options |= print::poDisablePrintToFile;
    data.PrintToFile = (record.Flags & PD_PRINTTOFILE) != 0;
    data.PrintRange = (record.Flags & PD_SELECTION) != 0  ? print::TPrintRange::prSelection
                      : (record.Flags & PD_PAGENUMS) != 0 ? print::TPrintRange::prPageNums
                                                          : print::TPrintRange::prAllPages;
    TDialogHook hook = record.PrintHook;
    if (hook != nullptr && (record.Flags & PD_ENABLEPRINTHOOK) != 0)
        data.OnInitDialog = [hook](QWidget* dialog) { hook(dialog, WM_INITDIALOG, 0, 0); };

    if (!print::PrintDialogService().Execute(printer, data))
        return false;

    record.Flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_PRINTTOFILE | PD_COLLATE);
    if (data.PrintRange == print::TPrintRange::prSelection)
        record.Flags |= PD_SELECTION;
    else if (data.PrintRange == print::TPrintRange::prPageNums)
        record.Flags |= PD_PAGENUMS;
    if (data.PrintToFile)
        record.Flags |= PD_PRINTTOFILE;
    if (data.Collate)
        record.Flags |= PD_COLLATE;
    record.FromPage = static_cast<std::uint16_t>(data.FromPage);
    record.ToPage = static_cast<std::uint16_t>(data.ToPage);
    record.Copies = static_cast<std::uint16_t>(data.Copies);
    // The chosen printer comes back in the blocks, as the dialog hands it over.
    print::TDeviceMode mode = printer.DeviceMode();
    mode.Collate = data.Collate ? print::DMCOLLATE_TRUE : print::DMCOLLATE_FALSE;
    record.DevMode = mode;
    print::TPrinterDevice names = print::GetPrinterDevice(printer);
    ui::GlobalFree(record.DevNames);
    record.DevNames = MakeDevNames(Buffer80(names.Device), Buffer80(names.Driver), Buffer80(names.Port));
    return true;
}

} // namespace report
