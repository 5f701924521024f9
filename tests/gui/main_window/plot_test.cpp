// The threshold plot: the pixels its drawing steps leave in the canvas's picture.
#include <QPainter>

#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

using ThresholdPlot = MainWindowTest;

TEST_F(ThresholdPlot, PicturePixelsFollowTheRun) {
    open(prefsWith({{kPrefsInitialOutput, "57"}}));
    click("PushButton1");
    const QImage& p = ui.canvas()->picture();
    EXPECT_EQ(p, splashPicture());  // the splash until the first answer
    type("y");                      // 57 - 7 = 50
    EXPECT_EQ(p.size(), QSize(550, 387));
    EXPECT_EQ(p.pixelColor(300, 192), QColor(0, 0, 255));    // the blue estimate line
    EXPECT_EQ(p.pixelColor(100, 374), QColor(255, 0, 0));    // the red stop criterion
    EXPECT_EQ(p.pixelColor(278, 190), QColor(0, 0, 0));      // the dot at 275, 187
    EXPECT_EQ(p.pixelColor(2, 2), QColor(255, 255, 255));    // the background
    EXPECT_EQ(p.pixelColor(20, 40), QColor(200, 200, 200));  // a grid row
    EXPECT_EQ(p, pictureOf(plotScene(run())));

    QImage shown(550, 387, QImage::Format_ARGB32);
    QPainter painter(&shown);
    ui.canvas()->paintInto(painter);
    painter.end();
    EXPECT_EQ(shown, p);
    click("PushButton3");
    EXPECT_EQ(ui.canvas()->picture(), splashPicture());
}

}  // namespace
}  // namespace limenta::testing
