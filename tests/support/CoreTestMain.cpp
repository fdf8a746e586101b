// GoogleTest entry point for tests that need Qt's core (SQL drivers, settings) but no widgets.
#include "support/UiServiceGuard.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    UiServiceGuard::Install();
    return RUN_ALL_TESTS();
}
