// What the journal gives back: a run's report composed again from its rows, and runs as CSV.
#pragma once

#include <QString>
#include <vector>

#include "gui/journal/run_journal.h"

namespace limenta {

// A journalled method's name ("adaptive PEST"); "unknown (x)" for a key the table does not
// know, which is never taken for another method.
QString methodName(const QString& key);

// The report of a run as the window would have composed it at its end, from the journal
// alone: its start values, answers kept (those taken back counted), estimate, interval,
// percentages and distances.
QString reportFromJournal(const JournalRun& run, const std::vector<JournalAnswer>& given);

// One header line, then one row per answer given, those taken back too (a run without
// answers has one row with the answer's columns empty), the run's columns repeated, then
// whether the run ended above 100 (1) or not (0), when the answer was taken back (empty
// while it stands), whether the run was practice (1) or a patient's (0), and last the
// practice patient's threshold (empty for a patient); RFC 4180 quoting, CRLF line ends.
QString journalCsv(const RunJournal& journal, const std::vector<JournalRun>& runs);

}  // namespace limenta
