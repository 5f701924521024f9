// The ML-PEST record of stimuli and the likelihood of a threshold over it.
#include "core/procedure/mlpest_model.h"
#include "core/procedure/procedure.h"

namespace limenta {

bool Procedure::insertstimulus(std::int32_t stimulus, std::int32_t success) {
    if (recordFull()) {
        return false;
    }
    nrstimulus = nrstimulus + 1;
    const int i = nrstimulus;
    staerken[i] = static_cast<double>(stimulus);
    erfolge[i] = static_cast<double>(success);
    return true;
}

double Procedure::funcfinal(double t) const {
    const double sigma = (relsigmafinal * t) / 100;
    double sum = 0.0;
    for (int i = 1; i <= recordedStimuli(); ++i) {
        sum = sum + likelihoodTerm(t, sigma, staerken[i], erfolge[i]);
    }
    return -sum;
}

}  // namespace limenta
