// A picture of the trade-off: each subject's error against the pulses it took.
#pragma once

#include <string>
#include <vector>

#include "cli/simulation.h"

namespace limenta::cli {

struct PlotSeries {
    std::string label;   // "adaptive PEST", "ML-PEST"
    std::string colour;  // an SVG colour
    const std::vector<SubjectOutcome>* outcomes;
};

// An SVG scatter plot: pulses to the estimate across, error in percent of the threshold
// up, one dot per subject, and each method's mean marked with a cross.
// up, one dot per subject, and each method's mean marked with a cross.
std::string errorPlotSvg(const std::vector<PlotSeries>& series, const std::string& title);

}  // namespace limenta::cli
