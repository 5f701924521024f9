// The EMG sweep of a virtual pulse: its artefact, noise, latency and amplitude, and the
// window it is measured in.
#include "core/subject/emg_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace limenta {
namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(EmgSweep, NoResponseIsTheArtefactThenNoiseOfTenToTwentyMicrovolts) {
    Random noise(3);
    std::vector<double> wholeSweep;
    std::vector<double> measured;
    for (int i = 0; i < 200; ++i) {
        const EmgSweep sweep = emgSweep({false, std::nullopt}, noise);
        ASSERT_EQ(sweep.microvolts.size(), static_cast<std::size_t>(EmgSweep::kSamples));
        EXPECT_GT(sweep.peakToPeak(0, 2), 300);  // the stimulus artefact
        wholeSweep.push_back(sweep.peakToPeak(10, 100));
        measured.push_back(sweep.peakToPeak());
    }
    EXPECT_GE(median(wholeSweep), 10);
    EXPECT_LE(median(wholeSweep), 20);
    // The measurement leaves the artefact out: what remains is the noise alone.
    EXPECT_LT(*std::max_element(measured.begin(), measured.end()), 25);
}

TEST(EmgSweep, AnMepBeginsAtAboutTwentyMillisecondsAndMeasuresItsAmplitude) {
    Random noise(4);
    for (const double amplitude : {30.0, 50.0, 300.0, 2000.0}) {
        for (int i = 0; i < 50; ++i) {
            const EmgSweep sweep = emgSweep({amplitude >= 50, amplitude}, noise);
            EXPECT_GT(sweep.latencyMs, 17);
            EXPECT_LT(sweep.latencyMs, 23);
            // Measured: the amplitude give or take the noise.
            EXPECT_NEAR(sweep.peakToPeak(), amplitude, 15) << amplitude;
            // Nothing of it before its latency, or after the measurement window.
            EXPECT_LT(sweep.peakToPeak(5, sweep.latencyMs), 25) << amplitude;
            EXPECT_LT(sweep.peakToPeak(EmgSweep::kMeasureToMs, 100), 25) << amplitude;
            if (amplitude >= 2000) {
                // Its first swing is up, then down: its peak 7.5 ms after it begins, its
                // trough 5 ms later, the noise far too small to move either.
                const auto sample = [&](auto extreme) {
                    const auto first = sweep.microvolts.begin() + 75;  // 15 ms
                    return EmgSweep::timeMs(
                               static_cast<int>(extreme(first, sweep.microvolts.begin() + 250) -
                                                sweep.microvolts.begin())) -
                           sweep.latencyMs;
                };
                EXPECT_NEAR(sample([](auto a, auto b) { return std::max_element(a, b); }), 7.5,
                            0.3);
                EXPECT_NEAR(sample([](auto a, auto b) { return std::min_element(a, b); }), 12.5,
                            0.3);
            }
        }
    }
}

TEST(EmgSweep, TheSameNoiseStreamDrawsTheSameSweep) {
    Random one(9);
    Random two(9);
    Random other(10);
    const Pulse pulse{true, 120.0};
    const EmgSweep first = emgSweep(pulse, one);
    EXPECT_EQ(first.microvolts, emgSweep(pulse, two).microvolts);
    EXPECT_NE(first.microvolts, emgSweep(pulse, other).microvolts);
}

}  // namespace
}  // namespace limenta
