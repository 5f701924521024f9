// The practice window's sweep in pixels: its scale, the criterion lines, the measurement
// window and the trace, the artefact kept within the plot.
#include "core/display/sweep_scene.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace limenta {
namespace {

TEST(SweepScene, TheTraceTheCriterionAndTheWindowAtTheSweepsOwnScale) {
    constexpr double kWidth = 400;
    constexpr double kHeight = 300;
    Random noise(5);
    for (const double amplitude : {0.0, 40.0, 180.0, 2600.0}) {
        SCOPED_TRACE(amplitude);
        const EmgSweep sweep = emgSweep({amplitude >= 50, amplitude}, noise);
        const SweepScene scene = sweepScene(sweep, kWidth, kHeight);
        // Quiet sweeps at 100 microvolts either way; an MEP of 2600 whole, on a 1-2-5 scale.
        EXPECT_EQ(scene.halfRange, amplitude < 100 ? 100 : amplitude < 300 ? 200 : 2000);
        const double perMicrovolt = kHeight / 2 / scene.halfRange;
        EXPECT_EQ(scene.baseline, kHeight / 2);
        EXPECT_DOUBLE_EQ(scene.criterionBottom - scene.criterionTop, 50 * perMicrovolt);
        EXPECT_DOUBLE_EQ(scene.criterionTop, kHeight / 2 - 25 * perMicrovolt);
        EXPECT_DOUBLE_EQ(scene.measureLeft, 60);
        EXPECT_DOUBLE_EQ(scene.measureRight, 200);

        ASSERT_EQ(scene.trace.size(), sweep.microvolts.size());
        EXPECT_EQ(scene.trace.front().x, 0);
        EXPECT_DOUBLE_EQ(scene.trace.back().x, 99.8 * kWidth / 100);
        int clipped = 0;
        for (std::size_t i = 0; i < scene.trace.size(); ++i) {
            const double y = scene.trace[i].y;
            ASSERT_GE(y, 0);
            ASSERT_LE(y, kHeight);
            const double unclipped = kHeight / 2 - sweep.microvolts[i] * perMicrovolt;
            if (y != unclipped) {
                ++clipped;
                EXPECT_LT(EmgSweep::timeMs(static_cast<int>(i)), 5) << i;  // the artefact only
            }
        }
        if (scene.halfRange < 600) {
            EXPECT_GT(clipped, 0);  // the artefact runs off the plot
        }
    }
    const SweepScene scene = sweepScene(emgSweep({false, 10.0}, noise), kWidth, kHeight);
    ASSERT_EQ(scene.ticks.size(), 6U);
    EXPECT_EQ(scene.ticks[1].label, "20");
    EXPECT_DOUBLE_EQ(scene.ticks[1].x, 80);
    EXPECT_EQ(scene.ticks.back().label, "100");
    EXPECT_EQ(microvoltsText(123.5), "124 \u00b5V");
    EXPECT_EQ(microvoltsText(7), "7 \u00b5V");
}

}  // namespace
}  // namespace limenta
