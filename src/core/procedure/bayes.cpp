#include "core/procedure/bayes.h"

#include <algorithm>

#include "core/numbers/numbers.h"
#include "core/numbers/output_range.h"
#include "core/procedure/procedure_state.h"

namespace limenta {

namespace {

constexpr std::size_t kOutputs = 100;
// Points this far below the posterior's peak (in log units) hold less than e^-50 of its
// mass each: leaving them out moves no quantile by more than rounding.
constexpr double kNegligibleLog = 50;

std::size_t rowOf(std::int32_t output, std::int32_t answer) {
    const auto s = static_cast<std::size_t>(std::clamp(output, 1, 100) - 1);
    return (2 * s + (answer != 0 ? 1 : 0)) * BayesModel::kPoints;
}

}  // namespace

BayesModel::BayesModel(double spread) : table_(kOutputs * 2 * static_cast<std::size_t>(kPoints)) {
    for (std::int32_t s = 1; s <= 100; ++s) {
        double* none = table_.data() + rowOf(s, 0);
        double* mep = table_.data() + rowOf(s, 1);
        for (int i = 0; i < kPoints; ++i) {
            const double t = threshold(i);
            const double z = (t - s) / (t * spread / 100);  // P(no MEP) = Phi(z)
            none[i] = logPhi(z);
            mep[i] = logPhi(-z);
        }
    }
}

const double* BayesModel::logLikelihoods(std::int32_t output, std::int32_t answer) const {
    return table_.data() + rowOf(output, answer);
}

bool narrowEnough(const CredibleInterval& interval, double width) {
    return (interval.high - interval.low) / interval.median <= width;
}

BayesStep bayesStep(std::int32_t fired, std::int32_t answer,
                    const std::optional<CredibleInterval>& interval, double width) {
    // The posterior of a real run always has mass; the prior's median stands in otherwise.
    const CredibleInterval shown = interval.value_or(CredibleInterval{1, 50.5, 100});
    return {fired, answer, shown, narrowEnough(shown, width)};
}

std::int32_t nextBayesOutput(const BayesStep& step) {
    return std::clamp(nearestWhole(step.interval.median), static_cast<std::int32_t>(kLowestOutput),
                      static_cast<std::int32_t>(kHighestOutput));
}

BayesRun::BayesRun(const BayesModel& model, double width)
    : model_(model),
      width_(width),
      logPosterior_(static_cast<std::size_t>(BayesModel::kPoints), 0.0) {}

std::optional<BayesStep> BayesRun::answer(std::int32_t mep) {
    if (answers_ >= static_cast<std::size_t>(kLastTrial)) {
        return std::nullopt;
    }
    const std::int32_t answer = mep != 0 ? 1 : 0;
    const double* likelihood = model_.logLikelihoods(next_, answer);
    for (std::size_t i = 0; i < logPosterior_.size(); ++i) {
        logPosterior_[i] += likelihood[i];
    }
    ++answers_;
    // The quantiles of the part of the grid that holds the mass.
    const double top = *std::max_element(logPosterior_.begin(), logPosterior_.end());
    const auto holds = [top](double log) { return log >= top - kNegligibleLog; };
    const auto first = std::find_if(logPosterior_.begin(), logPosterior_.end(), holds);
    const auto last = std::find_if(logPosterior_.rbegin(), logPosterior_.rend(), holds).base();
    const auto interval = quantilesOnGrid(
        BayesModel::kFrom + static_cast<double>(first - logPosterior_.begin()) * BayesModel::kStep,
        BayesModel::kStep, std::vector<double>(first, last));
    latest_ = bayesStep(next_, answer, interval, width_);
    next_ = nextBayesOutput(*latest_);
    return latest_;
}

}  // namespace limenta
