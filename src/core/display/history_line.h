// The run's lines of text: the big number, the history list, and the interval under the
// big number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/procedure/credible_interval.h"
#include "core/run/run.h"

namespace limenta {

// The history, newest line first, every line ending in a carriage return.
template <class Line>
std::string historyText(const std::vector<Line>& trials) {
    std::string text;
    for (std::size_t i = trials.size(); i-- > 0;) {
        text += historyLine(trials[i]);
    }
    return text;
}

// The big number: the output to fire next as a whole percent ("##0"), or as the procedure
// has it (ML-PEST's first estimate at Start).
std::string shownOutput(double output, bool asTheProcedureHasIt);
// The same for a run as it stands: a method may show its first output as its procedure has
// it; "100+" for a run that ends above what the stimulator gives.
std::string shownOutput(const Run& run);

// "95 % interval: 37 – 45 (7 pulses)" (UTF-8), with " wide: consider more pulses" when the
// interval is wide.
std::string intervalLine(const CredibleInterval& interval, std::int32_t pulses);

}  // namespace limenta
