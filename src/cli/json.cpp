#include "cli/json.h"

#include <array>
#include <charconv>
#include <cmath>

namespace limenta::cli {

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

}  // namespace limenta::cli
