#include "gui/main_window/plot_canvas.h"

#include <QPainter>

#include "core/display/plot_scene.h"
#include "gui/main_window/window1.h"

namespace limenta {

QImage splashPicture() {
    QImage picture(kPlotWidth, kPlotHeight, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    const QImage splash(QStringLiteral(":/assets/NewSplash.png"));
    QPainter painter(&picture);
    painter.drawImage(0, 0, splash);
    return picture;
}

PlotCanvas::PlotCanvas(Window1& window, QWidget* parent) : QWidget(parent), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
}

void PlotCanvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter g(this);
    window_.Canvas1_Paint(g);
}

}  // namespace limenta
