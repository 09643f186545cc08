// Runs the band and report tests headless under one application object; only
// the PDF file printer is listed, so nothing reaches a real printer.
#include "platform/print/Printer.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    print::SetPrinterLister([] { return std::vector<std::string>{}; });
    return RUN_ALL_TESTS();
}
