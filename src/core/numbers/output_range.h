// Outputs are percent of the stimulator's maximum: no stimulator gives less than 1 % or more
// than all of it, so a run fires within these and a value beyond them is no output.
#pragma once

namespace limenta {

inline constexpr double kLowestOutput = 1;
inline constexpr double kHighestOutput = 100;

}  // namespace limenta
