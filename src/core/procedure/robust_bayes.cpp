#include "core/procedure/robust_bayes.h"

#include <algorithm>
#include <cmath>

#include "core/procedure/procedure_state.h"

namespace limenta {

namespace {

constexpr std::size_t kPoints =
    static_cast<std::size_t>(RobustBayesModel::kSpreads) * RobustBayesModel::kThresholds;
constexpr double kLowestSpread = 0.02;
constexpr double kHighestSpread = 0.20;
// Relative spreads of the hand muscles' threshold run from about 3 to 10 % of T: 0.052 the
// median of 37 subjects (Demjan et al. 2023), 0.07 the value of the threshold-hunting
// literature. The prior is centred on the latter and holds 95 % of its weight from 3.2 to
// 15 %: of the priors simulated, the one needing fewest pulses whose interval still holds
// the threshold 93 % of the time on patients who vary from pulse to pulse and on slipping
// operators (docs/performance.md).
constexpr double kPriorMedian = 0.07;
constexpr double kPriorLogSd = 0.4;

double normalDistribution(double z) {
    return 0.5 * std::erfc(-z / std::sqrt(2.0));
}

}  // namespace

double RobustBayesModel::spread(int k) {
    return kLowestSpread * std::pow(kHighestSpread / kLowestSpread, k / (kSpreads - 1.0));
}

double RobustBayesModel::spreadPrior(int k) {
    const auto density = [](int j) {
        const double z = std::log(spread(j) / kPriorMedian) / kPriorLogSd;
        return std::exp(-0.5 * z * z);
    };
    double total = 0;
    for (int j = 0; j < kSpreads; ++j) {
        total += density(j);
    }
    return density(k) / total;
}

RobustBayesModel::RobustBayesModel(double lapse) : table_(100 * kPoints) {
    for (std::int32_t s = 1; s <= 100; ++s) {
        double* row = table_.data() + static_cast<std::size_t>(s - 1) * kPoints;
        for (int k = 0; k < kSpreads; ++k) {
            for (int i = 0; i < kThresholds; ++i) {
                const double t = threshold(i);
                row[static_cast<std::size_t>(k * kThresholds + i)] =
                    lapse / 2 + (1 - lapse) * normalDistribution((s - t) / (spread(k) * t));
            }
        }
    }
}

const double* RobustBayesModel::mepProbabilities(std::int32_t output) const {
    return table_.data() + static_cast<std::size_t>(std::clamp(output, 1, 100) - 1) * kPoints;
}

RobustPosterior::RobustPosterior(const RobustBayesModel& model)
    : model_(model),
      posterior_(kPoints),
      marginal_(static_cast<std::size_t>(RobustBayesModel::kThresholds)) {
    const auto thresholds = static_cast<std::size_t>(RobustBayesModel::kThresholds);
    for (int k = 0; k < RobustBayesModel::kSpreads; ++k) {
        const auto row = static_cast<std::size_t>(k) * thresholds;
        std::fill_n(posterior_.begin() + static_cast<std::ptrdiff_t>(row), thresholds,
                    RobustBayesModel::spreadPrior(k));
    }
}

void RobustPosterior::take(FiredAnswer answer) {
    const double* p = model_.mepProbabilities(answer.output);
    for (std::size_t j = 0; j < kPoints; ++j) {
        posterior_[j] *= answer.answer != 0 ? p[j] : 1 - p[j];
    }
}

std::optional<CredibleInterval> RobustPosterior::interval() {
    std::fill(marginal_.begin(), marginal_.end(), 0.0);
    for (std::size_t row = 0; row < kPoints; row += marginal_.size()) {
        for (std::size_t i = 0; i < marginal_.size(); ++i) {
            marginal_[i] += posterior_[row + i];
        }
    }
    const double top = *std::max_element(marginal_.begin(), marginal_.end());
    if (top > 0) {
        for (double& mass : posterior_) {
            mass /= top;
        }
        for (double& mass : marginal_) {
            mass /= top;
        }
    }
    return quantilesOfDensity(RobustBayesModel::kFrom, RobustBayesModel::kStep, marginal_);
}

const RobustBayesModel& usualRobustModel() {
    static const RobustBayesModel model(kUsualLapse);
    return model;
}

std::optional<CredibleInterval> robustInterval(const std::vector<FiredAnswer>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    RobustPosterior posterior(usualRobustModel());
    // Each answer's likelihood is at least half the lapse rate, .03, so 64 answers shrink the
    // posterior's greatest mass by a factor of 3e-98 at most: rescaled that often, it never
    // comes near underflow.
    constexpr std::size_t kRescaleEvery = 64;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (i > 0 && i % kRescaleEvery == 0) {
            posterior.interval();
        }
        posterior.take(answers[i]);
    }
    return posterior.interval();
}

RobustBayesRun::RobustBayesRun(const RobustBayesModel& model, double width)
    : width_(width), posterior_(model) {}

std::optional<BayesStep> RobustBayesRun::answer(std::int32_t mep) {
    if (answers_ >= static_cast<std::size_t>(kLastTrial)) {
        return std::nullopt;
    }
    const std::int32_t answer = mep != 0 ? 1 : 0;
    const std::int32_t fired = next_;
    posterior_.take({fired, answer});
    ++answers_;
    latest_ = bayesStep(fired, answer, posterior_.interval(), width_);
    next_ = nextBayesOutput(*latest_);
    return latest_;
}

}  // namespace limenta
