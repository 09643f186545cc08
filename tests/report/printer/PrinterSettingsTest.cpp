// Printer settings: the paper and bin tables, reading a device mode back,
// writing the wanted values into one, the guarded setters, and the report's
// stored option set.
#include "report/printer/RpPrinterSettings.h"
#include "report/printer/RpReportPrinterSettings.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace report;
using print::TDeviceMode;

namespace {

// Reads the PDF printer's settings after the handler has put fields of its
// own into the device mode, as a driver reporting them would.
void ReadWith(TPrinterSettings& settings, print::TPrinter& printer, std::function<void(TDeviceMode&)> change)
{
    settings.OnGetPrinterSettings = [change](core::TObject*, bool&, TDeviceMode* mode) { change(*mode); };
    settings.SetPrinter(&printer);
}

} // namespace

TEST(PaperTableTest, NamedPapersHaveTheirDimensionsInTenthsOfMillimetres)
{
    TPrinterSettings settings;
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A4);
    EXPECT_EQ(settings.PaperWidth(), 2100);
    EXPECT_EQ(settings.PaperLength(), 2970);

    EXPECT_EQ(PaperDimensions(TRpPaperSize::Letter).Width, 215.9L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::Ledger).Width, 431.8L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::EnvB6).Length, 125.0L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::EnvPersonal).Width, 92.01L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::A2).Length, 594.0L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::A3ExtraTrans).Width, 445.0L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::Default).Width, 0.0L);
    EXPECT_EQ(PaperDimensions(TRpPaperSize::Custom).Length, 0.0L);
}

TEST(PaperTableTest, PaperAndBinCodes)
{
    EXPECT_EQ(PaperCode(TRpPaperSize::Default), 0);
    EXPECT_EQ(PaperCode(TRpPaperSize::A4), 9);
    EXPECT_EQ(PaperCode(TRpPaperSize::rp10X14), 16);
    EXPECT_EQ(PaperCode(TRpPaperSize::A3ExtraTrans), 68);
    EXPECT_EQ(PaperCode(TRpPaperSize::Custom), 256);
    EXPECT_EQ(static_cast<int>(TRpPaperSize::Custom), 69);

    EXPECT_EQ(BinCode(TRpBin::First), 1);
    EXPECT_EQ(BinCode(TRpBin::Upper), 1);
    EXPECT_EQ(BinCode(TRpBin::Auto), 7);
    EXPECT_EQ(BinCode(TRpBin::LargeCapacity), 11);
    EXPECT_EQ(BinCode(TRpBin::Cassette), 14);
    EXPECT_EQ(BinCode(TRpBin::Last), 14);
}

TEST(PrinterSettingsTest, OwnSizesServeDefaultAndCustomPapers)
{
    TPrinterSettings settings;
    settings.SetPaperWidth(1234);
    settings.SetPaperLength(5678);
    EXPECT_EQ(settings.PaperWidth(), 2100);
    ASSERT_TRUE(settings.SetPaperSize(TRpPaperSize::Default));
    EXPECT_EQ(settings.PaperWidth(), 1234);
    EXPECT_EQ(settings.PaperLength(), 5678);
}

TEST(PrinterSettingsTest, WithoutADeviceModeTheGuardedSettersRefuse)
{
    TPrinterSettings settings;
    EXPECT_FALSE(settings.SetCopies(3));
    EXPECT_FALSE(settings.SetOrientation(print::TPrinterOrientation::poLandscape));
    EXPECT_FALSE(settings.SetDuplex(true));
    EXPECT_FALSE(settings.SetOutputBin(TRpBin::Manual));
    // No paper list was read: only Default is taken.
    EXPECT_FALSE(settings.SetPaperSize(TRpPaperSize::A5));
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A4);
    EXPECT_EQ(settings.Copies(), 0);
    EXPECT_EQ(settings.Orientation(), print::TPrinterOrientation::poPortrait);
    EXPECT_FALSE(settings.PapersRead());
    EXPECT_EQ(settings.MemoryLimit(), 250000);
}

