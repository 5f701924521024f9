// One line of the run's history list.
#pragma once

#include <cstdint>
#include <string>

namespace limenta {

// The column header above the history, and its lines' columns beneath it.
inline constexpr const char* kHistoryHeader = "#    SETTING  ROUND MEP   DIFF";

// "03   044.75   045   0.0   01.7500" and a carriage return: the trial number, the output
// tried (two decimals and rounded), the answer and the difference, three blanks apart.
std::string historyLine(std::int32_t stepnum, double lastsetting, std::int32_t answer,
                        double thediff);

}  // namespace limenta
