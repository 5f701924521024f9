#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/procedure/mlpest_model.h"
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

TEST(FinalThreshold, EveryRefinedEstimateIsTheLikelihoodsMinimumToTheLastDigitShown) {
    // Runs as the window takes them: each answer drawn at the estimate fired, from a
    // subject with a threshold of 35 to 75. Brent must finish its work on every one.
    std::mt19937 random(7);
    int refined = 0;
    for (int subject = 0; subject < 150; ++subject) {
        const double truth = 35 + (random() % 4000) / 100.0;
        Procedure run = seeded(20, 80);
        double estimate = run.finalThreshold(7);
        for (int answer = 0; answer < 12; ++answer) {
            const int fired = static_cast<int>(std::lround(estimate));
            const double pMep = 1 - CuGauss(truth, fired, 0.07 * truth);
            run.insertstimulus(fired, std::uniform_real_distribution<>(0, 1)(random) < pMep);
            estimate = run.finalThreshold(7);
            if (estimate != std::floor(estimate) && estimate * 2 != std::floor(estimate * 2)) {
                ++refined;
                // Within 1e-4 on either side the likelihood is no lower: a minimum, found.
                for (const double step : {1e-4, -1e-4}) {
                    EXPECT_LE(run.funcfinal(estimate), run.funcfinal(estimate + step) + 1e-12)
                        << "subject " << subject << " answer " << answer;
                }
            }
        }
    }
    EXPECT_GT(refined, 1000);
}

}  // namespace
}  // namespace limenta
