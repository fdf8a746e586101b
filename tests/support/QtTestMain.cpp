// Entry point of the GUI test executables: one QApplication for all tests of the executable.
#include "host/ui/TQQtTranslations.h"
#include "support/UiServiceGuard.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Tests never need a screen. ctest sets the platform for the runs, but not for listing the
    // tests, which creates the application too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and data folders of the tests stay apart from the user's own.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Standard buttons read as the host application shows them.
    TQLoad::InstallQtTranslations(app);
    UiServiceGuard::Install();
    return RUN_ALL_TESTS();
}
