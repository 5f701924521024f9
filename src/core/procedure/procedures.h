// The estimation procedures: adaptive PEST and ML-PEST over the state under the design's
// names, the Bayesian ones over posteriors of their own.
#pragma once

#include <memory>

#include "core/procedure/bayes.h"
#include "core/procedure/estimation_procedure.h"
#include "core/procedure/robust_bayes.h"

namespace limenta {

// Adaptive PEST from the initial output, the step and the difference threshold.
std::unique_ptr<EstimationProcedure> adaptivePest(Procedure& state, double initialOutput,
                                                  double step, double diff);

// ML-PEST from the two bounds (whole), the spread (made whole at the nearest for every
// estimate) and the difference threshold of two estimates.
std::unique_ptr<EstimationProcedure> mlPest(Procedure& state, std::int32_t lower,
                                            std::int32_t upper, double spread, double diff);

// The Bayesian procedure over `model`, ending when the 95 % interval is at most `width`
// times its median.
std::unique_ptr<EstimationProcedure> bayesian(const BayesModel& model, double width);

// The robust Bayesian procedure over `model` (the spread learned, slips allowed for), ending
// when the threshold's 95 % interval is at most `width` times its median.
std::unique_ptr<EstimationProcedure> robustBayesian(const RobustBayesModel& model, double width);

}  // namespace limenta
