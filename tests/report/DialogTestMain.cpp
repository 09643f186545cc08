// Runs the report engine's dialog tests headless, under one application object.
// The system's print queues are hidden: only the PDF file printer is listed.
#include "platform/print/Printer.h"
#include "platform/ui/kernel/Application.h"
#include "report/expr/RpExprUnit.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // ctest sets this; listing the tests at build time does not.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Sestavy");
    report::InitializeExpressionUnit(application.Title());
    print::SetPrinterLister([] { return std::vector<std::string>{}; });
    return RUN_ALL_TESTS();
}
