#include "platform/print/Printer.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/RegisteredMessages.h"
#include "platform/ui/kernel/Windows.h"
#include "report/printer/RpPrintDialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <cstring>
#include <memory>
#include <stdexcept>

using namespace report;

namespace {

struct PrintDialog : testing::Test {
    std::unique_ptr<print::TPrinter> previous;
    PrintDialog() { previous = print::SetPrinter(std::make_unique<print::TPrinter>()); }
    ~PrintDialog() override { print::SetPrinter(std::move(previous)); }
};

constexpr std::uint32_t kHooks = PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;

} // namespace

TEST_F(PrintDialog, FlagsFollowRangeOptionsCollationAndPrintToFile)
{
    TRpPrintDialog dialog(nullptr);
    // No options: print-to-file hidden, neither page numbers nor selection, no warning.
    EXPECT_EQ(dialog.DialogFlags(), kHooks | PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOWARNING);
    dialog.SetOptions(print::poWarning);
    EXPECT_EQ(dialog.DialogFlags(), kHooks | PD_HIDEPRINTTOFILE | PD_NOPAGENUMS | PD_NOSELECTION);
    dialog.SetOptions(print::poPrintToFile | print::poPageNums | print::poSelection | print::poWarning | print::poHelp |
                      print::poDisablePrintToFile);
    dialog.SetPrintRange(print::TPrintRange::prPageNums);
    dialog.SetCollate(1);
    dialog.SetPrintToFile(true);
    EXPECT_EQ(dialog.DialogFlags(),
              PD_PAGENUMS | kHooks | PD_COLLATE | PD_DISABLEPRINTTOFILE | PD_PRINTTOFILE | PD_SHOWHELP);
    dialog.SetPrintRange(print::TPrintRange::prSelection);
    EXPECT_EQ(dialog.DialogFlags() & 3u, PD_SELECTION);
}

