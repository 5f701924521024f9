// Stimulator outputs at chosen percentages of the threshold, and the correction for a
// target that lies deeper or shallower under the scalp than the motor cortex.
#pragma once

#include <string>

namespace limenta {

// e^(0.036 * (target - M1)), distances in mm: about 3.67 % more output for each millimetre
// that the target lies deeper than M1.
double depthFactor(double targetDistance, double m1Distance);

// rMT x (percent / 100), rounded to a whole percent and shown with "##0".
std::string quickReferenceText(double rmt, int percent);

// The same, for a threshold already multiplied by the depth factor.
std::string correctedReferenceText(double rmt, double factor, int percent);

}  // namespace limenta
