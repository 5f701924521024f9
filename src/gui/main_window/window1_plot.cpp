// The threshold plot: drawn into the picture p after every answer.
#include <QComboBox>
#include <QPainter>
#include <algorithm>

#include "core/display/plot_scene.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
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

void Window1::makepicture() {
    QPainter painter(&p);
    for (const PlotStep& step : plotScene(*run_)) {
        draw(painter, step);
    }
    painter.end();
    Canvas1->update();
}

void Window1::Canvas1_Paint(QPainter& g) const {
    g.drawImage(0, 0, p);
}

}  // namespace limenta
