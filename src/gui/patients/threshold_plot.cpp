#include "gui/patients/threshold_plot.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/patient/setup.h"
#include "gui/widgets/design.h"

namespace limenta {

namespace {

constexpr int kLeft = 44;  // room for the outputs' labels
constexpr int kRight = 16;
constexpr int kTop = 12;
constexpr int kBottom = 40;  // room for the dates and the legend
constexpr double kMarkRadius = 5;

// The mark of the `setup`th setup centred at `at`.
void drawMark(QPainter& painter, QPointF at, std::size_t setup) {
    const double r = kMarkRadius;
    QPainterPath path;
    switch (setup % 4) {
        case 0:
            path.addEllipse(at, r, r);
            break;
        case 1:
            path.addRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
            break;
        case 2:
            path.moveTo(at.x(), at.y() - r);
            path.lineTo(at.x() + r, at.y() + r);
            path.lineTo(at.x() - r, at.y() + r);
            path.closeSubpath();
            break;
        default:
            path.moveTo(at.x(), at.y() - r);
            path.lineTo(at.x() + r, at.y());
            path.lineTo(at.x(), at.y() + r);
            path.lineTo(at.x() - r, at.y());
            path.closeSubpath();
    }
    // A setup after the fourth is told by an open mark.
    painter.setBrush(setup < 4 ? QBrush(kDesignBlack) : QBrush(Qt::white));
    painter.drawPath(path);
}

}  // namespace

ThresholdPlot::ThresholdPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ThresholdPlot"));
    setMinimumSize(360, 200);
}

void ThresholdPlot::show(const std::vector<JournalRun>& runs) {
    marks_.clear();
    setups_.clear();
    std::vector<Setup> seen;
    for (std::size_t i = runs.size(); i-- > 0;) {  // oldest first
        const JournalRun& run = runs[i];
        if (!run.estimate || run.ended.empty()) {
            continue;
        }
        auto found =
            std::ranges::find_if(seen, [&run](const Setup& s) { return sameSetup(s, run.setup); });
        if (found == seen.end()) {
            seen.push_back(run.setup);
            const std::string described = describeSetup(run.setup);
            setups_.push_back(described.empty() ? QStringLiteral("setup not said")
                                                : QString::fromStdString(described));
            found = seen.end() - 1;
        }
        const QDateTime started =
            QDateTime::fromString(QString::fromStdString(run.started), Qt::ISODate);
        marks_.push_back({started.date().toJulianDay(), *run.estimate,
                          run.intervalLow.value_or(*run.estimate),
                          run.intervalHigh.value_or(*run.estimate),
                          static_cast<std::size_t>(found - seen.begin())});
    }
    update();
}

void ThresholdPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QRectF area(kLeft, kTop, width() - kLeft - kRight, height() - kTop - kBottom);
    painter.setPen(kDesignGrey);
    painter.drawRect(area);
    if (marks_.empty()) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("No threshold reached yet"));
        return;
    }
    // Outputs in steps of 10 around every interval; dates from the first run to the last.
    double low = 100;
    double high = 0;
    qint64 first = marks_.front().day;
    qint64 last = first;
    for (const Mark& m : marks_) {
        low = std::min(low, m.low);
        high = std::max(high, m.high);
        first = std::min(first, m.day);
        last = std::max(last, m.day);
    }
    low = std::max(0.0, std::floor(low / 10) * 10 - 10);
    high = std::min(200.0, std::ceil(high / 10) * 10 + 10);
    const auto y = [&](double output) {
        return area.bottom() - (output - low) / (high - low) * area.height();
    };
    const double margin = 16;
    const auto x = [&](qint64 day) {
        return last == first
                   ? area.center().x()
                   : area.left() + margin +
                         static_cast<double>(day - first) / static_cast<double>(last - first) *
                             (area.width() - 2 * margin);
    };
    painter.setFont(designFont(Face::Times, 11));
    for (int step = 0; low + 10 * step <= high; ++step) {
        const double output = low + 10 * step;
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(area.left(), y(output)), QPointF(area.right(), y(output)));
        painter.setPen(kDesignBlack);
        painter.drawText(QRectF(0, y(output) - 8, kLeft - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(output));
    }
    const auto date = [](qint64 day) {
        return QDate::fromJulianDay(day).toString(QStringLiteral("yyyy-MM-dd"));
    };
    const double dates = area.bottom() + 2;
    painter.drawText(QRectF(area.left(), dates, area.width() / 2, 16), Qt::AlignLeft, date(first));
    if (last != first) {
        painter.drawText(QRectF(area.center().x(), dates, area.width() / 2, 16), Qt::AlignRight,
                         date(last));
    }
    painter.setPen(QPen(kDesignBlack, 1.5));
    for (const Mark& m : marks_) {
        painter.drawLine(QPointF(x(m.day), y(m.low)), QPointF(x(m.day), y(m.high)));
        drawMark(painter, {x(m.day), y(m.estimate)}, m.setup);
    }
    // The legend: each setup's mark and its words.
    double at = area.left();
    const double legend = height() - 11.0;
    for (std::size_t s = 0; s < setups_.size(); ++s) {
        drawMark(painter, {at + kMarkRadius, legend}, s);
        const QString words = setups_[s];
        const double wide = painter.fontMetrics().horizontalAdvance(words);
        painter.drawText(QPointF(at + 2 * kMarkRadius + 4, legend + 4), words);
        at += 2 * kMarkRadius + 4 + wide + 14;
    }
}

}  // namespace limenta
