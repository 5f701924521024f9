// Runs GUI tests offscreen: no display, no sound, no waiting.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/app/assets.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    limenta::initAssets();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
