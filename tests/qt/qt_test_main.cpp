// The Qt tests run on the offscreen platform: no display needed.

#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/skins.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kazunavi::applyProgramLook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
