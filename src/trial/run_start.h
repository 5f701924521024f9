// The procedure side of Start: the method's starting values.
#pragma once

#include <cstdint>

#include "procedure/procedure.h"

namespace limenta {

// Adaptive PEST starts from the three parameter fields' numbers; the start step is the
// step made whole.
void startAdaptivePest(Procedure& run, double initialOutput, double step, double diff);

// ML-PEST starts a fresh record with the two bounds and returns the first estimate,
// which becomes curstim and teststim; laststim is 0.
double startMlPest(Procedure& run, std::int32_t lower, std::int32_t upper, double spread);

}  // namespace limenta
