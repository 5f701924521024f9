#include "core/report/reported_run.h"

#include "core/display/history_line.h"
#include "core/display/quick_reference.h"
#include "core/numbers/numbers.h"

namespace limenta {

ReportInputs reportInputs(const ReportedRun& run, const MethodTable& table) {
    const Method* method = findMethod(table, run.method);
    ReportInputs in;
    in.stage = run.stage;
    in.mydate = run.mydate;
    in.mytime = run.mytime;
    in.patient = run.patient;
    in.setup = describeSetup(run.setup);
    in.totaltime = run.totaltime;
    in.method = method != nullptr ? method->reportName : methodName(run.method);
    if (method != nullptr) {
        for (const Parameter& parameter : method->parameters) {
            const auto found = run.settings.find(parameter.key);
            if (parameter.reportLabel != nullptr && found != run.settings.end()) {
                in.settings.emplace_back(parameter.reportLabel, found->second);
            }
        }
    }
    in.threshold = shownOutput(
        run.next, run.answers.empty() && method != nullptr && method->firstShownUnrounded);
    in.aboveMaximum = run.aboveMaximum;
    if (run.interval) {
        in.interval = std::to_string(run.interval->shownLow()) + " to " +
                      std::to_string(run.interval->shownHigh());
    }
    const double factor =
        depthFactor(textToNumber(run.targetDistance), textToNumber(run.m1Distance));
    for (std::size_t j = 0; j < 3; ++j) {
        const int percent = run.percents[j];
        in.percents[j] = std::to_string(percent) + "%";
        // No percentage of "above 100" is a value.
        in.plain[j] =
            run.aboveMaximum ? "--" : quickReference(run.estimate.value_or(0), percent).reported();
        in.corrected[j] =
            run.aboveMaximum
                ? "--"
                : correctedReference(run.estimate.value_or(0), factor, percent).reported();
    }
    in.m1Distance = run.m1Distance;
    in.targetDistance = run.targetDistance;
    in.historyHeader = kHistoryHeader;
    in.history = historyText(run.answers);
    in.withdrawn = run.withdrawn;
    in.practice = run.practice;
    return in;
}

}  // namespace limenta
