#include "gui/journal/run_cells.h"

#include <QDateTime>
#include <QTableWidgetItem>

#include "core/numbers/numbers.h"

namespace limenta {

namespace {

QString decimal(const std::optional<double>& value, const char* mask) {
    return value ? QString::fromStdString(formatMask(*value, mask)) : QStringLiteral("--");
}

}  // namespace

QTableWidgetItem* fixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString startedCell(const JournalRun& run) {
    return QDateTime::fromString(QString::fromStdString(run.started), Qt::ISODate)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss"));
}

QString estimateCell(const JournalRun& run) {
    return run.aboveMaximum ? QStringLiteral("above 100") : decimal(run.estimate, "0.00");
}

QString intervalCell(const JournalRun& run) {
    return run.intervalLow && run.intervalHigh
               ? decimal(run.intervalLow, "0.0") + QStringLiteral(" \u2013 ") +
                     decimal(run.intervalHigh, "0.0")
               : QStringLiteral("--");
}

QString pulsesCell(const JournalRun& run) {
    return run.fired > run.pulses ? QStringLiteral("%1 (%2 fired)").arg(run.pulses).arg(run.fired)
                                  : QString::number(run.pulses);
}

}  // namespace limenta