TEST(PrinterSettingsTest, ReadsThePdfPrintersDevice)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    settings.SetPrinter(&printer);
    EXPECT_EQ(settings.Device(), "PDF");
    EXPECT_EQ(settings.Driver(), "PDF");
    EXPECT_EQ(settings.PixelsPerX(), printer.LogPixelsX());
    EXPECT_GT(settings.PixelsPerX(), 0);
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A4);
    // The physical paper, from device pixels back to 0.1 mm.
    EXPECT_NEAR(settings.PaperWidth(), 2100, 1);
    EXPECT_EQ(settings.Copies(), 1);
    EXPECT_EQ(settings.OutputBin(), TRpBin::Auto);
    EXPECT_TRUE(settings.PapersRead());
    EXPECT_TRUE(settings.SupportedPaper(TRpPaperSize::A4));
    EXPECT_TRUE(settings.SupportedPaper(TRpPaperSize::Letter));
    EXPECT_TRUE(settings.SupportedPaper(TRpPaperSize::Custom));
    EXPECT_FALSE(settings.SupportedPaper(TRpPaperSize::Default));
    EXPECT_EQ(settings.PrintQuality(), printer.DeviceMode().PrintQuality);
}

TEST(PrinterSettingsTest, PaperCodesReadBackAsTheirSizes)
{
    print::TPrinter printer;
    struct Case {
        int code;
        TRpPaperSize expected;
    };
    for (Case c : {Case{256, TRpPaperSize::Custom}, Case{9, TRpPaperSize::A4}, Case{300, TRpPaperSize::Default},
                   Case{0, TRpPaperSize::Default}, Case{68, TRpPaperSize::A3ExtraTrans}}) {
        TPrinterSettings settings;
        ReadWith(settings, printer, [&](TDeviceMode& mode) { mode.PaperSize = c.code; });
        EXPECT_EQ(settings.PaperSize(), c.expected) << c.code;
    }
    // A device mode without a paper field reads as Default.
    TPrinterSettings settings;
    ReadWith(settings, printer, [](TDeviceMode& mode) { mode.Fields &= ~print::DM_PAPERSIZE; });
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::Default);
}

TEST(PrinterSettingsTest, BinsAndDuplexReadBack)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    ReadWith(settings, printer, [](TDeviceMode& mode) { mode.DefaultSource = 1; });
    EXPECT_EQ(settings.OutputBin(), TRpBin::First);
    ReadWith(settings, printer, [](TDeviceMode& mode) { mode.DefaultSource = 14; });
    EXPECT_EQ(settings.OutputBin(), TRpBin::Cassette);
    ReadWith(settings, printer, [](TDeviceMode& mode) { mode.DefaultSource = 99; });
    EXPECT_EQ(settings.OutputBin(), TRpBin::First);

    ReadWith(settings, printer, [](TDeviceMode& mode) {
        mode.Fields |= print::DM_DUPLEX;
        mode.Duplex = 2;
    });
    EXPECT_TRUE(settings.Duplex());
    EXPECT_EQ(settings.ExtendedDuplex(), 2);
    ReadWith(settings, printer, [](TDeviceMode& mode) {
        mode.Fields |= print::DM_DUPLEX;
        mode.Duplex = 1;
    });
    EXPECT_FALSE(settings.Duplex());
    EXPECT_EQ(settings.ExtendedDuplex(), 1);

    ReadWith(settings, printer, [](TDeviceMode& mode) {
        mode.Copies = 4;
        mode.Collate = 1;
        mode.Color = 1;
        mode.PrintQuality = -3;
    });
    EXPECT_EQ(settings.Copies(), 4);
    EXPECT_EQ(settings.Collate(), 1);
    EXPECT_EQ(settings.ColorOption(), 1);
    EXPECT_EQ(settings.PrintQuality(), -3);
    ReadWith(settings, printer, [](TDeviceMode& mode) {
        mode.Copies = 4;
        mode.Fields &= ~print::DM_COPIES;
    });
    EXPECT_EQ(settings.Copies(), 1);
}

TEST(PrinterSettingsTest, CancelKeepsWhatWasRead)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    ASSERT_FALSE(settings.SetCopies(7));
    settings.OnGetPrinterSettings = [](core::TObject*, bool& cancel, TDeviceMode*) { cancel = true; };
    settings.SetPrinter(&printer);
    EXPECT_EQ(settings.PixelsPerX(), 0);
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A4);
    EXPECT_FALSE(settings.PapersRead());
    // The device mode is known all the same.
    EXPECT_TRUE(settings.SetCopies(7));
    EXPECT_EQ(settings.Copies(), 7);
}

