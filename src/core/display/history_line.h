// The run's lines of text: the big number, the history list, and the interval under the
// big number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/procedure/credible_interval.h"

namespace limenta {

// The column header above the history, and its lines' columns beneath it.
inline constexpr const char* kHistoryHeader = "#    SETTING  ROUND MEP   DIFF";

// "03   044.75   045   0.0   01.7500" and a carriage return: the trial number, the output
// tried (two decimals and rounded), the answer and the difference, three blanks apart.
std::string historyLine(std::int32_t stepnum, double lastsetting, std::int32_t answer,
                        double thediff);

struct TrialRecord;
class Run;

// The history, newest line first, every line ending in a carriage return.
std::string historyText(const std::vector<TrialRecord>& trials);

// The big number: the output to fire next as a whole percent ("##0"); at Start a method
// may show its first output as its procedure has it (ML-PEST's first estimate); "100+"
// for a run that ends above what the stimulator gives.
std::string shownOutput(const Run& run);

// "95 % interval: 37 – 45 (7 pulses)" (UTF-8), with " wide: consider more pulses" when the
// interval is wide.
std::string intervalLine(const CredibleInterval& interval, std::int32_t pulses);

}  // namespace limenta
