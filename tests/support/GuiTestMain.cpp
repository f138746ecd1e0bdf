// main() of the widget tests: an offscreen application on a screen as large
// as a desktop's (message boxes size themselves from it), with settings in a
// throw-away location of this process alone (ctest runs the tests in
// parallel, each in its own process, and they must not share a recent list),
// then GoogleTest.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/KeshApp.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" OSTRELTZ_TEST_SCREEN);
    QStandardPaths::setTestModeEnabled(true);
    // Transfers keep their images under here, not in the user's folder.
    QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", dataDir.path().toUtf8());
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    CKeshApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
