// One answer of a run as every method records it, whatever its procedure: the columns of
// the history list.
#pragma once

#include <cstdint>
#include <string>

namespace limenta {

struct TrialLine {
    std::int32_t trial = 0;
    double fired = 0;  // the output the answer was given at, as the procedure had it
    std::int32_t answer = 0;
    double next = 0;  // the next output (or the estimate)
    double diff = 0;  // the run's difference after the answer
    friend bool operator==(const TrialLine&, const TrialLine&) = default;
};

// The column header above the history, and its lines' columns beneath it.
inline constexpr const char* kHistoryHeader = "#    SETTING  ROUND MEP   DIFF";

// "03   044.75   045   0.0   01.7500" and a carriage return: the trial number, the output
// tried (two decimals and rounded), the answer and the difference, three blanks apart.
std::string historyLine(const TrialLine& trial);

}  // namespace limenta
