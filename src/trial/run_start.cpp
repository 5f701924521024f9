#include "trial/run_start.h"

#include "display/numbers.h"

namespace limenta {

void startAdaptivePest(Procedure& run, double initialOutput, double step, double diff) {
    run.mysetting = initialOutput;
    run.mystep = step;
    run.startstep = toWhole(run.mystep);
    run.mydiff = diff;
}

double startMlPest(Procedure& run, std::int32_t lower, std::int32_t upper, double spread) {
    run.nrstimulus = 0;
    run.startBestPest(lower, upper);
    run.teststim = run.finalThreshold(spread);
    run.curstim = run.teststim;
    run.laststim = 0;
    return run.teststim;
}

}  // namespace limenta
