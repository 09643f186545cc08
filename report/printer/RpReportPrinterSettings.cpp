#include "report/printer/RpReportPrinterSettings.h"

namespace report {

void TRpPrinterSettings::Assign(core::TPersistent* source)
{
    auto* other = dynamic_cast<TRpPrinterSettings*>(source);
    if (other == nullptr) {
        core::TPersistent::Assign(source);
        return;
    }
    copies_ = other->copies_;
    outputBin_ = other->outputBin_;
    duplex_ = other->duplex_;
    firstPage_ = other->firstPage_;
    lastPage_ = other->lastPage_;
    useStandardprinter_ = other->useStandardprinter_;
    useCustomBinCode_ = other->useCustomBinCode_;
    customBinCode_ = other->customBinCode_;
    extendedDuplex_ = other->extendedDuplex_;
    useCustomPaperCode_ = other->useCustomPaperCode_;
    customPaperCode_ = other->customPaperCode_;
    printMetaFile_ = other->printMetaFile_;
    memoryLimit_ = other->memoryLimit_;
    printQuality_ = other->printQuality_;
    collate_ = other->collate_;
    colorOption_ = other->colorOption_;
    printerIndex_ = other->printerIndex_;
    title_ = other->title_;
}

} // namespace report
