#include "core/display/quick_reference.h"

#include <cmath>

#include "core/display/numbers.h"

namespace limenta {

double depthFactor(double targetDistance, double m1Distance) {
    return std::exp(0.036 * (targetDistance - m1Distance));
}

std::string quickReferenceText(double rmt, int percent) {
    return formatMask(roundHalfAway(rmt * (percent / 100.0)), "##0");
}

std::string correctedReferenceText(double rmt, double factor, int percent) {
    return formatMask(roundHalfAway((rmt * factor) * (percent / 100.0)), "##0");
}

}  // namespace limenta
