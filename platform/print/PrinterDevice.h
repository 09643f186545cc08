#pragma once
// The names by which a printer is known to the system: its device (the queue
// name), its driver and its port. Readers of device settings ask for them
// beside the device mode.

#include <string>

namespace print {

class TPrinter;

struct TPrinterDevice {
    std::string Device;
    // The queue's make and model as the print system reports it ("PDF" for
    // the PDF file printer); empty when it reports none.
    std::string Driver;
    // The file a printer writes to, when it writes one; empty for a queue.
    std::string Port;
};

// The selected printer's names; all empty when no printer can be selected.
TPrinterDevice GetPrinterDevice(TPrinter& printer);

} // namespace print
