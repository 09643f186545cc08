// Runs the user-interface tests headless, under one application object.
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ui::TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle("Zkouška");
    return RUN_ALL_TESTS();
}
