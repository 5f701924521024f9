// Each procedure's starting values, as Start gives them.
#include "core/numbers/numbers.h"
#include "core/procedure/procedure.h"

namespace limenta {

void Procedure::startAdaptivePest(double initialOutput, double step, double diff) {
    mysetting = initialOutput;
    mystep = step;
    startstep = toWhole(mystep);
    mydiff = diff;
}

double Procedure::startMlPest(std::int32_t lower, std::int32_t upper, double spread) {
    nrstimulus = 0;
    startBestPest(lower, upper);
    runspread = nearestWhole(spread);
    teststim = finalThreshold(runspread);
    curstim = teststim;
    laststim = 0;
    return teststim;
}

}  // namespace limenta
