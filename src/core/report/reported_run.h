// A run as its report tells it, whether it comes from the console or from the journal, and
// the one function that turns it into the report's lines.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/patient/setup.h"
#include "core/procedure/credible_interval.h"
#include "core/report/report_text.h"
#include "core/run/methods.h"
#include "core/run/trial_line.h"

namespace limenta {

struct ReportedRun {
    RunStage stage = RunStage::NoRun;
    std::string method;  // its key; a key no method has is reported as unknown
    // Each setting by its parameter's key: as the run states it, or before a run as typed.
    std::map<std::string, std::string> settings;
    std::string mydate;    // long date at Start
    std::string mytime;    // long time at Start
    double totaltime = 0;  // seconds from Start to the estimate
    double next = 0;       // the output to fire next (the estimate at the end)
    std::optional<double> estimate;
    bool aboveMaximum = false;  // the run ended above what the stimulator gives
    std::optional<CredibleInterval> interval;
    std::vector<TrialLine> answers;  // those kept, oldest first
    std::size_t withdrawn = 0;       // answers taken back
    std::array<int, 3> percents{80, 100, 120};
    std::string m1Distance;  // mm, as typed
    std::string targetDistance;
    bool practice = false;
    std::string patient;  // whose run it is; empty: no patient's
    Setup setup;
};

// The report's lines of `run`: its method and settings by the table of methods, the big
// number, the interval, the quick-reference and depth-corrected values of its estimate, and
// its history.
ReportInputs reportInputs(const ReportedRun& run, const MethodTable& table = methods());

}  // namespace limenta
