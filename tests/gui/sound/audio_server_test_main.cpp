// Runs the sound tests against a real audio server of their own, offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/app/assets.h"
#include "gui/sound/null_sink_server.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before the application: Qt reads the server's address once, at its first sound.
    const limenta::testing::NullSinkServer server;
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    limenta::initAssets();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
