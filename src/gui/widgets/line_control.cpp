#include "gui/widgets/line_control.h"

#include <QPainter>
#include <algorithm>

namespace limenta {

LineControl::LineControl(QWidget* parent, QPoint from, QPoint to, QColor colour)
    : QWidget(parent), colour_(std::move(colour)) {
    setGeometry(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                      QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void LineControl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

}  // namespace limenta