TEST_F(PrintDialog, DefaultsOfThePublishedProperties)
{
    TRpPrintDialog dialog(nullptr);
    EXPECT_TRUE(dialog.Ctl3D());
    EXPECT_EQ(dialog.HelpContext(), 0);
    EXPECT_EQ(dialog.Copies(), 1);
    EXPECT_EQ(dialog.Orientation(), 1);
    EXPECT_EQ(dialog.Collate(), 0);
    EXPECT_EQ(dialog.Options(), 0u);
    EXPECT_EQ(dialog.PrintRange(), print::TPrintRange::prAllPages);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(PrintDialog, TheDialogIsAskedWhatThePropertiesSay)
{
    TRpPrintDialog dialog(nullptr);
    dialog.SetFromPage(2);
    dialog.SetToPage(4);
    dialog.SetMinPage(1);
    dialog.SetMaxPage(9);
    dialog.SetCollate(1);
    dialog.SetOptions(print::poPageNums | print::poHelp);
    dialog.SetPrintRange(print::TPrintRange::prPageNums);
    print::TPrintDialogData asked;
    print::TScopedPrintDialog service([&](print::TPrinter&, print::TPrintDialogData& data) {
        asked = data;
        return false;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(service.Calls(), 1);
    EXPECT_EQ(asked.FromPage, 2);
    EXPECT_EQ(asked.ToPage, 4);
    EXPECT_EQ(asked.MinPage, 1);
    EXPECT_EQ(asked.MaxPage, 9);
    EXPECT_TRUE(asked.Collate);
    EXPECT_EQ(asked.Options, print::poPageNums | print::poHelp);
    EXPECT_EQ(asked.PrintRange, print::TPrintRange::prPageNums);
    EXPECT_FALSE(asked.PrintToFile);
    EXPECT_TRUE(static_cast<bool>(asked.OnInitDialog));
}

TEST_F(PrintDialog, ACancelledDialogChangesNothing)
{
    TRpPrintDialog dialog(nullptr);
    dialog.SetFromPage(3);
    dialog.SetToPage(5);
    dialog.SetCopies(2);
    print::TScopedPrintDialog service([](print::TPrinter& printer, print::TPrintDialogData& data) {
        data.FromPage = 1;
        data.Copies = 7;
        printer.SetOrientation(print::TPrinterOrientation::poLandscape);
        return false;
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FromPage(), 3);
    EXPECT_EQ(dialog.ToPage(), 5);
    EXPECT_EQ(dialog.Copies(), 2);
    EXPECT_EQ(dialog.Orientation(), 1);
    EXPECT_EQ(dialog.PaperSize(), 0);
}

TEST_F(PrintDialog, TheChosenDeviceModeComesBackInTheProperties)
{
    TRpPrintDialog dialog(nullptr);
    dialog.SetOptions(print::poPageNums | print::poPrintToFile);
    print::TScopedPrintDialog service([](print::TPrinter& printer, print::TPrintDialogData& data) {
        print::TDeviceMode mode = printer.DeviceMode();
        mode.Orientation = print::DMORIENT_LANDSCAPE;
        mode.PaperSize = print::DMPAPER_A5;
        mode.Duplex = print::DMDUP_VERTICAL;
        printer.SetDeviceMode(mode);
        data.PrintRange = print::TPrintRange::prPageNums;
        data.FromPage = 2;
        data.ToPage = 3;
        data.PrintToFile = true;
        data.Collate = true;
        data.Copies = 4;
        return true;
    });
    ASSERT_TRUE(dialog.Execute());
    print::TDeviceMode chosen = print::Printer()->DeviceMode();
    EXPECT_EQ(dialog.PrintRange(), print::TPrintRange::prPageNums);
    EXPECT_EQ(dialog.FromPage(), 2);
    EXPECT_EQ(dialog.ToPage(), 3);
    EXPECT_TRUE(dialog.PrintToFile());
    EXPECT_EQ(dialog.Copies(), 4);
    EXPECT_EQ(print::Printer()->Copies(), 4);
    EXPECT_EQ(dialog.Orientation(), print::DMORIENT_LANDSCAPE);
    EXPECT_EQ(dialog.PaperSize(), chosen.PaperSize);
    EXPECT_EQ(dialog.Paperwidth(), chosen.PaperWidth);
    EXPECT_EQ(dialog.Paperlength(), chosen.PaperLength);
    EXPECT_EQ(dialog.OutputBin(), chosen.DefaultSource);
    EXPECT_EQ(dialog.PrintQuality(), chosen.PrintQuality);
    EXPECT_EQ(dialog.ColorOption(), chosen.Color);
    EXPECT_EQ(dialog.DuplexCode(), chosen.Duplex);
    EXPECT_EQ(dialog.Duplex(), chosen.Duplex != print::DMDUP_SIMPLEX);
    EXPECT_EQ(dialog.Collate(), 1);
    EXPECT_EQ(dialog.DevModeFields(), chosen.Fields);
}

TEST_F(PrintDialog, ACopiesCountOfOneTakesThePrintersCopies)
{
    TRpPrintDialog dialog(nullptr);
    print::TScopedPrintDialog service([](print::TPrinter& printer, print::TPrintDialogData& data) {
        printer.SetCopies(3);
        data.Copies = 1;
        return true;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 3);
    EXPECT_EQ(print::Printer()->Copies(), 3);
}

TEST_F(PrintDialog, TheDeviceNamesBlockHoldsDriverDeviceAndPortBehindTheirOffsets)
{
    TRpPrintDialog dialog(nullptr);
    print::Printer()->SetOutputFileName("/tmp/sestava.pdf");
    std::optional<print::TDeviceMode> mode;
    ui::HGLOBAL names = 0;
    dialog.GetPrinterHandles(mode, names);
    ASSERT_TRUE(mode.has_value());
    ASSERT_NE(names, 0u);
    EXPECT_EQ(dialog.Device(), "PDF");
    EXPECT_EQ(dialog.Driver(), "PDF");
    EXPECT_EQ(dialog.Port(), "/tmp/sestava.pdf");
    const std::string expected = std::string("\x08\x00\x0C\x00\x10\x00\x00\x00", 8) + std::string("PDF\0PDF\0", 8) +
                                 "/tmp/sestava.pdf" + std::string(1, '\0');
    ASSERT_EQ(ui::GlobalSize(names), expected.size());
    ASSERT_EQ(expected.size(), 3 + 3 + 16 + 11u);
    std::span<std::uint8_t> bytes = ui::GlobalLock(names);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), expected);
    ui::GlobalUnlock(names);

    ui::HGLOBAL copy = TRpBasePrintDialog::CopyMemoryBlock(names);
    ASSERT_NE(copy, 0u);
    EXPECT_NE(copy, names);
    std::span<std::uint8_t> copied = ui::GlobalLock(copy);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(copied.data()), copied.size()), expected);
    ui::GlobalUnlock(copy);
    EXPECT_EQ(TRpBasePrintDialog::CopyMemoryBlock(0), 0u);

    // Setting the printer from the blocks frees the names block.
    mode->Orientation = print::DMORIENT_LANDSCAPE;
    dialog.SetPrinterFromHandles(mode, names);
    EXPECT_EQ(ui::GlobalSize(names), 0u);
    EXPECT_EQ(print::Printer()->Orientation(), print::TPrinterOrientation::poLandscape);
    ui::GlobalFree(copy);
}

TEST_F(PrintDialog, OtherWindowsAreDisabledWhileTheDialogRunsEvenWhenItFails)
{
    ui::TForm* other = ui::CreateComponent<ui::TForm>(nullptr);
    other->Show();
    TRpPrintDialog dialog(nullptr);
    bool disabledDuring = false;
    {
        print::TScopedPrintDialog service([&](print::TPrinter&, print::TPrintDialogData&) {
            disabledDuring = !other->Widget()->isEnabled();
            return false;
        });
        dialog.Execute();
    }
    EXPECT_TRUE(disabledDuring);
    EXPECT_TRUE(other->Widget()->isEnabled());
    {
        print::TScopedPrintDialog service([&](print::TPrinter&, print::TPrintDialogData&) -> bool {
            throw std::runtime_error("tiskárna nedostupná");
        });
        EXPECT_THROW(dialog.Execute(), std::runtime_error);
    }
    EXPECT_TRUE(other->Widget()->isEnabled());
    ui::FreeComponent(other);
}

TEST_F(PrintDialog, TheDialogWindowIsCentredAThirdDownAndHandledByTheObject)
{
    TRpPrintDialog dialog(nullptr);
    std::vector<std::string> events;
    dialog.OnShow = [&](core::TObject*) { events.push_back("show"); };
    dialog.OnClose = [&](core::TObject*) { events.push_back("close"); };
    QPoint placed;
    bool handleDuring = false, procedureReplaced = false;
    print::TScopedPrintDialog service([&](print::TPrinter&, print::TPrintDialogData& data) {
        auto window = std::make_unique<QDialog>();
        window->resize(300, 200);
        data.OnInitDialog(window.get());
        placed = window->pos();
        handleDuring = dialog.Handle() == window.get();
        // The window's messages reach the object's procedure now; what it
        // leaves alone goes on to the window's own.
        ui::SendMessage(window.get(), WM_INITDIALOG);
        procedureReplaced = ui::SendMessage(window.get(), ui::WM_USER + 7) == 0;
        window.reset();
        return false;
    });
    dialog.Execute();
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(placed, QPoint((screen.width() - 300) / 2, (screen.height() - 200) / 3));
    EXPECT_TRUE(handleDuring);
    EXPECT_TRUE(procedureReplaced);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "show", "close"}));
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(PrintDialog, HelpRequestsReachTheApplicationOnlyWithAHelpContext)
{
    if (ui::Application->MainForm() == nullptr) {
        ui::TForm* main = nullptr;
        ui::Application->CreateForm(main);
    }
    ui::HWND mainWindow = ui::Application->MainForm()->Handle();
    std::vector<int> shown;
    ui::Application->OnHelp = [&](int context) {
        shown.push_back(context);
        return true;
    };
    TRpPrintDialog dialog(nullptr);
    print::TScopedPrintDialog service([&](print::TPrinter&, print::TPrintDialogData&) {
        ui::SendMessage(mainWindow, HelpMessage());
        return false;
    });
    dialog.Execute();
    EXPECT_TRUE(shown.empty());
    dialog.SetHelpContext(120);
    dialog.Execute();
    EXPECT_EQ(shown, (std::vector<int>{120}));
    // Once the dialog is gone the main window hears the message itself again.
    ui::SendMessage(mainWindow, HelpMessage());
    EXPECT_EQ(shown.size(), 1u);
    ui::Application->OnHelp = nullptr;
}

