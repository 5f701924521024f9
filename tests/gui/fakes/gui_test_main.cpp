// Runs GUI tests offscreen: no display, no sound, no waiting.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/app/assets.h"

int main(int argc, char** argv) {
    // Offscreen, on a screen the size of a common clinic laptop's (1920 x 1080); smaller
    // screens are tested by fitting the window into a given room.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LIMENTA_TEST_SCREENS);
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    limenta::initAssets();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
