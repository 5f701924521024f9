// The ML-PEST psychometric model: the probability of an answer at an output for a given
// threshold, and the guarded logarithm the likelihood sums.
#pragma once

namespace limenta {

// Probability of no MEP at output `mean` for threshold `x`: Phi((x - mean) / sigma), by
// the Chebyshev-fitted complementary error function (error below 1.2e-7).
double CuGauss(double x, double mean, double sigma);

// Natural logarithm with a floor of -12000, so an impossible answer costs a finite amount.
double sureln(double x);

// One stimulus's share of the log-likelihood of threshold t with spread sigma.
double likelihoodTerm(double t, double sigma, double stimulus, double success);

// |a| with the sign of b; b = 0 counts as negative.
double sign(double a, double b);

}  // namespace limenta
