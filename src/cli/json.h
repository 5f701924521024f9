// Numbers written for JSON readers.
#pragma once

#include <string>

namespace limenta::cli {

// The shortest text that reads back to the same double; null for a number JSON cannot
// carry (NaN, infinity).
std::string jsonNumber(double value);

}  // namespace limenta::cli
