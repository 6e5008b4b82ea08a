// SPDX-License-Identifier: MIT
// The window tests need one QApplication for the whole run; listing the tests needs none, so the
// build can discover them without a display. They run offscreen on a desktop's screen,
// 1920 × 1080 at 96 dpi (tests/ui/screens/desktop.json), unless a platform or a configuration of
// the offscreen platform's screens is named.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" QT_TESTCASE_SOURCEDIR "/screens/desktop.json");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
