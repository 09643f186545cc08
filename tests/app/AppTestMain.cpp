// Runs the application's tests headless, under one application object and
// the Czech format settings the register is written for. The viewer form's
// browser keeps its registry values in a configuration folder of the run's own.
#include "app/UpdateCheck.h"
#include "platform/core/FormatSettings.h"
#include "platform/ui/kernel/Application.h"
#include "tests/platform/web/WebTestSupport.h"
#include "tests/support/WebTestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testsupport::SetHeadlessWebEnvironment();
    testsupport::TempConfigHome config;
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
