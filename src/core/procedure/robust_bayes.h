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

class RobustBayesRun {
  public:
    RobustBayesRun(const RobustBayesModel& model, double width);

    // The whole percent to fire next: the marginal's median, rounded half away from zero.
    [[nodiscard]] std::int32_t nextOutput() const { return next_; }
    // Takes the answer to a pulse at nextOutput(); nothing once the run holds 200 answers.
    std::optional<BayesStep> answer(std::int32_t mep);
    [[nodiscard]] const std::optional<BayesStep>& latest() const { return latest_; }

  private:
    const RobustBayesModel& model_;
    double width_;
    std::vector<double> posterior_;  // by spread, then threshold; its greatest mass 1
    std::vector<double> marginal_;
    std::size_t answers_ = 0;
    std::optional<BayesStep> latest_;
    std::int32_t next_ = kFlatPriorFirstOutput;
};

}  // namespace limenta