TEST(PrinterSettingsTest, GuardedSettersFollowTheDeviceModesFields)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    settings.SetPrinter(&printer);
    EXPECT_TRUE(settings.SetCopies(3));
    EXPECT_EQ(settings.Copies(), 3);
    EXPECT_TRUE(settings.SetOrientation(print::TPrinterOrientation::poLandscape));
    EXPECT_EQ(settings.Orientation(), print::TPrinterOrientation::poLandscape);
    EXPECT_TRUE(settings.SetOutputBin(TRpBin::Manual));
    EXPECT_EQ(settings.OutputBin(), TRpBin::Manual);
    // The PDF file printer prints on one side only.
    EXPECT_FALSE(settings.SetDuplex(true));
    EXPECT_FALSE(settings.Duplex());

    EXPECT_TRUE(settings.SetPaperSize(TRpPaperSize::A5));
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A5);
    EXPECT_FALSE(settings.SetPaperSize(TRpPaperSize::Reserved1));
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::A5);
    EXPECT_TRUE(settings.SetPaperSize(TRpPaperSize::Default));
    EXPECT_EQ(settings.PaperSize(), TRpPaperSize::Default);
}

TEST(PrinterSettingsTest, WritesTheWantedValuesIntoADeviceMode)
{
    TPrinterSettings settings;
    TDeviceMode mode;
    mode.Fields = print::DM_PAPERSIZE | print::DM_DUPLEX | print::DM_COLLATE;
    mode.PaperSize = 5;
    mode.PrintQuality = 300;
    settings.SetCopies(2); // refused without a device: stays 0
    settings.SetExtendedDuplex(0);
    settings.WriteDeviceMode(mode);
    EXPECT_EQ(mode.PaperWidth, 2100);
    EXPECT_EQ(mode.PaperLength, 2970);
    EXPECT_EQ(mode.PaperSize, 9);
    EXPECT_EQ(mode.Copies, 0);
    EXPECT_EQ(mode.Duplex, 1);
    EXPECT_EQ(mode.DefaultSource, 1);
    EXPECT_EQ(mode.Orientation, print::DMORIENT_PORTRAIT);
    EXPECT_EQ(mode.Fields, print::DM_PAPERSIZE | print::DM_DUPLEX | print::DM_COLLATE | print::DM_PAPERLENGTH |
                               print::DM_PAPERWIDTH | print::DM_COPIES | print::DM_DEFAULTSOURCE |
                               print::DM_ORIENTATION);
    // Collate, quality and colour go in together, unmarked.
    EXPECT_EQ(mode.PrintQuality, 0);
    EXPECT_EQ(mode.Color, 0);
}

TEST(PrinterSettingsTest, DuplexAndCustomCodesAreWritten)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    settings.OnGetPrinterSettings = [](core::TObject*, bool&, TDeviceMode* mode) {
        mode->Fields |= print::DM_DUPLEX;
        mode->Duplex = 2;
    };
    settings.SetPrinter(&printer);
    ASSERT_TRUE(settings.Duplex());
    settings.SetExtendedDuplex(0);

    TDeviceMode mode;
    mode.Fields = print::DM_DUPLEX | print::DM_PAPERSIZE;
    settings.WriteDeviceMode(mode);
    EXPECT_EQ(mode.Duplex, 3);
    settings.SetExtendedDuplex(2);
    settings.WriteDeviceMode(mode);
    EXPECT_EQ(mode.Duplex, 2);

    settings.SetUseCustomBinCode(true);
    settings.SetCustomBinCode(259);
    settings.SetUseCustomPaperCode(true);
    settings.SetCustomPaperCode(513);
    settings.WriteDeviceMode(mode);
    EXPECT_EQ(mode.DefaultSource, 259);
    EXPECT_EQ(mode.PaperSize, 513);
}

