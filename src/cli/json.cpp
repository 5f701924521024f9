#include "cli/json.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/run/run.h"

namespace limenta::cli {

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

std::string jsonEstimateAndInterval(const Run& run) {
    const std::optional<double> estimate = run.estimate();
    std::string json = R"("estimate":)" + (estimate ? jsonNumber(*estimate) : "null");
    if (run.aboveMaximum()) {
        json += R"(,"above_100":true)";
    }
    json += R"(,"interval":)";
    const std::optional<CredibleInterval> interval = run.interval();
    json += interval ? R"({"low":)" + jsonNumber(interval->low) + R"(,"high":)" +
                           jsonNumber(interval->high) + "}"
                     : "null";
    return json;
}

}  // namespace limenta::cli
