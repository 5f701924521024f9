// Numbers written for JSON readers.
#pragma once

#include <string>

namespace limenta {
class Run;
}

namespace limenta::cli {

// The shortest text that reads back to the same double; null for a number JSON cannot
// carry (NaN, infinity).
std::string jsonNumber(double value);

// A run's end as it stands, as members of a JSON object: "estimate" (null until reached),
// "above_100": true where the threshold lies above what the stimulator gives, and the
// 95 % "interval" unrounded ({"low", "high"}; null before any answer).
std::string jsonEstimateAndInterval(const Run& run);

}  // namespace limenta::cli
