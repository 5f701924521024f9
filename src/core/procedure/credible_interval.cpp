#include "core/procedure/credible_interval.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace limenta {

double logPhi(double z) {
    if (z > -37) {
        return std::log(0.5 * std::erfc(-z / std::numbers::sqrt2));
    }
    // The leading terms of the asymptotic series of the normal tail.
    return -0.5 * z * z - std::log(-z) - 0.5 * std::log(2 * std::numbers::pi) +
           std::log1p(-1 / (z * z));
}

std::optional<CredibleInterval> quantilesOnGrid(double from, double step,
                                                const std::vector<double>& logDensity) {
    if (logDensity.empty()) {
        return std::nullopt;
    }
    const double top = *std::max_element(logDensity.begin(), logDensity.end());
    std::vector<double> density(logDensity.size());
    std::transform(logDensity.begin(), logDensity.end(), density.begin(),
                   [top](double log) { return std::exp(log - top); });
    return quantilesOfDensity(from, step, density);
}

std::optional<CredibleInterval> quantilesOfDensity(double from, double step,
                                                   const std::vector<double>& density) {
    if (density.size() < 2) {
        return std::nullopt;
    }
    // The cumulative mass by trapezoids, read off by linear interpolation.
    std::vector<double> cumulative(density.size(), 0.0);
    for (std::size_t i = 1; i < density.size(); ++i) {
        cumulative[i] = cumulative[i - 1] + 0.5 * (density[i - 1] + density[i]) * step;
    }
    const double total = cumulative.back();
    if (!(total > 0)) {
        return std::nullopt;
    }
    const auto quantile = [&](double share) {
        const double target = share * total;
        const auto above = std::lower_bound(cumulative.begin(), cumulative.end(), target);
        if (above == cumulative.begin()) {
            return from;
        }
        const auto i = static_cast<std::size_t>(above - cumulative.begin());
        const double within = (target - cumulative[i - 1]) / (cumulative[i] - cumulative[i - 1]);
        return from + (static_cast<double>(i - 1) + within) * step;
    };
    return CredibleInterval{quantile(0.025), quantile(0.5), quantile(0.975)};
}

}  // namespace limenta
