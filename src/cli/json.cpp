#include "cli/json.h"

#include "core/run/run.h"

namespace limenta::cli {

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
