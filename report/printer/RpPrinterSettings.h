#pragma once
// The report printer's view of one physical printer: the paper, bin, copies,
// duplex, orientation, quality and colour wanted for a run, the device's
// resolution and unprintable offsets, and the papers the device offers. The
// wanted values are written into the printer's device mode before a run
// (ApplySettings) and read back from the device when a printer is chosen
// (ReadSettings). Lengths are in the report's native unit, 0.1 mm.

#include "platform/core/Component.h"
#include "platform/print/DeviceMode.h"
#include "platform/print/Printer.h"
#include "report/layout/RpPaperSizes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace report {

// Sender, Cancel (set it to keep things as they are), the locked device mode.
using TRpPrinterEvent = std::function<void(core::TObject* sender, bool& cancel, print::TDeviceMode* devMode)>;

class TPrinterSettings : public core::TObject {
public:
    TPrinterSettings();
    std::string ClassName() const override { return "TPrinterSettings"; }

    static constexpr std::int32_t kDefaultMemoryLimit = 250000;
    // The device, driver and port names are buffers of this size; the driver
    // name keeps at most 63 characters.
    static constexpr std::size_t kNameBufferSize = 1024;
    static constexpr std::size_t kMaxDriverName = 63;

    print::TPrinter* Printer() const { return printer_; }
    // Attaches the printer (not owned) and reads its settings back when it
    // lists at least one printer.
    void SetPrinter(print::TPrinter* printer);

    // Device -> settings.
    void ReadSettings();
    // Settings -> device.
    void ApplySettings();
    // The wanted values written into a device mode, as ApplySettings writes
    // them before it hands the mode to the printer.
    void WriteDeviceMode(print::TDeviceMode& mode) const;
    // True with a printer attached, a device mode known and every bit of
    // mask among the device mode's fields.
    bool DevModeHas(std::uint32_t mask) const;

    const std::string& Device() const { return device_; }
    const std::string& Driver() const { return driver_; }
    const std::string& Port() const { return port_; }

    std::int32_t Copies() const { return copies_; }
    bool Duplex() const { return duplex_; }
    std::int32_t ExtendedDuplex() const { return extendedDuplex_; }
    print::TPrinterOrientation Orientation() const { return orientation_; }
    TRpBin OutputBin() const { return outputBin_; }
    TRpPaperSize PaperSize() const { return paperSize_; }
    // The paper in 0.1 mm: the table's for a named paper, else the stored values.
    std::int32_t PaperWidth() const;
    std::int32_t PaperLength() const;
    std::int32_t PixelsPerX() const { return pixelsPerX_; }
    std::int32_t PixelsPerY() const { return pixelsPerY_; }
    std::int32_t LeftOffset() const { return leftOffset_; }
    std::int32_t TopOffset() const { return topOffset_; }
    std::int32_t PrintQuality() const { return printQuality_; }
    std::int32_t Collate() const { return collate_; }
    std::int32_t ColorOption() const { return colorOption_; }
    bool UseCustomBinCode() const { return useCustomBinCode_; }
    std::int32_t CustomBinCode() const { return customBinCode_; }
    bool UseCustomPaperCode() const { return useCustomPaperCode_; }
    std::int32_t CustomPaperCode() const { return customPaperCode_; }
    bool PrintMetafile() const { return printMetafile_; }
    bool UseStandardprinter() const { return useStandardprinter_; }
    std::int32_t MemoryLimit() const { return memoryLimit_; }
    bool PapersRead() const { return papersRead_; }
    // Whether the device offers the paper (Letter to Custom); Default never is.
    bool SupportedPaper(TRpPaperSize paper) const;

    // Guarded setters: each stores the value only when the device mode has
    // the field, and says whether it had.
    bool SetCopies(std::int32_t copies);
    bool SetOrientation(print::TPrinterOrientation orientation);
    bool SetDuplex(bool duplex);
    bool SetOutputBin(TRpBin bin);
    // Stores a paper the device offers, or Default; leaves any other alone.
    bool SetPaperSize(TRpPaperSize paper);

    void SetPaperWidth(std::int32_t width) { paperWidth_ = width; }
    void SetPaperLength(std::int32_t length) { paperLength_ = length; }
    void SetExtendedDuplex(std::int32_t code) { extendedDuplex_ = code; }
    void SetPrintQuality(std::int32_t quality) { printQuality_ = quality; }
    void SetCollate(std::int32_t collate) { collate_ = collate; }
    void SetColorOption(std::int32_t option) { colorOption_ = option; }
    void SetUseCustomBinCode(bool use) { useCustomBinCode_ = use; }
    void SetCustomBinCode(std::int32_t code) { customBinCode_ = code; }
    void SetUseCustomPaperCode(bool use) { useCustomPaperCode_ = use; }
    void SetCustomPaperCode(std::int32_t code) { customPaperCode_ = code; }
    void SetPrintMetafile(bool print) { printMetafile_ = print; }
    void SetUseStandardprinter(bool use) { useStandardprinter_ = use; }
    void SetMemoryLimit(std::int32_t limit) { memoryLimit_ = limit; }

    TRpPrinterEvent OnApplyPrinterSettings;
    TRpPrinterEvent OnGetPrinterSettings;

private:
    void ReadDeviceNames();
    void ReadDeviceMode(const print::TDeviceMode& mode);

    std::string device_;
    std::string driver_;
    std::string port_;
    bool deviceModeKnown_ = false;
    print::TPrinter* printer_ = nullptr;

    std::int32_t copies_ = 0;
    bool duplex_ = false;
    std::int32_t extendedDuplex_ = 0;
    print::TPrinterOrientation orientation_ = print::TPrinterOrientation::poPortrait;
    TRpBin outputBin_ = TRpBin::First;
    TRpPaperSize paperSize_ = TRpPaperSize::A4;
    std::int32_t paperWidth_ = 0;
    std::int32_t paperLength_ = 0;
    std::int32_t pixelsPerX_ = 0;
    std::int32_t pixelsPerY_ = 0;
    std::int32_t leftOffset_ = 0;
    std::int32_t topOffset_ = 0;
    std::int32_t printQuality_ = 0;
    std::int32_t collate_ = 0;
    std::int32_t colorOption_ = 0;
    bool useCustomBinCode_ = false;
    std::int32_t customBinCode_ = 0;
    bool useCustomPaperCode_ = false;
    std::int32_t customPaperCode_ = 0;
    bool printMetafile_ = false;
    bool useStandardprinter_ = false;
    std::int32_t memoryLimit_ = kDefaultMemoryLimit;
    // Letter to Custom.
    std::array<bool, kPaperSizeCount - 1> supportedPapers_{};
    bool papersRead_ = false;
};

// Makes the printer load a fresh device mode of the printer now selected.
void ResetPrinterDevMode(print::TPrinter* printer);

} // namespace report
