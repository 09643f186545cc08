#include "report/printer/RpPrinterSettings.h"

#include "platform/core/Unicode.h"
#include "platform/print/PrinterDevice.h"
#include "report/layout/RpMath.h"
#include "report/printer/RpWindowMessages.h"

#include <algorithm>
#include <vector>

namespace report {

namespace {

// The part of a path after its last separator.
std::string FileNamePart(const std::string& path)
{
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name as a buffer of the given size holds it: at most size - 1 bytes,
// never cut inside a character.
std::string Buffered(const std::string& name, std::size_t size)
{
    if (name.size() < size)
        return name;
    std::size_t end = size - 1;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

// Device pixels to 0.1 mm; 0 when the device has no resolution.
std::int32_t PixelsToNative(int pixels, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return 0;
    return RpRound(static_cast<long double>(pixels) / pixelsPerInch * 254);
}

} // namespace

TPrinterSettings::TPrinterSettings() = default;

void TPrinterSettings::SetPrinter(print::TPrinter* printer)
{
    printer_ = printer;
    if (printer_ != nullptr && printer_->Printers().Count() > 0)
        ReadSettings();
}

void TPrinterSettings::ReadDeviceNames()
{
    print::TPrinterDevice names = print::GetPrinterDevice(*printer_);
    device_ = Buffered(names.Device, kNameBufferSize);
    driver_ = core::Utf8Copy(FileNamePart(names.Driver), 0, kMaxDriverName);
    port_ = Buffered(names.Port, kNameBufferSize);
    deviceModeKnown_ = printer_->PrinterIndex() >= 0;
}

bool TPrinterSettings::DevModeHas(std::uint32_t mask) const
{
    return printer_ != nullptr && deviceModeKnown_ && printer_->DeviceMode().Has(mask);
}

void TPrinterSettings::ReadSettings()
{
    if (printer_ == nullptr)
        return;
    RpProcessMessages();
    ReadDeviceNames();
    if (!deviceModeKnown_)
        return;
    print::TDeviceMode mode = printer_->DeviceMode();
    bool cancel = false;
    if (OnGetPrinterSettings)
        OnGetPrinterSettings(this, cancel, &mode);
    if (!cancel)
        ReadDeviceMode(mode);
}

void TPrinterSettings::ReadDeviceMode(const print::TDeviceMode& mode)
{
    using namespace print;
    pixelsPerX_ = printer_->LogPixelsX();
    pixelsPerY_ = printer_->LogPixelsY();
    copies_ = mode.Has(DM_COPIES) ? mode.Copies : 1;

    outputBin_ = TRpBin::First;
    if (mode.Has(DM_DEFAULTSOURCE)) {
        for (int i = 0; i < kBinCount; ++i) {
            if (BinCode(static_cast<TRpBin>(i)) == mode.DefaultSource) {
                outputBin_ = static_cast<TRpBin>(i);
                break;
            }
        }
    }
    if (mode.Has(DM_DUPLEX)) {
        duplex_ = mode.Duplex != DMDUP_SIMPLEX;
        extendedDuplex_ = mode.Duplex;
    }
    leftOffset_ = PixelsToNative(printer_->PhysicalOffsetX(), pixelsPerX_);
    topOffset_ = PixelsToNative(printer_->PhysicalOffsetY(), pixelsPerY_);

    paperSize_ = TRpPaperSize::Default;
    if (mode.Has(DM_PAPERSIZE)) {
        for (int i = 0; i < kPaperSizeCount; ++i) {
            if (PaperCode(static_cast<TRpPaperSize>(i)) == mode.PaperSize) {
                paperSize_ = static_cast<TRpPaperSize>(i);
                break;
            }
        }
    }
    paperWidth_ = PixelsToNative(printer_->PhysicalWidth(), pixelsPerX_);
    paperLength_ = PixelsToNative(printer_->PhysicalHeight(), pixelsPerY_);

    std::vector<int> codes = printer_->PaperCodes();
    if (printer_->PrinterIndex() >= 0) {
        supportedPapers_.fill(false);
        for (int i = 1; i < kPaperSizeCount; ++i) {
            int code = PaperCode(static_cast<TRpPaperSize>(i));
            supportedPapers_[i - 1] = std::find(codes.begin(), codes.end(), code) != codes.end();
        }
        papersRead_ = true;
    }
    printQuality_ = mode.PrintQuality;
    collate_ = mode.Collate;
    colorOption_ = mode.Color;
}

void TPrinterSettings::ApplySettings()
{
    using namespace print;
    if (printer_ == nullptr)
        return;
    ReadDeviceNames();
    if (!deviceModeKnown_)
        return;
    TDeviceMode mode = printer_->DeviceMode();
    WriteDeviceMode(mode);
    bool cancel = false;
    if (OnApplyPrinterSettings)
        OnApplyPrinterSettings(this, cancel, &mode);
    if (!cancel)
        printer_->SetDeviceMode(mode);
}

void TPrinterSettings::WriteDeviceMode(print::TDeviceMode& mode) const
{
    using namespace print;
    mode.Fields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    mode.PaperLength = PaperLength();
    mode.PaperWidth = PaperWidth();
    if (mode.Has(DM_PAPERSIZE) && paperSize_ != TRpPaperSize::Default)
        mode.PaperSize = useCustomPaperCode_ ? customPaperCode_ : PaperCode(paperSize_);
    mode.Fields |= DM_COPIES;
    mode.Copies = copies_;
    if (mode.Has(DM_DUPLEX))
        mode.Duplex = extendedDuplex_ != 0 ? extendedDuplex_ : duplex_ ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX;
    mode.Fields |= DM_DEFAULTSOURCE;
    mode.DefaultSource = useCustomBinCode_ ? customBinCode_ : BinCode(outputBin_);
    mode.Fields |= DM_ORIENTATION;
    mode.Orientation =
        orientation_ == TPrinterOrientation::poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    if ((mode.Fields & (DM_COLLATE | DM_PRINTQUALITY | DM_COLOR)) != 0) {
        mode.Collate = collate_;
        mode.PrintQuality = printQuality_;
        mode.Color = colorOption_;
    }
}

std::int32_t TPrinterSettings::PaperWidth() const
{
    return IsTablePaper(paperSize_) ? RpRound(PaperDimensions(paperSize_).Width * 10) : paperWidth_;
}

std::int32_t TPrinterSettings::PaperLength() const
{
    return IsTablePaper(paperSize_) ? RpRound(PaperDimensions(paperSize_).Length * 10) : paperLength_;
}

bool TPrinterSettings::SupportedPaper(TRpPaperSize paper) const
{
    return paper != TRpPaperSize::Default && supportedPapers_[static_cast<int>(paper) - 1];
}

bool TPrinterSettings::SetCopies(std::int32_t copies)
{
    bool has = DevModeHas(print::DM_COPIES);
    if (has)
        copies_ = copies;
    return has;
}

bool TPrinterSettings::SetOrientation(print::TPrinterOrientation orientation)
{
    bool has = DevModeHas(print::DM_ORIENTATION);
    if (has)
        orientation_ = orientation;
    return has;
}

bool TPrinterSettings::SetDuplex(bool duplex)
{
    bool has = DevModeHas(print::DM_DUPLEX);
    if (has)
        duplex_ = duplex;
    return has;
}

bool TPrinterSettings::SetOutputBin(TRpBin bin)
{
    bool has = DevModeHas(print::DM_DEFAULTSOURCE);
    if (has)
        outputBin_ = bin;
    return has;
}

bool TPrinterSettings::SetPaperSize(TRpPaperSize paper)
{
    if (paper == TRpPaperSize::Default) {
        paperSize_ = paper;
        return true;
    }
    bool supported = SupportedPaper(paper);
    if (supported)
        paperSize_ = paper;
    return supported;
}

void ResetPrinterDevMode(print::TPrinter* printer)
{
    if (printer != nullptr)
        printer->ResetDeviceMode();
}

} // namespace report
