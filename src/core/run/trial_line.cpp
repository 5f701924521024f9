#include "core/run/trial_line.h"

#include "core/numbers/numbers.h"

namespace limenta {

std::string historyLine(const TrialLine& t) {
    const std::string gap = "   ";
    return formatMask(t.trial, "00") + gap + formatMask(t.fired, "000.00") + gap +
           formatMask(roundHalfAway(t.fired), "000") + gap + formatMask(t.answer, "0.0") + gap +
           formatMask(t.diff, "00.0000") + "\r";
}

}  // namespace limenta
