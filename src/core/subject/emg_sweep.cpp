#include "core/subject/emg_sweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace limenta {

namespace {

constexpr double kNoiseSd = 2.5;      // microvolts: 10 to 20 peak to peak over a sweep
constexpr double kLatencyMs = 20;     // a hand muscle's, from motor cortex
constexpr double kLatencySdMs = 0.7;  // from pulse to pulse
constexpr double kMepPhaseMs = 2.5;   // each of its two phases
constexpr double kArtefactMicrovolts = 600;
constexpr double kArtefactDecayMs = 0.8;

// A biphasic wave that rises from 0 and swings from +1 to -1: the derivative of a Gaussian,
// centred four phase widths after its start (where it is within 0.3 % of 0).
double mepShape(double sinceStartMs) {
    const double z = (sinceStartMs - 4 * kMepPhaseMs) / kMepPhaseMs;
    return -z * std::exp(0.5 * (1 - z * z));
}

}  // namespace

double EmgSweep::peakToPeak(double fromMs, double toMs) const {
    const double perMs = kSampleRateHz / 1000;
    const auto first = static_cast<std::ptrdiff_t>(std::ceil(std::max(fromMs, 0.0) * perMs));
    const auto end = std::min(static_cast<std::ptrdiff_t>(std::floor(toMs * perMs)) + 1,
                              static_cast<std::ptrdiff_t>(microvolts.size()));
    if (first >= end) {
        return 0;
    }
    const auto [low, high] =
        std::minmax_element(microvolts.begin() + first, microvolts.begin() + end);
    return *high - *low;
}

EmgSweep emgSweep(const Pulse& pulse, Random& noise) {
    EmgSweep sweep;
    sweep.latencyMs = kLatencyMs + kLatencySdMs * noise.gaussian();
    const double amplitude = pulse.peakToPeak.value_or(0);
    sweep.microvolts.resize(EmgSweep::kSamples);
    for (int i = 0; i < EmgSweep::kSamples; ++i) {
        const double t = EmgSweep::timeMs(i);
        const double artefact = kArtefactMicrovolts * std::exp(-t / kArtefactDecayMs) *
                                std::cos(2 * std::numbers::pi * t / 1.6);
        const double mep = t >= sweep.latencyMs ? amplitude / 2 * mepShape(t - sweep.latencyMs) : 0;
        sweep.microvolts[static_cast<std::size_t>(i)] =
            artefact + mep + kNoiseSd * noise.gaussian();
    }
    return sweep;
}

}  // namespace limenta
