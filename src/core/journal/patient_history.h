// A patient's thresholds through a course of treatment, from the runs the journal keeps.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/journal/journal_record.h"

namespace limenta {

struct PatientSummary {
    std::string code;  // as the journal first kept it
    int runs = 0;
    // The latest run that reached an estimate: its estimate and when it started (ISO 8601).
    std::optional<double> lastEstimate;
    std::string lastEstimateStarted;
    Setup lastSetup;  // the latest run's
};

// One summary per patient of `runs` (newest first, as the journal gives them), the patient
// seen most recently first.
std::vector<PatientSummary> summarisePatients(const std::vector<JournalRun>& runs);

// The runs of the patient `code`, in the order given.
std::vector<JournalRun> runsOfPatient(const std::vector<JournalRun>& runs, std::string_view code);

// What erasing the patient `code` takes away: their runs, and the runs of no patient whose
// note holds the code in any case (kept before patients were), in the order given.
std::vector<JournalRun> runsToErase(const std::vector<JournalRun>& runs, std::string_view code);

}  // namespace limenta
