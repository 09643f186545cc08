// Runs the drawing tests headless under one GUI application object, which
// fonts need.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // ctest sets this; listing the tests at build time does not.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
