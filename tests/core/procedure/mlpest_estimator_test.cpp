#include <gtest/gtest.h>

#include "core/procedure/procedure.h"

namespace limenta {
namespace {

Procedure seeded(int lower, int upper) {
    Procedure run;
    run.startBestPest(lower, upper);
    return run;
}

TEST(FinalThreshold, TakesTheMiddleOfTiedGridPoints) {
    EXPECT_EQ(seeded(20, 80).finalThreshold(7), 45.0);  // 32 to 58 tie
    EXPECT_EQ(seeded(30, 70).finalThreshold(7), 50.0);  // 49 to 51 tie
    EXPECT_EQ(seeded(20, 80).finalThreshold(0), 49.5);  // 20 to 79 explain both answers

    Procedure run = seeded(20, 80);
    run.insertstimulus(45, 1);
    EXPECT_EQ(run.finalThreshold(7), 32.5);  // 32 and 33 tie: no refinement
    EXPECT_EQ(run.relsigmafinal, 7);
}

TEST(FinalThreshold, WorkedExampleRefinesAroundASingleMinimum) {
    Procedure run = seeded(20, 80);
    EXPECT_EQ(run.finalThreshold(7), 45.0);
    run.insertstimulus(45, 0);
    EXPECT_NEAR(run.finalThreshold(7), 62.1885, 5e-5);
    run.insertstimulus(62, 1);
    EXPECT_NEAR(run.finalThreshold(7), 53.2416, 5e-5);
    run.insertstimulus(53, 0);
    EXPECT_NEAR(run.finalThreshold(7), 57.2871, 5e-5);
}

TEST(FinalThreshold, GivesTheSameValueTwiceOnTheSameRecord) {
    Procedure run = seeded(20, 80);
    run.insertstimulus(45, 0);
    const double first = run.finalThreshold(7);
    EXPECT_EQ(run.finalThreshold(7), first);  // what ends an ML-PEST run on the estimate fired
}

TEST(FinalThreshold, RefinesBetweenZeroAndTwoForAMinimumAtOne) {
    Procedure run;
    for (int i = 0; i < 5; ++i) {
        run.insertstimulus(2, 1);
    }
    const double estimate = run.finalThreshold(7);
    EXPECT_GE(estimate, 0.0);
    EXPECT_LE(estimate, 2.0);
}

TEST(Brent, ReportsTheSamePositionAsTheEstimate) {
    Procedure run = seeded(20, 80);
    run.insertstimulus(45, 0);
    const double estimate = run.finalThreshold(7);

    double position = 0;
    const double value = run.brent(61, 62, 63, 1e-7, position);
    EXPECT_EQ(position, estimate);
    EXPECT_GT(position, 61);
    EXPECT_LT(position, 63);
    EXPECT_EQ(value, run.funcfinal(position));
    EXPECT_LT(value, run.funcfinal(62));
}

TEST(Brent, OrdersItsEndsAndStopsAfterAHundredIterations) {
    Procedure run = seeded(20, 80);
    run.insertstimulus(45, 0);
    run.relsigmafinal = 7;
    double forward = 0;
    double backward = 0;
    run.brent(61, 62, 63, 1e-7, forward);
    run.brent(63, 62, 61, 1e-7, backward);
    EXPECT_EQ(forward, backward);

    // A tolerance that can never be met still returns the best point found.
    double position = 0;
    const double value = run.brent(61, 62, 63, -1.0, position);
    EXPECT_GT(position, 61);
    EXPECT_LT(position, 63);
    EXPECT_LE(value, run.funcfinal(62));
}

}  // namespace
}  // namespace limenta
