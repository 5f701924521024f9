#include "core/procedure/credible_interval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace limenta {

namespace {

// Fine enough that a quantile read off the grid lies within 0.01 of the exact one; a
// posterior spread wide is smooth at a coarser step, so a wide range takes at most
// kFinePoints points.
constexpr double kFineStep = 0.01;
constexpr double kFinePoints = 2000;
// Coarse enough to find the posterior's mass quickly.
constexpr double kCoarseStep = 0.25;
// Beyond this many units of log-likelihood below the peak the posterior holds no mass that
// could move a quantile by 0.01.
constexpr double kNegligible = 30;

}  // namespace

double logPhi(double z) {
    if (z > -37) {
        return std::log(0.5 * std::erfc(-z / std::numbers::sqrt2));
    }
    // The leading terms of the asymptotic series of the normal tail.
    return -0.5 * z * z - std::log(-z) - 0.5 * std::log(2 * std::numbers::pi) +
           std::log1p(-1 / (z * z));
}

namespace {

// Answers counted by the output they were fired at.
struct Counts {
    std::array<int, 101> mep{};
    std::array<int, 101> none{};
    std::vector<int> outputs;  // the outputs that have any answer
};

Counts count(const std::vector<FiredAnswer>& answers) {
    Counts c;
    for (const FiredAnswer& a : answers) {
        const auto s = static_cast<std::size_t>(std::clamp(a.output, 1, 100));
        (a.answer != 0 ? c.mep : c.none)[s] += 1;
    }
    for (int s = 1; s <= 100; ++s) {
        if (c.mep[static_cast<std::size_t>(s)] + c.none[static_cast<std::size_t>(s)] > 0) {
            c.outputs.push_back(s);
        }
    }
    return c;
}

double logLikelihood(const Counts& c, double t, double spread) {
    const double sigma = t * spread / 100;
    double sum = 0;
    for (const int s : c.outputs) {
        const double z = (t - s) / sigma;  // P(no MEP) = Phi(z), P(MEP) = Phi(-z)
        const auto i = static_cast<std::size_t>(s);
        if (c.none[i] > 0) {
            sum += c.none[i] * logPhi(z);
        }
        if (c.mep[i] > 0) {
            sum += c.mep[i] * logPhi(-z);
        }
    }
    return sum;
}

}  // namespace

std::optional<CredibleInterval> credibleInterval(const std::vector<FiredAnswer>& answers,
                                                 double spread) {
    if (answers.empty() || !(spread > 0)) {
        return std::nullopt;
    }
    const Counts c = count(answers);

    // Where the mass lies, on a coarse grid.
    const int coarsePoints = static_cast<int>(std::lround((100 - 1) / kCoarseStep)) + 1;
    std::vector<double> coarse(static_cast<std::size_t>(coarsePoints));
    for (int i = 0; i < coarsePoints; ++i) {
        coarse[static_cast<std::size_t>(i)] = logLikelihood(c, 1 + i * kCoarseStep, spread);
    }
    const double peak = *std::max_element(coarse.begin(), coarse.end());
    int first = 0;
    while (coarse[static_cast<std::size_t>(first)] < peak - kNegligible) {
        ++first;
    }
    int last = coarsePoints - 1;
    while (coarse[static_cast<std::size_t>(last)] < peak - kNegligible) {
        --last;
    }
    const double from = std::max(1.0, 1 + (first - 1) * kCoarseStep);
    const double to = std::min(100.0, 1 + (last + 1) * kCoarseStep);

    // The posterior on a fine grid over that range, and its cumulative mass by trapezoids.
    const double step = std::max(kFineStep, (to - from) / kFinePoints);
    const int finePoints = static_cast<int>(std::lround((to - from) / step)) + 1;
    std::vector<double> logs(static_cast<std::size_t>(finePoints));
    for (int i = 0; i < finePoints; ++i) {
        logs[static_cast<std::size_t>(i)] = logLikelihood(c, from + i * step, spread);
    }
    return quantilesOnGrid(from, step, logs);
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
