#include "core/trial/answer_step.h"

#include <cmath>

#include "core/display/numbers.h"

namespace limenta {

namespace {

// Returns false when the record is full and the answer must be refused.
bool mlPestAnswer(Procedure& run, std::int32_t answer, bool& reached) {
    const double distance = std::fabs(run.curstim - run.laststim);
    const bool goesOn = distance > run.mydiff2;
    if (goesOn && run.recordFull()) {
        return false;
    }
    run.thediff = distance;
    run.stepnum = run.stepnum + 1;
    // The trial's answer, as adaptive PEST records it, for the run's interval.
    run.mep[static_cast<std::size_t>(run.stepnum)] = answer;
    if (goesOn) {
        // The operator fired the whole percent that the big number showed.
        run.insertstimulus(nearestWhole(run.curstim), answer);
    }
    run.laststim = run.curstim;
    run.lastsetting = run.curstim;
    run.curstim = run.finalThreshold(run.runspread);
    run.mysetting = run.curstim;
    reached = !goesOn;
    return true;
}

void adaptivePestAnswer(Procedure& run, std::int32_t answer, bool& reached) {
    double next = run.runpest(answer);
    if (next > kHighestOutput) {
        next = kHighestOutput;
    }
    if (!(next >= kLowestOutput)) {
        next = kLowestOutput;
    }
    run.lastsetting = run.mysetting;
    run.mysetting = next;
    run.thediff = std::fabs(run.mysetting - run.lastsetting);
    reached = run.thediff < run.mydiff;
}

}  // namespace

AnswerStep takeAnswer(Procedure& run, std::int32_t answer, Method method, double nowMicros) {
    AnswerStep step;
    if (run.trialsFull()) {
        step.refused = true;
        return step;
    }
    // The operator fired the whole percent the big number showed.
    const std::int32_t fired = nearestWhole(method == Method::MlPest ? run.curstim : run.mysetting);
    if (method == Method::MlPest) {
        if (!mlPestAnswer(run, answer, step.reached)) {
            step.refused = true;
            return step;
        }
    } else {
        adaptivePestAnswer(run, answer, step.reached);
    }
    if (step.reached) {
        run.myrmt = run.mysetting;
        run.endtime = nowMicros;
        run.totaltime = (run.endtime - run.starttime) / 1000000;
    }
    run.firedlog[static_cast<std::size_t>(run.stepnum)] = fired;
    run.clippedThresh = nearestWhole(run.mysetting);
    step.next = run.mysetting;
    return step;
}

}  // namespace limenta
