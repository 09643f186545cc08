#pragma once
// The printer options that a report stores with itself and copies into its
// report printer before each run.

#include "platform/core/Component.h"
#include "report/layout/RpPaperSizes.h"

#include <cstdint>
#include <string>

namespace report {

class TRpPrinterSettings : public core::TPersistent {
public:
    std::string ClassName() const override { return "TRpPrinterSettings"; }
    void Assign(core::TPersistent* source) override;

    std::int32_t Copies() const { return copies_; }
    void SetCopies(std::int32_t copies) { copies_ = copies; }
    TRpBin OutputBin() const { return outputBin_; }
    void SetOutputBin(TRpBin bin) { outputBin_ = bin; }
    bool Duplex() const { return duplex_; }
    void SetDuplex(bool duplex) { duplex_ = duplex; }
    // The range to print; 0 is no bound.
    std::int32_t FirstPage() const { return firstPage_; }
    void SetFirstPage(std::int32_t page) { firstPage_ = page; }
    std::int32_t LastPage() const { return lastPage_; }
    void SetLastPage(std::int32_t page) { lastPage_ = page; }
    bool UseStandardprinter() const { return useStandardprinter_; }
    void SetUseStandardprinter(bool use) { useStandardprinter_ = use; }
    bool UseCustomBinCode() const { return useCustomBinCode_; }
    void SetUseCustomBinCode(bool use) { useCustomBinCode_ = use; }
    std::int32_t CustomBinCode() const { return customBinCode_; }
    void SetCustomBinCode(std::int32_t code) { customBinCode_ = code; }
    std::int32_t ExtendedDuplex() const { return extendedDuplex_; }
    void SetExtendedDuplex(std::int32_t code) { extendedDuplex_ = code; }
    bool UseCustomPaperCode() const { return useCustomPaperCode_; }
    void SetUseCustomPaperCode(bool use) { useCustomPaperCode_ = use; }
    std::int32_t CustomPaperCode() const { return customPaperCode_; }
    void SetCustomPaperCode(std::int32_t code) { customPaperCode_ = code; }
    bool PrintMetaFile() const { return printMetaFile_; }
    void SetPrintMetaFile(bool print) { printMetaFile_ = print; }
    std::int32_t MemoryLimit() const { return memoryLimit_; }
    void SetMemoryLimit(std::int32_t limit) { memoryLimit_ = limit; }
    std::int32_t PrintQuality() const { return printQuality_; }
    void SetPrintQuality(std::int32_t quality) { printQuality_ = quality; }
    std::int32_t Collate() const { return collate_; }
    void SetCollate(std::int32_t collate) { collate_ = collate; }
    std::int32_t ColorOption() const { return colorOption_; }
    void SetColorOption(std::int32_t option) { colorOption_ = option; }

    // Not stored: the printer to use (-1, the default printer) and the
    // document title of the print job.
    std::int32_t PrinterIndex() const { return printerIndex_; }
    void SetPrinterIndex(std::int32_t index) { printerIndex_ = index; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

private:
    std::int32_t copies_ = 1;
    TRpBin outputBin_ = TRpBin::Auto;
    bool duplex_ = false;
    std::int32_t firstPage_ = 0;
    std::int32_t lastPage_ = 0;
    bool useStandardprinter_ = false;
    bool useCustomBinCode_ = false;
    std::int32_t customBinCode_ = 0;
    std::int32_t extendedDuplex_ = 0;
    bool useCustomPaperCode_ = false;
    std::int32_t customPaperCode_ = 0;
    bool printMetaFile_ = false;
    std::int32_t memoryLimit_ = 250000;
    // Stored unless 600; a new set starts at 0 all the same.
    std::int32_t printQuality_ = 0;
    std::int32_t collate_ = 0;
    std::int32_t colorOption_ = 0;
    std::int32_t printerIndex_ = -1;
    std::string title_;
};

// The report's published set (its PrinterSettings property).
class TRpReportPrinterSettings : public TRpPrinterSettings {
public:
    std::string ClassName() const override { return "TRpReportPrinterSettings"; }

    // The values a stored report leaves out.
    static constexpr std::int32_t kStoredDefaultMemoryLimit = 250000;
    static constexpr std::int32_t kStoredDefaultPrintQuality = 600;
};

} // namespace report
