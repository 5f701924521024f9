#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

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

// Runs as the window takes them: each answer drawn at the whole percent fired, from a
// subject with a threshold of 35 to 75 and the model's spread; calls `each` with the run
// after every estimate.
template <typename Each>
void simulatedRuns(int subjects, int answers, Each each) {
    std::mt19937 random(7);
    for (int subject = 0; subject < subjects; ++subject) {
        const double truth = 35 + (random() % 4000) / 100.0;
        Procedure run = seeded(20, 80);
        double estimate = run.finalThreshold(7);
        for (int answer = 0; answer < answers; ++answer) {
            const int fired = static_cast<int>(std::lround(estimate));
            const double pMep = 1 - CuGauss(truth, fired, 0.07 * truth);
            run.insertstimulus(fired, random() / 4294967296.0 < pMep ? 1 : 0);
            estimate = run.finalThreshold(7);
            each(subject, run, estimate);
        }
    }
}

TEST(FinalThreshold, EveryRefinedEstimateIsAMinimumOfTheLikelihood) {
    int refined = 0;
    simulatedRuns(150, 12, [&](int subject, const Procedure& run, double estimate) {
        if (estimate * 2 == std::floor(estimate * 2)) {
            return;  // the middle of tied grid points
        }
        ++refined;
        for (const double step : {1e-4, -1e-4}) {
            EXPECT_LE(run.funcfinal(estimate), run.funcfinal(estimate + step) + 1e-12)
                << "subject " << subject << " at " << run.nrstimulus << " stimuli";
        }
    });
    EXPECT_GT(refined, 1000);
}

TEST(FinalThreshold, RefinedEstimatesAreBrentsToTheLastBit) {
    // Every step of the minimiser, its tolerances and its bookkeeping shape these digits;
    // they were checked against the worked example and the grid's own search.
    const std::vector<std::vector<double>> expected{
        {62.188486709462715, 53.241562690674684, 48.798796738121524, 51.1496032368606,
         52.811895157385919, 54.299959181124272, 53.098298959971565, 53.981055087891235},
        {32.5, 38.812232201158842, 41.852335267439209, 40.14433732205368, 38.876172858037314,
         39.811782089788245, 40.589538780316822, 40.027477404871561},
        {62.188486709462715, 70.667928408679728, 66.217142275201013, 68.849159876996609,
         66.906049285973054, 65.458466775663538, 64.196817080762457, 63.17632489926249},
        {62.188486709462715, 70.667928408679728, 75.32390468230993, 72.354631507012641,
         70.277131274701844, 68.68704283284039, 67.492364210144487, 68.44203323080751},
        {62.188486709462715, 53.241562690674684, 57.287148143336793, 59.771203929372398,
         61.914608863611477, 63.714373845273258, 65.395396245464696, 66.770718994335425},
    };
    std::vector<std::vector<double>> estimates(expected.size());
    simulatedRuns(5, 8, [&](int subject, const Procedure& /*run*/, double estimate) {
        estimates[static_cast<std::size_t>(subject)].push_back(estimate);
    });
    EXPECT_EQ(estimates, expected);
}

TEST(FinalThreshold, LongRunsAreBrentsToTheLastBitWhereItsTestsDecideTheSteps) {
    // Runs in which the minimiser's stop test and its parabola checks change the last
    // digits: the record after the bounds 20 and 80, then the estimate.
    struct Run {
        std::vector<std::pair<int, int>> stimuli;
        double estimate;
    };
    const std::vector<Run> runs{
        {{{45, 1}, {33, 0}, {39, 1}, {36, 1}, {34, 1}, {33, 0}, {34, 1}, {33, 0},
          {34, 1}, {33, 1}, {33, 0}, {33, 1}, {33, 0}, {33, 0}, {33, 1}, {33, 1},
          {33, 0}, {33, 0}, {33, 1}, {33, 0}, {33, 0}, {33, 1}, {33, 1}, {33, 0}},
         33.220484663502738},
        {{{45, 0}, {62, 0}, {71, 1}, {66, 1}, {63, 0}, {65, 0}, {67, 1}, {65, 1},
          {64, 0}, {65, 1}, {64, 0}, {65, 1}, {64, 0}, {65, 0}, {65, 0}, {66, 0},
          {66, 0}, {67, 1}, {66, 1}, {66, 1}, {66, 1}, {65, 1}},
         64.999479904458525},
        {{{45, 0}, {62, 0}, {71, 0}, {75, 0}, {78, 1}, {76, 1}, {74, 1}, {73, 0},
          {74, 1}, {73, 1}, {72, 0}, {73, 1}, {72, 1}, {72, 1}, {71, 0}, {72, 1},
          {71, 0}, {72, 1}, {71, 0}, {72, 1}, {71, 0}, {72, 1}, {71, 1}},
         70.98938832264993},
    };
    for (const Run& r : runs) {
        Procedure run = seeded(20, 80);
        for (const auto& [stimulus, success] : r.stimuli) {
            run.insertstimulus(stimulus, success);
        }
        EXPECT_EQ(run.finalThreshold(7), r.estimate);
    }
    // A record where the order of Brent's bookkeeping on equal values shows.
    Procedure scattered;
    for (const auto& [stimulus, success] :
         std::vector<std::pair<int, int>>{{96, 1}, {88, 0}, {16, 0}, {5, 0}, {26, 1}}) {
        scattered.insertstimulus(stimulus, success);
    }
    EXPECT_EQ(scattered.finalThreshold(4), 20.965486071784355);
    // Tied grid points from the first one on: the search starts at 1, not 2.
    Procedure low;
    low.insertstimulus(40, 0);
    low.insertstimulus(69, 1);
    low.insertstimulus(14, 1);
    EXPECT_EQ(low.finalThreshold(2), 31.5);
}

}  // namespace
}  // namespace limenta