TEST(PrinterSettingsTest, DefaultPaperLeavesThePaperCodeButWritesTheSize)
{
    TPrinterSettings settings;
    ASSERT_TRUE(settings.SetPaperSize(TRpPaperSize::Default));
    settings.SetPaperWidth(1500);
    settings.SetPaperLength(2500);
    TDeviceMode mode;
    mode.Fields = print::DM_PAPERSIZE;
    mode.PaperSize = 11;
    settings.WriteDeviceMode(mode);
    EXPECT_EQ(mode.PaperSize, 11);
    EXPECT_EQ(mode.PaperWidth, 1500);
    EXPECT_EQ(mode.PaperLength, 2500);

    // A device mode without a paper field never gets a paper code.
    ASSERT_TRUE(settings.SetPaperSize(TRpPaperSize::Default));
    TDeviceMode bare;
    bare.Fields = 0;
    bare.PaperSize = 11;
    TPrinterSettings a4;
    a4.WriteDeviceMode(bare);
    EXPECT_EQ(bare.PaperSize, 11);
    EXPECT_EQ(bare.PaperWidth, 2100);
}

TEST(PrinterSettingsTest, ApplyingReachesThePrinter)
{
    print::TPrinter printer;
    TPrinterSettings settings;
    settings.SetPrinter(&printer);
    ASSERT_TRUE(settings.SetPaperSize(TRpPaperSize::A5));
    ASSERT_TRUE(settings.SetOrientation(print::TPrinterOrientation::poLandscape));
    ASSERT_TRUE(settings.SetCopies(2));
    TDeviceMode seen;
    settings.OnApplyPrinterSettings = [&seen](core::TObject*, bool&, TDeviceMode* mode) { seen = *mode; };
    settings.ApplySettings();
    EXPECT_EQ(seen.PaperSize, 11);
    TDeviceMode mode = printer.DeviceMode();
    EXPECT_EQ(mode.PaperSize, 11);
    EXPECT_EQ(mode.PaperWidth, 1480);
    EXPECT_EQ(mode.PaperLength, 2100);
    EXPECT_EQ(mode.Orientation, print::DMORIENT_LANDSCAPE);
    EXPECT_EQ(mode.Copies, 2);

    // Cancelled: the device stays as it is.
    ASSERT_TRUE(settings.SetCopies(5));
    settings.OnApplyPrinterSettings = [](core::TObject*, bool& cancel, TDeviceMode*) { cancel = true; };
    settings.ApplySettings();
    EXPECT_EQ(printer.DeviceMode().Copies, 2);

    ResetPrinterDevMode(&printer);
    EXPECT_EQ(printer.DeviceMode().Copies, 1);
    EXPECT_EQ(printer.DeviceMode().Orientation, print::DMORIENT_PORTRAIT);
}

TEST(ReportPrinterSettingsTest, DefaultsAndCopy)
{
    TRpReportPrinterSettings settings;
    EXPECT_EQ(settings.Copies(), 1);
    EXPECT_EQ(settings.OutputBin(), TRpBin::Auto);
    EXPECT_FALSE(settings.Duplex());
    EXPECT_EQ(settings.FirstPage(), 0);
    EXPECT_EQ(settings.LastPage(), 0);
    EXPECT_FALSE(settings.UseStandardprinter());
    EXPECT_EQ(settings.MemoryLimit(), 250000);
    EXPECT_EQ(settings.PrintQuality(), 0);
    EXPECT_EQ(settings.PrinterIndex(), -1);
    EXPECT_EQ(settings.Title(), "");

    settings.SetCopies(3);
    settings.SetLastPage(9);
    settings.SetUseCustomPaperCode(true);
    settings.SetCustomPaperCode(300);
    settings.SetMemoryLimit(1000);
    settings.SetTitle("Faktura");
    settings.SetPrinterIndex(2);
    TRpReportPrinterSettings copy;
    copy.Assign(&settings);
    EXPECT_EQ(copy.Copies(), 3);
    EXPECT_EQ(copy.LastPage(), 9);
    EXPECT_TRUE(copy.UseCustomPaperCode());
    EXPECT_EQ(copy.CustomPaperCode(), 300);
    EXPECT_EQ(copy.MemoryLimit(), 1000);
    EXPECT_EQ(copy.Title(), "Faktura");
    EXPECT_EQ(copy.PrinterIndex(), 2);

    core::TPersistent foreign;
    EXPECT_THROW(copy.Assign(&foreign), core::EConvertError);
}
