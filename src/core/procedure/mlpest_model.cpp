#include "core/procedure/mlpest_model.h"

#include <cmath>

namespace limenta {

double CuGauss(double x, double mean, double sigma) {
    if (sigma < 1e-10) {
        return x < mean ? 0.0 : 1.0;
    }
    // 1.414213562 as the model was fitted with, not the full-precision root of two.
    const double z = (x - mean) / (sigma * 1.414213562);
    if (std::fabs(z) > 50) {
        return z > 0 ? 1.0 : 0.0;
    }
    const double az = std::fabs(z);
    const double u = 1.0 / (1.0 + 0.5 * az);
    const double poly =
        ((((((((0.17087277 * u - 0.82215223) * u + 1.48851587) * u - 1.13520398) * u + 0.27886807) *
                u -
            0.18628806) *
               u +
           0.09678418) *
              u +
          0.37409196) *
             u +
         1.00002368);
    const double y = u * std::exp((-az) * az - 1.26551223 + u * poly);
    const double e = z >= 0 ? y : 2 - y;
    return (2 - e) * 0.5;
}

double sureln(double x) {
    if (x < 1e-100) {
        return -12000.0;
    }
    return std::log(x);
}

double likelihoodTerm(double t, double sigma, double stimulus, double success) {
    const double p = CuGauss(t, stimulus, sigma);
    return success == 1.0 ? sureln(1 - p) : sureln(p);
}

double sign(double a, double b) {
    return b > 0 ? std::fabs(a) : -std::fabs(a);
}

}  // namespace limenta
