// The main of the window tests: Qt's offscreen platform, and the application set up as the program
// sets it up (title, style, font).
#include "startup.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    app::initialiseApplication(application);
    // Tests close windows without ending the test run.
    application.setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
