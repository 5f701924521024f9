// The plain-text assessment report: a snapshot of what the main window shows.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace limenta {

// Where the run stands when the report is composed.
enum class RunStage {
    NoRun,       // before the first Start, or after Reset
    InProgress,  // the latest answer has not ended the run
    Reached,     // the latest answer ended the run (or presented its end again)
};

struct ReportInputs {
    RunStage stage = RunStage::Reached;
    std::string mydate;      // long date at Start
    std::string mytime;      // long time at Start
    std::string patient;     // whose run it is; empty: no patient's
    std::string setup;       // how it was measured, described; empty: not said
    double totaltime = 0.0;  // seconds from Start to the estimate
    std::string method;      // its name in reports: "Adaptive PEST"
    // Its reported settings, "Starting Value" and "50", as the run states them.
    std::vector<std::pair<std::string, std::string>> settings;
    std::string threshold;                 // the big number: the estimate, or the next output
    bool aboveMaximum = false;             // the run ended above what the stimulator gives
    std::string interval;                  // "37 to 45"; empty before the run's first answer
    std::array<std::string, 3> percents;   // the quick-reference menus' texts ("80%")
    std::array<std::string, 3> plain;      // their plain values
    std::array<std::string, 3> corrected;  // their depth-corrected values
    std::string m1Distance;                // mm, as typed
    std::string targetDistance;            // mm, as typed
    std::string historyHeader;             // the column header
    std::string history;                   // every history line, newest first, each ending in CR
    std::size_t withdrawn = 0;             // answers taken back, which the history leaves out
    bool practice = false;                 // a run on a virtual patient, said in the heading
};

// The report, every line ending in a single carriage return. Only a run that has reached
// its estimate reports a threshold, its quick-reference values and its time; otherwise
// those say why they are missing ("--" for the values).
std::string composeReport(const ReportInputs& in);

}  // namespace limenta
