#include "gui/practice/sweep_view.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextOption>

#include "core/display/sweep_scene.h"
#include "gui/widgets/design.h"

namespace limenta {

namespace {

// Room around the plot: the scale above it, the milliseconds below.
constexpr int kSide = 10;
constexpr int kAbove = 18;
constexpr int kBelow = 20;
const QColor kMeasuredBand(206, 206, 206);

}  // namespace

SweepView::SweepView(QWidget* parent, bool fine) : QWidget(parent), fine_(fine) {
    setObjectName(QStringLiteral("SweepView"));
}

void SweepView::setSweep(const EmgSweep& sweep) {
    sweep_ = sweep;
    update();
}

void SweepView::clear() {
    sweep_.reset();
    update();
}

void SweepView::paintEvent(QPaintEvent* /*event*/) {
    QPainter g(this);
    g.fillRect(rect(), kMainBackground);
    const QRectF plot(kSide, kAbove, width() - 2 * kSide, height() - kAbove - kBelow);
    const SweepScene scene = sweepScene(sweep_.value_or(EmgSweep{}), plot.width(), plot.height());
    g.translate(plot.topLeft());

    g.fillRect(QRectF(scene.measureLeft, 0, scene.measureRight - scene.measureLeft, plot.height()),
               kMeasuredBand);
    g.setPen(QPen(kDesignGrey, 1, Qt::DashLine));
    for (const double y : {scene.criterionTop, scene.criterionBottom}) {
        g.drawLine(QPointF(0, y), QPointF(plot.width(), y));
    }

    g.setFont(designFont(Face::Times, 12));
    g.setPen(kDesignBlack);
    g.drawLine(QPointF(0, plot.height()), QPointF(plot.width(), plot.height()));
    for (const SweepTick& tick : scene.ticks) {
        g.drawLine(QPointF(tick.x, plot.height()), QPointF(tick.x, plot.height() + 4));
        const bool last = &tick == &scene.ticks.back();
        const QString label =
            QString::fromStdString(tick.label) + (last ? QStringLiteral(" ms") : QString());
        const QRectF room(tick.x - (last ? 40 : 20), plot.height() + 4, 40, kBelow - 4);
        g.drawText(room, label,
                   QTextOption((last ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignTop));
    }
    if (!sweep_) {
        return;
    }
    g.drawText(QRectF(0, -kAbove, plot.width(), kAbove), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("\u00b1%1 \u00b5V").arg(scene.halfRange));

    QPainterPath trace;
    trace.moveTo(scene.trace.front().x, scene.trace.front().y);
    for (const SweepPoint& point : scene.trace) {
        trace.lineTo(point.x, point.y);
    }
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(kDesignBlack, fine_ ? 1 : 2));
    g.drawPath(trace);
}

}  // namespace limenta
