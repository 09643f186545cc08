// Runs the browser tests headless, under one application object.
#include "platform/ui/kernel/Application.h"
#include "tests/support/WebTestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testsupport::SetHeadlessWebEnvironment();
    ui::TApplication application(argc, argv);
    application.Initialize();
    return RUN_ALL_TESTS();
}
