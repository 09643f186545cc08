// Runs the user-interface tests headless, under one application object.
#include "platform/ui/kernel/Application.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // ctest sets this; listing the tests at build time does not.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Zkouška");
    return RUN_ALL_TESTS();
}
