// Numbers and texts written for JSON readers.
#pragma once

#include <string>
#include <string_view>

namespace limenta {

// The shortest text that reads back to the same double; null for a number JSON cannot
// carry (NaN, infinity).
std::string jsonNumber(double value);

// A JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string jsonString(std::string_view text);

}  // namespace limenta
