// How numbers become text and text becomes numbers, the same way everywhere in Limenta.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace limenta {

// The plain text-to-number conversion: the longest leading decimal number of the text
// (blanks before it are skipped: "50", ".45", "-3", "7.5mm" reads 7.5). A decimal comma
// reads as a point ("52,5" is 52.5). Text that does not
// start with a number, and numbers too large for a double ("1e999"), read as 0, so the
// result is always finite. "nan" and "inf" are not numbers here.
double textToNumber(std::string_view text);

// The plain real-to-integer conversion: truncates toward zero and saturates at the int32
// range. NaN becomes 0; infinities saturate.
std::int32_t toWhole(double value);

// Rounds to the nearest whole number, halves away from zero (52.5 -> 53, -0.5 -> -1).
double roundHalfAway(double value);

// The nearest whole number as an int32: roundHalfAway, then toWhole.
std::int32_t nearestWhole(double value);

// Formats a number through a mask. "0" is a digit always shown (leading zeros pad),
// "#" a digit shown only when significant, "." the decimal point. The number is rounded,
// halves away from zero, to as many decimals as the mask has after the point; trailing
// decimals under "#" are dropped. Integer digits beyond the mask are never cut, and at
// least one integer digit is shown ("##########.##########" shows 0.5 as "0.5").
// A number that is not finite cannot be shown as one and gives "--".
std::string formatMask(double value, std::string_view mask);

// The shortest plain decimal text that reads back to the same double, written as the
// design writes its own values: 0.45 -> ".45", 50 -> "50", 7.5 -> "7.5". No exponent, no
// zero before the point. Negative zero shows as "0".
std::string plainDecimal(double value);

}  // namespace limenta
