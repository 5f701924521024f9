#include "core/numbers/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace limenta {

double textToNumber(std::string_view text) {
    // A decimal comma (a German or French desktop) is a decimal point: the program never
    // writes thousands separators, so a comma can mean nothing else.
    std::string pointed(text);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    std::size_t pos = 0;
    while (pos < pointed.size() && (pointed[pos] == ' ' || pointed[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < pointed.size() && (pointed[pos] == '+' || pointed[pos] == '-')) {
        negative = pointed[pos] == '-';
        ++pos;
    }
    const std::string_view rest = std::string_view(pointed).substr(pos);
    // from_chars would also read "inf", "nan" and hexadecimal forms; only decimal digits
    // or a point followed by a digit may begin a number here.
    const bool startsWithDigit = !rest.empty() && rest[0] >= '0' && rest[0] <= '9';
    const bool startsWithPoint =
        rest.size() >= 2 && rest[0] == '.' && rest[1] >= '0' && rest[1] <= '9';
    if (!startsWithDigit && !startsWithPoint) {
        return 0.0;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::int32_t toWhole(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

double roundHalfAway(double value) {
    return std::round(value);
}

std::int32_t nearestWhole(double value) {
    return toWhole(roundHalfAway(value));
}

namespace {

// The exact decimal expansion of a non-negative finite double, cut to `decimals` places
// and rounded half away from zero. Forty guard digits are more than any double in range of
// a ten-decimal mask needs to tell a true half from a near one.
std::string roundedFixed(double magnitude, int decimals) {
    const int precision = decimals + 40;
    // A double has at most 309 integer digits.
    std::string exact(320 + static_cast<std::size_t>(precision), '\0');
    const auto result = std::to_chars(exact.data(), exact.data() + exact.size(), magnitude,
                                      std::chars_format::fixed, precision);
    exact.resize(static_cast<std::size_t>(result.ptr - exact.data()));

    const std::size_t point = exact.find('.');
    std::string digits = exact.substr(0, point) + exact.substr(point + 1, decimals);
    const bool roundUp = exact[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) {
        auto it = digits.rbegin();
        for (; it != digits.rend() && *it == '9'; ++it) {
            *it = '0';
        }
        if (it == digits.rend()) {
            digits.insert(digits.begin(), '1');
        } else {
            ++*it;
        }
    }
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    if (decimals == 0) {
        return digits;
    }
    return digits.substr(0, integerLength) + "." + digits.substr(integerLength);
}

}  // namespace

std::string formatMask(double value, std::string_view mask) {
    if (!std::isfinite(value)) {
        return "--";
    }
    const std::size_t point = mask.find('.');
    const std::string_view integerMask = mask.substr(0, point);
    const std::string_view fractionMask =
        point == std::string_view::npos ? std::string_view{} : mask.substr(point + 1);

    const int decimals = static_cast<int>(fractionMask.size());
    const auto shownDecimals = [&] {
        const std::size_t lastZero = fractionMask.rfind('0');
        return lastZero == std::string_view::npos ? std::size_t{0} : lastZero + 1;
    }();
    const auto minIntegerDigits = static_cast<std::size_t>(
        std::max<std::ptrdiff_t>(1, std::count(integerMask.begin(), integerMask.end(), '0')));

    const std::string fixed = roundedFixed(std::fabs(value), decimals);
    const std::size_t fixedPoint = fixed.find('.');
    std::string integerDigits = fixed.substr(0, fixedPoint);
    std::string fraction =
        fixedPoint == std::string::npos ? std::string{} : fixed.substr(fixedPoint + 1);

    integerDigits.erase(0, std::min(integerDigits.find_first_not_of('0'), integerDigits.size()));
    if (integerDigits.size() < minIntegerDigits) {
        integerDigits.insert(0, minIntegerDigits - integerDigits.size(), '0');
    }
    while (fraction.size() > shownDecimals && fraction.back() == '0') {
        fraction.pop_back();
    }

    const bool isZero = fixed.find_first_not_of("0.") == std::string::npos;
    std::string text = (value < 0 && !isZero) ? "-" : "";
    text += integerDigits;
    if (!fraction.empty()) {
        text += "." + fraction;
    }
    return text;
}

std::string plainDecimal(double value) {
    if (!std::isfinite(value)) {
        return "--";
    }
    if (value == 0.0) {
        return "0";
    }
    // A double needs at most 309 integer digits and 17 significant decimals in fixed form.
    std::array<char, 400> buffer{};
    char* const end = buffer.data() + buffer.size();
    auto result = std::to_chars(buffer.data(), end, value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        result = std::to_chars(buffer.data(), end, value);
    }
    std::string text(buffer.data(), result.ptr);
    // Like the design's own ".45": no zero before the point.
    const std::size_t zero = text[0] == '-' ? 1 : 0;
    if (text.compare(zero, 2, "0.") == 0) {
        text.erase(zero, 1);
    }
    return text;
}

}  // namespace limenta
