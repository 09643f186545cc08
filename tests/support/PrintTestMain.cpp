// Runs printing tests headless under one application object. The system's
// print queues are hidden, so a test never prints on a real printer: only the
// PDF file printer is listed.
#include "platform/print/Printer.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // ctest sets this; listing the tests at build time does not.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    print::SetPrinterLister([] { return std::vector<std::string>{}; });
    return RUN_ALL_TESTS();
}
