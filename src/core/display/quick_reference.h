// Stimulator outputs at chosen percentages of the threshold, and the correction for a
// target that lies deeper or shallower under the scalp than the motor cortex.
#pragma once

#include <string>

namespace limenta {

// e^(0.036 * (target - M1)), distances in mm: about 3.67 % more output for each millimetre
// that the target lies deeper than M1.
double depthFactor(double targetDistance, double m1Distance);

// One quick-reference value, a whole percent of the stimulator's output.
struct ReferenceValue {
    std::string text;           // "##0" of the rounded value, or "--" when it is no number
    bool aboveMaximum = false;  // more than any stimulator can deliver

    // On screen: "100+" for a value no stimulator gives (its number goes in a tooltip).
    [[nodiscard]] std::string shown() const { return aboveMaximum ? "100+" : text; }
    // In the report: "above 100 (108)".
    [[nodiscard]] std::string reported() const {
        return aboveMaximum ? "above 100 (" + text + ")" : text;
    }
};

// rMT x (percent / 100), rounded to a whole percent.
ReferenceValue quickReference(double rmt, int percent);

// The same for a target at another depth: (rMT x the depth factor) x (percent / 100).
ReferenceValue correctedReference(double rmt, double factor, int percent);

}  // namespace limenta
