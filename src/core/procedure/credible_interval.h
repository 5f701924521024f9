// How sure an estimate is: a 95 % interval of the threshold, read off a posterior known on a
// grid (robust_bayes.h gives a run's).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace limenta {

// One answer at the whole percent that was fired.
struct FiredAnswer {
    std::int32_t output;  // 1 to 100
    std::int32_t answer;  // 1 MEP, 0 none
    friend bool operator==(const FiredAnswer&, const FiredAnswer&) = default;
};

struct CredibleInterval {
    double low = 0;     // 2.5 % quantile of the posterior
    double median = 0;  // 50 %
    double high = 0;    // 97.5 %
    // Wider than a fifth of its median: a run flagged so ends more than 5 % off two to three
    // times as often as one that is not (docs/performance.md).
    [[nodiscard]] bool wide() const { return high - low > 0.2 * median; }
    // Whole percents that hold the interval: the lower bound down, the upper bound up.
    [[nodiscard]] int shownLow() const { return static_cast<int>(std::floor(low)); }
    [[nodiscard]] int shownHigh() const { return static_cast<int>(std::ceil(high)); }
    friend bool operator==(const CredibleInterval&, const CredibleInterval&) = default;
};

// The 2.5 %, 50 % and 97.5 % quantiles of a density known by its logarithm (up to a
// constant) at points `step` apart from `from`, with trapezoids between the points.
std::optional<CredibleInterval> quantilesOnGrid(double from, double step,
                                                const std::vector<double>& logDensity);
// The same from the density itself.
std::optional<CredibleInterval> quantilesOfDensity(double from, double step,
                                                   const std::vector<double>& density);

// log Phi(z), the normal distribution function, accurate far into the lower tail where
// Phi itself underflows.
double logPhi(double z);

}  // namespace limenta
