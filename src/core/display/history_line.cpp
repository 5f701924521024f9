#include "core/display/history_line.h"

#include "core/numbers/numbers.h"

namespace limenta {

std::string shownOutput(double output, bool asTheProcedureHasIt) {
    return asTheProcedureHasIt ? plainDecimal(output) : formatMask(roundHalfAway(output), "##0");
}

std::string shownOutput(const Run& run) {
    if (run.aboveMaximum()) {
        return "100+";
    }
    const bool first = run.trials().empty();
    return shownOutput(first ? run.firstOutput() : run.state().mysetting,
                       first && run.method().firstShownUnrounded);
}

std::string intervalLine(const CredibleInterval& interval, std::int32_t pulses) {
    std::string line = "95 % interval: " + std::to_string(interval.shownLow()) + " \u2013 " +
                       std::to_string(interval.shownHigh()) + " (" + std::to_string(pulses) +
                       (pulses == 1 ? " pulse)" : " pulses)");
    if (interval.wide()) {
        line += " wide: consider more pulses";
    }
    return line;
}

}  // namespace limenta
