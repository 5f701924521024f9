// The Bayesian procedure: the posterior over thresholds 1 to 100 under the interval's model,
// each pulse fired at its median, the run ending once its 95 % interval is narrow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/procedure/credible_interval.h"
#include "core/procedure/estimation_procedure.h"

namespace limenta {

// The log-likelihood of either answer at every output and every threshold of the grid,
// for one spread: computed once, then shared read-only by any number of runs.
class BayesModel final : public SharedModel {
  public:
    static constexpr int kPoints = 9901;  // thresholds 1.00 to 100.00, 0.01 apart
    static constexpr double kFrom = 1.0;
    static constexpr double kStep = 0.01;
    static double threshold(int i) { return (100 + i) / 100.0; }

    explicit BayesModel(double spread);
    // log P(answer at output | threshold) at every point of the grid; output 1 to 100.
    [[nodiscard]] const double* logLikelihoods(std::int32_t output, std::int32_t answer) const;

  private:
    std::vector<double> table_;  // by output, then answer, then grid point
};

// The stop rule, inclusive: the interval's width at most `width` times its median.
bool narrowEnough(const CredibleInterval& interval, double width);

struct BayesStep {
    std::int32_t fired = 0;   // the whole percent the answer was given at
    std::int32_t answer = 0;  // 1 MEP, 0 none
    CredibleInterval interval;
    bool ended = false;  // the stop rule holds after this answer
};

// The step of an answer given at `fired`, from the posterior's interval after it (the prior's
// median where the posterior has no mass), and the whole percent to fire next: its median
// rounded half away from zero, within the outputs a run may fire.
BayesStep bayesStep(std::int32_t fired, std::int32_t answer,
                    const std::optional<CredibleInterval>& interval, double width);
std::int32_t nextBayesOutput(const BayesStep& step);

// The flat prior's median is 50.5 exactly: a Bayesian run's first pulse is fired at 51.
inline constexpr std::int32_t kFlatPriorFirstOutput = 51;

class BayesRun {
  public:
    BayesRun(const BayesModel& model, double width);

    // The whole percent to fire next: the posterior median, rounded half away from zero.
    [[nodiscard]] std::int32_t nextOutput() const { return next_; }
    // Takes the answer to a pulse at nextOutput(); nothing once the run holds 200 answers.
    std::optional<BayesStep> answer(std::int32_t mep);
    [[nodiscard]] std::size_t answers() const { return answers_; }
    // The latest answer's step; nothing before the first answer.
    [[nodiscard]] const std::optional<BayesStep>& latest() const { return latest_; }

  private:
    const BayesModel& model_;
    double width_;
    std::vector<double> logPosterior_;
    std::size_t answers_ = 0;
    std::optional<BayesStep> latest_;
    std::int32_t next_ = kFlatPriorFirstOutput;
};

}  // namespace limenta
