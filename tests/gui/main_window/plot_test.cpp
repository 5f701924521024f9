// The threshold plot: the pixels its drawing steps leave in the picture.
#include <QCheckBox>
#include <QPainter>

#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/plot_canvas.h"

namespace limenta::testing {
namespace {

using ThresholdPlot = MainWindowTest;

TEST_F(ThresholdPlot, PicturePixelsFollowTheRun) {
    Window1& w = open(prefsWith({{kPrefsInitialOutput, "57"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.p, splashPicture());  // the splash until the first answer
    type("y");                        // 57 - 7 = 50
    EXPECT_EQ(w.p.size(), QSize(550, 387));
    EXPECT_EQ(w.p.pixelColor(300, 192), QColor(0, 0, 255));    // the blue estimate line
    EXPECT_EQ(w.p.pixelColor(100, 374), QColor(255, 0, 0));    // the red stop criterion
    EXPECT_EQ(w.p.pixelColor(278, 190), QColor(0, 0, 0));      // the dot at 275, 187
    EXPECT_EQ(w.p.pixelColor(2, 2), QColor(255, 255, 255));    // the background
    EXPECT_EQ(w.p.pixelColor(20, 40), QColor(200, 200, 200));  // a grid row
    EXPECT_EQ(w.run()->trials()[0].next, 50);
    EXPECT_EQ(w.run()->trials()[0].diff, 7);

    QImage shown(550, 387, QImage::Format_ARGB32);
    QPainter painter(&shown);
    w.Canvas1_Paint(painter);
    painter.end();
    EXPECT_EQ(shown, w.p);
}

}  // namespace
}  // namespace limenta::testing
