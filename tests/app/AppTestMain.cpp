// Runs the application's tests headless, under one application object and
// the Czech format settings the register is written for.
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    core::FormatSettings = core::TFormatSettings::Czech();
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Orvalis");
    return RUN_ALL_TESTS();
}
