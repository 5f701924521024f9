#include "core/procedure/procedure.h"

namespace limenta {

double Procedure::runpest(std::int32_t answer) {
    // The arrays end at the last trial; the answer step refuses further answers before
    // they reach here, and a direct call changes nothing.
    if (trialsFull()) {
        return mysetting;
    }
    stepnum = stepnum + 1;
    const int n = stepnum;
    mep[n] = answer;

    // A reversal is an answer whose success or failure differs from the one before.
    reversal[1] = 0;
    for (int k = 2; k <= n; ++k) {
        reversal[k] = ((mep[k] != 0) != (mep[k - 1] != 0)) ? 1 : 0;
    }

    if (n < 3) {
        // The first two trials always move by the start step.
        mystep = static_cast<double>(startstep);
    } else {
        int lastReversal = 0;
        for (int k = 1; k <= n; ++k) {
            if (reversal[k] == 1) {
                lastReversal = k;
            }
        }
        if (lastReversal == n) {
            mystep = mystep / 2;  // this answer reverses the direction
        } else if (lastReversal == n - 1) {
            // second step in the new direction: unchanged
        } else if (lastReversal == n - 2) {
            // Third step in one direction: doubled, unless a doubling led into the reversal.
            if (doubled[lastReversal - 1] != 1) {
                mystep = mystep * 2;
                doubled[n] = 1;
            }
        } else {
            mystep = mystep * 2;  // fourth and later step one way, or no reversal yet
            doubled[n] = 1;
        }
    }

    return answer != 0 ? mysetting - mystep : mysetting + mystep;
}

}  // namespace limenta
