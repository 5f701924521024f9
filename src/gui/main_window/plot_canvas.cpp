#include "gui/main_window/plot_canvas.h"

#include <QPainter>
#include <algorithm>

#include "gui/widgets/design.h"

namespace limenta {

namespace {

QColor colourOf(const Rgb& rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

void draw(QPainter& painter, const PlotStep& step) {
    const QColor colour = colourOf(step.colour);
    switch (step.kind) {
        case PlotStep::Kind::FillRect:
            painter.fillRect(QRect(QPoint(step.x1, step.y1), QPoint(step.x2 - 1, step.y2 - 1)),
                             colour);
            break;
        case PlotStep::Kind::FillOval:
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QRect(QPoint(step.x1, step.y1), QPoint(step.x2 - 1, step.y2 - 1)));
            painter.setBrush(Qt::NoBrush);
            break;
        case PlotStep::Kind::Line: {
            // The pen is a square of penSize pixels hanging right of and below the path.
            const int pen = step.penSize;
            if (step.x1 == step.x2 || step.y1 == step.y2) {
                // Straight across or down: exactly a filled rectangle, drawn without spans.
                painter.fillRect(
                    QRect(QPoint(std::min(step.x1, step.x2), std::min(step.y1, step.y2)),
                          QPoint(std::max(step.x1, step.x2) + pen - 1,
                                 std::max(step.y1, step.y2) + pen - 1)),
                    colour);
                break;
            }
            const double offset = (pen - 1) / 2.0;
            QPen square(colour, pen == 1 ? 0 : pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
            painter.setPen(square);
            painter.drawLine(QPointF(step.x1 + offset, step.y1 + offset),
                             QPointF(step.x2 + offset, step.y2 + offset));
            break;
        }
        case PlotStep::Kind::Text: {
            painter.setFont(designFont(Face::Courier, 16));
            painter.setPen(colour);
            painter.drawText(QPoint(step.x1, step.y1), QString::fromStdString(step.text));
            break;
        }
    }
}

}  // namespace

QImage splashPicture() {
    QImage picture(kPlotWidth, kPlotHeight, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    const QImage splash(QStringLiteral(":/assets/NewSplash.png"));
    QPainter painter(&picture);
    painter.drawImage(0, 0, splash);
    return picture;
}

QImage pictureOf(const std::vector<PlotStep>& scene) {
    if (scene.empty()) {
        return splashPicture();
    }
    QImage picture(kPlotWidth, kPlotHeight, QImage::Format_ARGB32);
    QPainter painter(&picture);
    for (const PlotStep& step : scene) {
        draw(painter, step);
    }
    return picture;
}

PlotCanvas::PlotCanvas(QWidget* parent) : QWidget(parent), p_(splashPicture()) {
    setFocusPolicy(Qt::StrongFocus);
}

void PlotCanvas::show(const std::vector<PlotStep>& scene, unsigned version) {
    if (version != drawn_) {
        drawn_ = version;
        p_ = pictureOf(scene);
        update();
    }
}

void PlotCanvas::paintInto(QPainter& g) const {
    g.drawImage(0, 0, p_);
}

void PlotCanvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter g(this);
    paintInto(g);
}

}  // namespace limenta
