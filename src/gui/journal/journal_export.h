// What the journal gives back: a kept run's report composed afresh from its rows, and runs as
// CSV.
#pragma once

#include <QString>
#include <vector>

#include "core/report/reported_run.h"
#include "gui/journal/run_journal.h"

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
// while it stands), whether the run was practice (1) or a patient's (0), and last the
// practice patient's threshold (empty for a patient); RFC 4180 quoting, CRLF line ends.
QString journalCsv(const RunJournal& journal, const std::vector<JournalRun>& runs);

}  // namespace limenta
