#include "core/display/sweep_scene.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/numbers.h"

namespace limenta {

namespace {

constexpr double kSmallestHalfRange = 100;
constexpr int kTickEveryMs = 20;
// The artefact has died away by then; what follows sets the scale.
constexpr double kScaledFromMs = 5;

// The smallest of 1, 2 and 5 times a power of ten that holds `value`.
double oneTwoFive(double value) {
    double decade = 1;
    while (decade * 10 < value) {
        decade *= 10;
    }
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * decade >= value) {
            return step * decade;
        }
    }
    return 10 * decade;
}

}  // namespace

SweepScene sweepScene(const EmgSweep& sweep, double width, double height) {
    SweepScene scene;
    double largest = 0;
    for (std::size_t i = 0; i < sweep.microvolts.size(); ++i) {
        if (EmgSweep::timeMs(static_cast<int>(i)) >= kScaledFromMs) {
            largest = std::max(largest, std::fabs(sweep.microvolts[i]));
        }
    }
    scene.halfRange = oneTwoFive(std::max(kSmallestHalfRange, largest * 1.1));
    scene.baseline = height / 2;
    const double perMicrovolt = height / 2 / scene.halfRange;
    const double perMs = width / EmgSweep::kLengthMs;
    const auto y = [&](double microvolts) {
        return std::clamp(scene.baseline - microvolts * perMicrovolt, 0.0, height);
    };
    scene.criterionTop = y(kMepCriterionMicrovolts / 2);
    scene.criterionBottom = y(-kMepCriterionMicrovolts / 2);
    scene.measureLeft = EmgSweep::kMeasureFromMs * perMs;
    scene.measureRight = EmgSweep::kMeasureToMs * perMs;
    scene.trace.reserve(sweep.microvolts.size());
    for (std::size_t i = 0; i < sweep.microvolts.size(); ++i) {
        scene.trace.push_back(
            {EmgSweep::timeMs(static_cast<int>(i)) * perMs, y(sweep.microvolts[i])});
    }
    const int ticks = static_cast<int>(EmgSweep::kLengthMs) / kTickEveryMs;
    for (int tick = 0; tick <= ticks; ++tick) {
        const double ms = tick * kTickEveryMs;
        scene.ticks.push_back({ms * perMs, formatMask(ms, "##0")});
    }
    return scene;
}

std::string microvoltsText(double microvolts) {
    return formatMask(microvolts, "##0") + " \u00b5V";
}

}  // namespace limenta
