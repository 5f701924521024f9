// The EMG sweep of one pulse, as an amplifier would show it: 100 ms from the pulse, the
// stimulus artefact at its start, baseline noise, and the MEP (if any) at about 20 ms.
#pragma once

#include <vector>

#include "core/subject/virtual_subjects.h"

namespace limenta {

struct EmgSweep {
    static constexpr double kSampleRateHz = 5000;  // a sample every 0.2 ms
    static constexpr double kLengthMs = 100;
    static constexpr int kSamples = 500;
    // The MEP is measured from 15 to 50 ms after the pulse: the artefact has died away by
    // then, and a hand muscle's MEP has come and gone.
    static constexpr double kMeasureFromMs = 15;
    static constexpr double kMeasureToMs = 50;
    static double timeMs(int sample) { return sample * 1000 / kSampleRateHz; }

    std::vector<double> microvolts;  // kSamples values, the first at the pulse
    double latencyMs = 0;            // where the MEP begins

    // The largest value less the smallest from `fromMs` to `toMs` (both included).
    [[nodiscard]] double peakToPeak(double fromMs = kMeasureFromMs,
                                    double toMs = kMeasureToMs) const;
};

// The sweep of `pulse` (its peak-to-peak amplitude, none for no response), the noise and the
// latency drawn from `noise`: a stream of its own, so that drawing sweeps changes no answer.
EmgSweep emgSweep(const Pulse& pulse, Random& noise);

}  // namespace limenta
