#include "core/report/report_text.h"

#include "core/numbers/numbers.h"
#include "core/subject/practice_patient.h"

namespace limenta {

std::string composeReport(const ReportInputs& in) {
    const std::string cr = "\r";
    const std::string rule(34, '_');
    std::string out;
    out += rule + cr + cr;
    out += "Limenta" + cr;
    if (in.practice) {
        out += std::string(kPracticeTitle) + cr;
    }
    out += "TMS rMT Assessment Program" + cr;
    out += "Resting motor threshold by adaptive PEST," + cr;
    out += "Maximum-Likelihood PEST or a Bayesian procedure" + cr;
    out += "(cumulative Gaussian, spread proportional to the" + cr;
    out += "threshold)." + cr;
    out += "Check every output before it reaches a patient." + cr;
    out += rule + cr + cr;
    out += in.mydate + cr;
    out += in.mytime + cr;
    if (!in.patient.empty()) {
        out += "Patient: " + in.patient + cr;
        if (!in.setup.empty()) {
            out += "Setup: " + in.setup + cr;
        }
    }
    const bool reached = in.stage == RunStage::Reached;
    const std::string missing = in.stage == RunStage::NoRun ? "no run yet" : "run in progress";
    out += "Total Assessment Time = " +
           (reached ? formatMask(in.totaltime, "##########.##########") + " seconds" : missing) +
           cr + cr;
    out += "Method: " + in.method + cr;
    for (const auto& [label, value] : in.settings) {
        out += label + " = " + value + cr;
    }
    out += cr;
    std::string threshold = in.threshold;
    if (reached && in.aboveMaximum) {
        threshold = "above 100";
    } else if (in.stage == RunStage::NoRun) {
        threshold = "no run yet";
    } else if (in.stage == RunStage::InProgress) {
        threshold = "not reached (run in progress; next output " + in.threshold + ")";
    }
    out += "Resting Motor Threshold = " + threshold + cr;
    if (!in.interval.empty()) {
        out += "95% Interval = " + in.interval + cr;
    }
    out += cr;
    const auto value = [reached](const std::string& shown) {
        return reached ? shown : std::string("--");
    };
    out += "QUICK REFERENCE:" + cr;
    for (std::size_t j = 0; j < 3; ++j) {
        out += in.percents[j] + " = " + value(in.plain[j]) + cr;
    }
    out += cr;
    out += "DISTANCE CORRECTION:" + cr;
    out += "Distance from M1 = " + in.m1Distance + " mm" + cr;
    out += "Distance from cortical target = " + in.targetDistance + " mm" + cr;
    for (std::size_t j = 0; j < 3; ++j) {
        out += in.percents[j] + " = " + value(in.corrected[j]) + cr;
    }
    out += cr;
    if (in.withdrawn > 0) {
        out += "Answers withdrawn = " + std::to_string(in.withdrawn) + cr;
    }
    out += "HISTORY:" + cr;
    out += in.historyHeader + cr;
    out += in.history + cr;
    return out;
}

}  // namespace limenta
