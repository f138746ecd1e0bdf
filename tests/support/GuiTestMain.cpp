// main() of the widget tests: an offscreen application with settings in a
// throw-away location, then GoogleTest.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "app/KeshApp.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    CKeshApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
