// What the journal gives back: a kept run's report composed afresh from its rows, and runs as
// CSV.
#pragma once

#include <QString>
#include <vector>

#include "core/report/reported_run.h"
#include "gui/journal/run_journal.h"
#include "gui/platform/platform.h"

namespace limenta {

// A kept run as its report tells it: its start values, answers kept (those taken back
// counted), estimate, interval, percentages and distances as the journal keeps them, its
// duration in whole seconds from its start to its end.
ReportedRun reportedRun(const JournalRun& run, const std::vector<JournalAnswer>& given);

// The report of a kept run, composed from the journal alone.
QString reportFromJournal(const JournalRun& run, const std::vector<JournalAnswer>& given);

// One header line, then one row per answer given, those taken back too (a run without
// answers has one row with the answer's columns empty), the run's columns repeated, then
// whether the run ended above 100 (1) or not (0), when the answer was taken back (empty
// while it stands), whether the run was practice (1) or a patient's (0), the practice
// patient's threshold (empty for a patient), and last the patient's code and the setup's
// hemisphere, muscle, coil, stimulator and judging (empty when not said); RFC 4180 quoting,
// every cell safe from a spreadsheet's formulas, CRLF line ends.
QString journalCsv(const RunJournal& journal, const std::vector<JournalRun>& runs);

// Asks where to save `runs` as CSV (offering `defaultName`) and writes the file whole, for its
// owner only; says why when it cannot.
void exportRunsCsv(QWidget* parent, Dialogs& dialogs, const RunJournal& journal,
                   const std::vector<JournalRun>& runs, const QString& defaultName);

}  // namespace limenta
