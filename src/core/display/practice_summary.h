// The end of a practice run in words: the hidden threshold beside the estimate, the error,
// the pulses, and each judgement the sweeps did not bear out.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/subject/practice_patient.h"

namespace limenta {

// Each figure's label and value: {"True threshold", "47.3 %"}...
std::vector<std::pair<std::string, std::string>> practiceFigures(const PracticeResult& result);

// A judgement the model's amplitude did not bear out, the pulse numbered from 1:
// "Pulse 3 at 52 %: judged MEP, was 38 µV".
std::string disagreementCaption(const PracticePulse& pulse, std::size_t number);

}  // namespace limenta
