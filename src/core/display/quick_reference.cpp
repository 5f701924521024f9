#include "core/display/quick_reference.h"

#include <cmath>

#include "core/numbers/numbers.h"
#include "core/numbers/output_range.h"

namespace limenta {

double depthFactor(double targetDistance, double m1Distance) {
    return std::exp(0.036 * (targetDistance - m1Distance));
}

namespace {

ReferenceValue referenceOf(double value) {
    const double whole = roundHalfAway(value);
    return {formatMask(whole, "##0"), std::isfinite(whole) && whole > kHighestOutput};
}

}  // namespace

ReferenceValue quickReference(double rmt, int percent) {
    return referenceOf(rmt * (percent / 100.0));
}

ReferenceValue correctedReference(double rmt, double factor, int percent) {
    return referenceOf((rmt * factor) * (percent / 100.0));
}

}  // namespace limenta
