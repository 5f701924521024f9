// The simulator: its runs and its statistics.
#include "cli/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace limenta::cli {
namespace {

const Method& pest() {
    return *findMethod(methods(), "pest");
}

TEST(Simulation, RunsKnownByHandThroughTheWindowsSteps) {
    Random random(1);
    // Every pulse an MEP: 50, 43, 36, 22, then -6 is clamped to 1, and a push below 1
    // moves 0 and ends the run at 1.
    const SubjectOutcome down =
        runSubject(Subject(SubjectModel::Psychometric, 60, {1.0, 0.0}), pest(), {}, random);
    EXPECT_EQ(down.pulses, 5);
    EXPECT_EQ(down.estimate, 1);
    EXPECT_FALSE(down.limit);
    // No MEP ever: 57, 64, 78, 100 and the end at 100.
    const SubjectOutcome up =
        runSubject(Subject(SubjectModel::Psychometric, 60, {0.0, 1.0}), pest(), {}, random);
    EXPECT_EQ(up.pulses, 5);
    EXPECT_EQ(up.estimate, 100);
    // A difference threshold no move can undercut: the run meets the trial limit.
    const SubjectOutcome endless =
        runSubject(Subject(SubjectModel::Psychometric, 60, {}), pest(), {{"diff", "-1"}}, random);
    EXPECT_TRUE(endless.limit);
    EXPECT_EQ(endless.pulses, 200);
}

TEST(Simulation, StatisticsOfAPopulationKnownByHand) {
    std::vector<SubjectOutcome> outcomes{
        {50, 52, 10, false}, {50, 47, 20, false}, {40, 40, 30, false}, {40, 30, 200, true}};
    const Summary s = summarise(outcomes);
    EXPECT_DOUBLE_EQ(s.pulsesMean, 65);
    EXPECT_EQ(s.pulsesMedian, 20);  // nearest rank
    EXPECT_EQ(s.pulsesP90, 200);
    EXPECT_EQ(s.pulsesMax, 200);
    EXPECT_DOUBLE_EQ(s.errorPct.mean, (4 - 6 + 0 - 25) / 4.0);
    EXPECT_DOUBLE_EQ(s.errorPct.meanAbs, (4 + 6 + 0 + 25) / 4.0);
    EXPECT_DOUBLE_EQ(s.errorPct.p95Abs, 25);
    EXPECT_DOUBLE_EQ(s.errorMso.mean, (2 - 3 + 0 - 10) / 4.0);
    EXPECT_DOUBLE_EQ(s.within5, 0.5);
    EXPECT_DOUBLE_EQ(s.within10, 0.75);
    EXPECT_DOUBLE_EQ(s.limit, 0.25);
}

TEST(Simulation, TheSameSeedGivesTheSameSubjectsOnAnyNumberOfThreads) {
    Population population;
    population.subjects = 300;
    population.seed = 42;
    for (const Method& method : methods()) {
        const auto one = runPopulation(population, method, {}, 1, 1);
        const auto three = runPopulation(population, method, {}, 1, 3);
        ASSERT_EQ(one.size(), three.size());
        for (std::size_t i = 0; i < one.size(); ++i) {
            ASSERT_EQ(one[i].estimate, three[i].estimate) << i;
            ASSERT_EQ(one[i].pulses, three[i].pulses) << i;
        }
    }
    population.seed = 43;
    const auto other = runPopulation(population, pest(), {}, 1, 2);
    population.seed = 42;
    const auto again = runPopulation(population, pest(), {}, 1, 2);
    int differing = 0;
    for (std::size_t i = 0; i < other.size(); ++i) {
        differing += other[i].pulses != again[i].pulses ? 1 : 0;
    }
    EXPECT_GT(differing, 50);
}

TEST(Simulation, TheIntervalHoldsTheTrueThresholdNineteenTimesInTwenty) {
    // Subjects who answer by one curve with no slip: the interval, allowing for slips it
    // does not meet here, is a little wider than it needs to be, never too sure.
    Population population;
    population.subjects = 600;
    for (const Method& method : methods()) {
        const Summary s = summarise(runPopulation(population, method, {}, 1, 2));
        EXPECT_GT(s.intervalCoverage, 0.91) << method.key;
        EXPECT_LT(s.intervalCoverage, 0.99) << method.key;
        EXPECT_GT(s.intervalWidth, 0.05);
        EXPECT_LT(s.intervalWidth, 0.2);
    }
}

TEST(Simulation, TheBayesianRunStopsWhenItsIntervalIsNarrowAndANarrowerOneCostsPulses) {
    Population population;
    population.subjects = 400;
    const Method& bayes = *findMethod(methods(), "bayes");
    const Summary usual = summarise(runPopulation(population, bayes, {}, 3, 2));
    const Summary tight = summarise(runPopulation(population, bayes, {{"width", ".08"}}, 3, 2));
    EXPECT_GT(tight.pulsesMean, usual.pulsesMean + 3);
    EXPECT_GE(tight.within5, usual.within5);
    // A robust run ends once its own interval, which is the one shown, is at most .153 of its
    // median: never flagged wide.
    const Summary robust =
        summarise(runPopulation(population, *findMethod(methods(), "bayes-robust"), {}, 3, 2));
    EXPECT_EQ(robust.wideShare, 0);
    EXPECT_LT(robust.intervalWidth, 0.154);
    EXPECT_GT(usual.within5, 0.88);
    EXPECT_EQ(usual.limit, 0);
    // An operator who misses every MEP drives the run to the top, where it still ends: the
    // posterior piles up under 100, its median a little below.
    Random random = subjectRandom(1, 0, 3);
    const SubjectOutcome blind =
        runSubject(Subject(SubjectModel::Psychometric, 60, {0.0, 1.0}), bayes, {}, random);
    EXPECT_FALSE(blind.limit);
    EXPECT_GE(blind.estimate, 95);
    EXPECT_GT(blind.intervalHigh, 99.5);
}

TEST(Simulation, EveryMethodsIntervalStaysHonestWithSlipsAndVariableSubjects) {
    // Patients off the model and an operator who slips: the interval, learning the spread
    // and allowing for slips, still holds the threshold about 93 % of the time, whichever
    // method chose the outputs.
    Population population;
    population.subjects = 600;
    population.model = SubjectModel::Variable;
    population.errors = {0.03, 0.03};
    Summary robust;
    for (const Method& method : methods()) {
        const Summary s = summarise(runPopulation(population, method, {}, 4, 2));
        EXPECT_GT(s.intervalCoverage, 0.9) << method.key;
        EXPECT_LT(s.intervalCoverage, 0.97) << method.key;
        if (std::string_view(method.key) == "bayes-robust") {
            robust = s;
        }
    }
    EXPECT_EQ(robust.limit, 0);
    // An operator who misses every MEP drives it to the top too, where it ends.
    Random random = subjectRandom(1, 0, 4);
    const SubjectOutcome blind = runSubject(Subject(SubjectModel::Psychometric, 60, {0.0, 1.0}),
                                            *findMethod(methods(), "bayes-robust"), {}, random);
    EXPECT_FALSE(blind.limit);
    EXPECT_GE(blind.estimate, 95);
}

TEST(Simulation, ThresholdsSpanTheReferencePopulation) {
    EXPECT_EQ(subjectThreshold(0, 7501), 25.0);
    EXPECT_DOUBLE_EQ(subjectThreshold(1, 7501), 25.01);
    EXPECT_EQ(subjectThreshold(7500, 7501), 100.0);
}

}  // namespace
}  // namespace limenta::cli
