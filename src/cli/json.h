// A run's end for JSON readers.
#pragma once

#include <string>

#include "core/numbers/json_text.h"

namespace limenta {
class Run;
}

namespace limenta::cli {

// A run's end as it stands, as members of a JSON object: "estimate" (null until reached),
// "above_100": true where the threshold lies above what the stimulator gives, and the
// 95 % "interval" unrounded ({"low", "high"}; null before any answer).
std::string jsonEstimateAndInterval(const Run& run);

}  // namespace limenta::cli
