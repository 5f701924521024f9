// The procedure state under the design's names and the design's operations on it: adaptive
// PEST's staircase (runpest) and ML-PEST's record, likelihood and estimator, with their
// starts. Each procedure_<topic>.cpp holds one part. The Bayesian procedures keep
// posteriors of their own (bayes.h, robust_bayes.h).
#pragma once

#include <cstdint>

#include "core/procedure/likelihood_grid.h"
#include "core/procedure/procedure_state.h"

namespace limenta {

class Procedure : public ProcedureState {
  public:
    // Adaptive PEST: records one answer (non-zero is a success), halves the step on a
    // reversal, keeps or doubles it while the output travels one way, and returns the
    // next output, neither rounded nor clamped. Does not change mysetting.
    double runpest(std::int32_t answer);

    // ML-PEST record: appends one stimulus; returns false, changing nothing, when the
    // record is full.
    bool insertstimulus(std::int32_t stimulus, std::int32_t success);

    // Negative log-likelihood of threshold t over the record, spread relsigmafinal.
    [[nodiscard]] double funcfinal(double t) const;

    // Seeds the record: a failure at the lower bound and a success at the upper one.
    void startBestPest(std::int32_t lower, std::int32_t upper);
    // Adaptive PEST starts from the three parameter fields' numbers; the start step is the
    // step made whole.
    void startAdaptivePest(double initialOutput, double step, double diff);
    // ML-PEST starts a fresh record with the two bounds and returns the first estimate,
    // which becomes curstim and teststim; laststim is 0. The spread, made whole (7.5 is 8),
    // becomes the run's spread for this and every later estimate.
    double startMlPest(std::int32_t lower, std::int32_t upper, double spread);
    // The maximum-likelihood threshold: a grid search over whole outputs 1 to 100, the
    // middle of a run of tied grid points, or Brent's refinement around a single minimum.
    double finalThreshold(double spread);
    // Brent's minimiser of funcfinal between left and right, starting at inner; writes the
    // minimum's position and returns funcfinal there. Stops after 100 iterations.
    double brent(double left, double inner, double right, double tol, double& position) const;

  private:
    LikelihoodGrid grid_;  // the grid search's values, kept between estimates
};

}  // namespace limenta
