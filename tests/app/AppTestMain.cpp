// Runs the application's tests headless, under one application object and
// the Czech format settings the register is written for.
#include "app/UpdateCheck.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    core::FormatSettings = core::TFormatSettings::Czech();
    // No test reaches the maker's web server: the main form's update check finds nothing.
    app::UpdateCheck = [](const char*, const char*, const char*, const char*, bool, bool* newer) noexcept {
        if (newer != nullptr)
            *newer = false;
    };
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Orvalis");
    return RUN_ALL_TESTS();
}
