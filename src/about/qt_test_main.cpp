// The main of the window tests: they run on Qt's offscreen platform, with no display needed.
#include "common/messages.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(messages::kAppTitle));
    return RUN_ALL_TESTS();
}
