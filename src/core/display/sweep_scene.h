// An EMG sweep as the practice window draws it: all the data-to-pixel arithmetic, so the
// widget only draws what it is given.
#pragma once

#include <string>
#include <vector>

#include "core/subject/emg_sweep.h"

namespace limenta {

struct SweepPoint {
    double x = 0;
    double y = 0;
};

struct SweepTick {
    double x = 0;
    std::string label;  // milliseconds from the pulse: "0", "20"...
};

struct SweepScene {
    // One point a sample, kept within the plot: the artefact runs off its top and bottom.
    std::vector<SweepPoint> trace;
    double baseline = 0;  // y of 0 microvolts
    // The 50 microvolt criterion: y of +25 and -25 microvolts about the baseline.
    double criterionTop = 0;
    double criterionBottom = 0;
    // x of the measurement window's start and end (15 and 50 ms).
    double measureLeft = 0;
    double measureRight = 0;
    std::vector<SweepTick> ticks;  // every 20 ms
    // The plot spans this many microvolts above and below the baseline: at least 100, and
    // enough for the largest swing after the artefact, on a 1-2-5 scale.
    double halfRange = 0;
};

// `sweep` drawn into a plot of `width` by `height` pixels.
SweepScene sweepScene(const EmgSweep& sweep, double width, double height);

// A peak-to-peak amplitude as the practice window writes it: "123 µV".
std::string microvoltsText(double microvolts);

}  // namespace limenta
