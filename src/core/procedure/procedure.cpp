#include "core/procedure/procedure.h"

namespace limenta {

void Procedure::clearTrials() {
    settinglog.fill(0.0);
    diflog.fill(0.0);
    firedlog.fill(0);
    mep.fill(0);
    doubled.fill(0);
    reversal.fill(0);
    stepnum = 0;
    myrmt = 0.0;
}

}  // namespace limenta
