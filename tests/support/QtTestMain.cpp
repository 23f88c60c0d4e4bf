// The main of the tests that need a QApplication before any test runs.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // No display needed, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
