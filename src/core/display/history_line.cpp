#include "core/display/history_line.h"

#include "core/display/numbers.h"
#include "core/run/run.h"

namespace limenta {

std::string historyLine(std::int32_t stepnum, double lastsetting, std::int32_t answer,
                        double thediff) {
    const std::string gap = "   ";
    return formatMask(stepnum, "00") + gap + formatMask(lastsetting, "000.00") + gap +
           formatMask(roundHalfAway(lastsetting), "000") + gap + formatMask(answer, "0.0") + gap +
           formatMask(thediff, "00.0000") + "\r";
}

std::string historyText(const std::vector<TrialRecord>& trials) {
    std::string text;
    for (std::size_t i = trials.size(); i-- > 0;) {  // newest first
        const TrialRecord& t = trials[i];
        text += historyLine(t.trial, t.fired, t.answer, t.diff);
    }
    return text;
}

std::string shownOutput(const Run& run) {
    if (run.aboveMaximum()) {
        return "100+";
    }
    if (run.trials().empty() && run.method().firstShownUnrounded) {
        return plainDecimal(run.firstOutput());
    }
    const double output = run.trials().empty() ? run.firstOutput() : run.state().mysetting;
    return formatMask(roundHalfAway(output), "##0");
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
