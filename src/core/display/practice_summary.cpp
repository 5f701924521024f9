#include "core/display/practice_summary.h"

#include <cmath>

#include "core/display/sweep_scene.h"
#include "core/numbers/numbers.h"

namespace limenta {

namespace {

std::string signedTenths(double value) {
    return (value < 0 ? "-" : "+") + formatMask(std::fabs(value), "##0.0");
}

}  // namespace

std::vector<std::pair<std::string, std::string>> practiceFigures(const PracticeResult& result) {
    const auto shown = [](const std::optional<double>& value, const char* unit) {
        return value ? signedTenths(*value) + unit : std::string("--");
    };
    const std::string judged = std::to_string(result.pulses);
    return {
        {"True threshold", formatMask(result.threshold, "##0.0") + " %"},
        {"Your estimate",
         result.estimate ? formatMask(*result.estimate, "##0") + " %" : std::string("above 100")},
        {"Error", shown(result.errorMso, " % MSO")},
        {"Error relative to the threshold", shown(result.errorPercent, " % of T")},
        {"Pulses", judged},
        {"Judgements the sweeps did not bear out",
         std::to_string(result.disagreements.size()) + " of " + judged},
    };
}

std::string disagreementCaption(const PracticePulse& pulse, std::size_t number) {
    return "Pulse " + std::to_string(number) + " at " + std::to_string(pulse.output) +
           " %: judged " + (pulse.judged.value_or(0) != 0 ? "MEP" : "none") + ", was " +
           microvoltsText(pulse.pulse.peakToPeak.value_or(0));
}

}  // namespace limenta
