// One answer of the operator, advancing the active method: the step the window's key
// handler and the replay tool share.
#pragma once

#include <cstdint>

#include "core/procedure/method.h"
#include "core/procedure/procedure.h"

namespace limenta {

inline constexpr const char* kTrialLimitMessage =
    "Trial limit reached: press Reset or Start for a new run";

struct AnswerStep {
    bool refused = false;  // the run is full: nothing in the state has changed
    bool reached = false;  // this answer presents the end of the run
    double next = 0.0;     // the next output to fire (or the estimate)
};

// Applies one answer (1 success, 0 failure) to the method's state: under adaptive PEST the
// staircase, clamped to 1..100, ends when a move is smaller than mydiff; under ML-PEST the
// run ends, before the answer is recorded, when the last two estimates lie within mydiff2.
// On the end it sets myrmt, endtime (the microsecond clock reading `nowMicros`) and
// totaltime. Always sets lastsetting, mysetting, thediff and clippedThresh. Answers after
// the end are handled the same way. A 201st answer of a run, or a stimulus the full
// record cannot take, is refused.
AnswerStep takeAnswer(Procedure& run, std::int32_t answer, Method method, double nowMicros);

}  // namespace limenta
