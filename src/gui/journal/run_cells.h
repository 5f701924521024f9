// A kept run's cells as the journal's windows list them.
#pragma once

#include <QString>

#include "core/journal/journal_record.h"

class QTableWidgetItem;

namespace limenta {

QTableWidgetItem* fixedItem(const QString& text);

QString startedCell(const JournalRun& run);   // "2026-12-10  09:30:15", local time
QString estimateCell(const JournalRun& run);  // "42.13", "above 100", "--"
QString intervalCell(const JournalRun& run);  // "36.0 – 46.0", "--"
// Answers kept, and pulses fired beside them when some answers were taken back.
QString pulsesCell(const JournalRun& run);

}  // namespace limenta
