#include "core/journal/patient_history.h"

#include <algorithm>

#include "core/patient/patient_code.h"

namespace limenta {

std::vector<PatientSummary> summarisePatients(const std::vector<JournalRun>& runs) {
    std::vector<PatientSummary> all;
    for (const JournalRun& run : runs) {
        if (run.patient.empty()) {
            continue;
        }
        auto found = std::ranges::find_if(
            all, [&run](const PatientSummary& p) { return samePatient(p.code, run.patient); });
        if (found == all.end()) {
            all.push_back({run.patient, 0, std::nullopt, {}, run.setup});
            found = all.end() - 1;
        }
        ++found->runs;
        if (!found->lastEstimate && run.estimate && !run.ended.empty()) {
            found->lastEstimate = run.estimate;
            found->lastEstimateStarted = run.started;
        }
    }
    return all;
}

std::vector<JournalRun> runsOfPatient(const std::vector<JournalRun>& runs, std::string_view code) {
    std::vector<JournalRun> theirs;
    std::ranges::copy_if(runs, std::back_inserter(theirs), [code](const JournalRun& run) {
        return !run.patient.empty() && samePatient(run.patient, code);
    });
    return theirs;
}

std::vector<JournalRun> runsToErase(const std::vector<JournalRun>& runs, std::string_view code) {
    std::vector<JournalRun> erased;
    std::ranges::copy_if(runs, std::back_inserter(erased), [code](const JournalRun& run) {
        return run.patient.empty() ? mentionsCode(run.note, code) : samePatient(run.patient, code);
    });
    return erased;
}

}  // namespace limenta
