#include "core/report/report_text.h"

#include "core/display/numbers.h"

namespace limenta {

std::string composeReport(const ReportInputs& in) {
    const std::string cr = "\r";
    const std::string rule(34, '_');
    std::string out;
    out += rule + cr + cr;
    out += "Limenta" + cr;
    out += "TMS rMT Assessment Program" + cr;
    out += "Resting motor threshold by adaptive PEST" + cr;
    out += "or Maximum-Likelihood PEST (cumulative Gaussian," + cr;
    out += "spread proportional to the threshold)." + cr;
    out += "Check every output before it reaches a patient." + cr;
    out += rule + cr + cr;
    out += in.mydate + cr;
    out += in.mytime + cr;
    out += "Total Assessment Time = " + formatMask(in.totaltime, "##########.##########") +
           " seconds" + cr + cr;
    if (in.method == Method::MlPest) {
        out += "Method: Maximum-Likelihood PEST" + cr;
        out += "Lower Bound = " + in.field1 + cr;
        out += "Upper Bound = " + in.field4 + cr;
        out += "Spread = " + in.field3 + cr + cr;
    } else {
        out += "Method: Adaptive PEST" + cr;
        out += "Starting Value = " + in.field1 + cr;
        out += "Step Size = " + in.field4 + cr;
        out += "Difference Threshold = " + in.field3 + cr + cr;
    }
    out += "Resting Motor Threshold = " + in.threshold + cr + cr;
    out += "QUICK REFERENCE:" + cr;
    for (std::size_t j = 0; j < 3; ++j) {
        out += in.percents[j] + " = " + in.plain[j] + cr;
    }
    out += cr;
    out += "DISTANCE CORRECTION:" + cr;
    out += "Distance from M1 = " + in.m1Distance + " mm" + cr;
    out += "Distance from cortical target = " + in.targetDistance + " mm" + cr;
    for (std::size_t j = 0; j < 3; ++j) {
        out += in.percents[j] + " = " + in.corrected[j] + cr;
    }
    out += cr;
    out += "HISTORY:" + cr;
    out += in.historyHeader + cr;
    out += in.history + cr;
    return out;
}

}  // namespace limenta
