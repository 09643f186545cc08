// Runs the report engine's dialog tests headless, under one application object.
#include "platform/ui/Application.h"
#include "report/RpExprUnit.h"

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
    return RUN_ALL_TESTS();
}