TEST(PrintDialogUnit, RegisteredMessagesAndTheWindowProcedureAtom)
{
    InitializePrintDialogUnit();
    EXPECT_EQ(HelpMessage(), ui::RegisterWindowMessage("commdlg_help"));
    EXPECT_EQ(FindReplaceMessage(), ui::RegisterWindowMessage("commdlg_FindReplace"));
    EXPECT_EQ(WndProcAtomName(0x00ABCDEF, 0x1F), "WndProcPtr00ABCDEF0000001F");
    ui::ATOM atom = WndProcAtom();
    ASSERT_NE(atom, 0);
    std::string name = ui::GlobalGetAtomName(atom);
    EXPECT_EQ(name.substr(0, 10), "WndProcPtr");
    EXPECT_EQ(name.size(), 26u);
    char thread[9];
    std::snprintf(thread, sizeof thread, "%.8X", ui::GetCurrentThreadId());
    EXPECT_EQ(name.substr(18), thread);
    // Counted: only the last shut-down deletes the atom.
    InitializePrintDialogUnit();
    FinalizePrintDialogUnit();
    EXPECT_EQ(ui::GlobalGetAtomName(atom), name);
    while (WndProcAtom() != 0)
        FinalizePrintDialogUnit();
    EXPECT_EQ(ui::GlobalGetAtomName(atom), "");
}
