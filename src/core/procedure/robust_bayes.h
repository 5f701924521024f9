// The robust Bayesian procedure: a joint posterior over the threshold and the patient's own
// relative spread, with a share of answers (slips, lapses) that go either way whatever the
// output. It fires at the median of the threshold's marginal and ends once that marginal's
// 95 % interval is narrow, as the fixed-spread procedure does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/procedure/bayes.h"
#include "core/procedure/credible_interval.h"
#include "core/procedure/estimation_procedure.h"

namespace limenta {

// P(MEP at s | T, spread, lapse) = lapse / 2 + (1 - lapse) Phi((s - T) / (spread x T)), on a
// grid of thresholds and spreads; computed once, then shared read-only by any number of
// runs.
class RobustBayesModel final : public SharedModel {
  public:
    static constexpr int kThresholds = 991;  // thresholds 1.0 to 100.0, 0.1 apart
    static constexpr double kFrom = 1.0;
    static constexpr double kStep = 0.1;
    static constexpr int kSpreads = 13;  // relative spreads 0.02 to 0.20, evenly in the log
    static double threshold(int i) { return kFrom + kStep * i; }
    static double spread(int k);
    // The prior weight of spread k: log-normal around the spreads reported for the hand
    // muscles, summing to 1 over the grid.
    static double spreadPrior(int k);

    explicit RobustBayesModel(double lapse);
    // P(MEP at output | threshold i, spread k) at every point, spread by spread (index
    // k x kThresholds + i); output 1 to 100.
    [[nodiscard]] const double* mepProbabilities(std::int32_t output) const;

  private:
    std::vector<double> table_;  // by output, then spread, then threshold
};

// The joint posterior over thresholds and spreads given answers at whole percents: the
// spread's prior times a flat prior over thresholds, times each answer's likelihood.
class RobustPosterior {
  public:
    explicit RobustPosterior(const RobustBayesModel& model);
    // Multiplies in the likelihood of one answer.
    void take(FiredAnswer answer);
    // The 95 % interval of the threshold's marginal (the posterior summed over the spreads).
    // Scales the posterior so the marginal's greatest mass is 1, so that any number of
    // answers keeps what matters clear of underflow.
    std::optional<CredibleInterval> interval();

  private:
    const RobustBayesModel& model_;
    std::vector<double> posterior_;  // by spread, then threshold
    std::vector<double> marginal_;
};

// The robust model with its usual lapse rate: shared by the robust Bayesian procedure at its
// defaults and by every run's 95 % interval; built on first use.
const RobustBayesModel& usualRobustModel();
inline constexpr double kUsualLapse = 0.07;  // 3.5 % of answers slipping each way

// A run's 95 % interval, whatever chose its outputs: the threshold's interval under the
// usual robust model given the answers at the whole percents fired. Nothing without answers.
std::optional<CredibleInterval> robustInterval(const std::vector<FiredAnswer>& answers);

class RobustBayesRun {
  public:
    RobustBayesRun(const RobustBayesModel& model, double width);

    // The whole percent to fire next: the marginal's median, rounded half away from zero.
    [[nodiscard]] std::int32_t nextOutput() const { return next_; }
    // Takes the answer to a pulse at nextOutput(); nothing once the run holds 200 answers.
    std::optional<BayesStep> answer(std::int32_t mep);
    [[nodiscard]] const std::optional<BayesStep>& latest() const { return latest_; }

  private:
    double width_;
    RobustPosterior posterior_;
    std::size_t answers_ = 0;
    std::optional<BayesStep> latest_;
    std::int32_t next_ = kFlatPriorFirstOutput;
};

}  // namespace limenta
