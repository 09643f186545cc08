#include "platform/print/PrinterDevice.h"

#include "platform/print/Printer.h"

#include <QPrinterInfo>
#include <QString>

namespace print {

TPrinterDevice GetPrinterDevice(TPrinter& printer)
{
    TPrinterDevice device;
    if (printer.PrinterIndex() < 0)
        return device;
    device.Device = printer.PrinterName();
    if (printer.IsPdfPrinter()) {
        device.Driver = kPdfPrinterName;
        device.Port = printer.OutputFileName();
    } else {
        device.Driver = QPrinterInfo::printerInfo(QString::fromStdString(device.Device)).makeAndModel().toStdString();
        device.Port = printer.OutputFileName();
    }
    return device;
}

} // namespace print
