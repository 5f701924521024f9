// Virtual subjects: the models' probabilities of an MEP, what each pulse brings, and the
// operator's slips.
#include "core/subject/virtual_subjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace limenta {
namespace {

double observedRate(const Subject& subject, double output, int draws) {
    Random random(99);
    int meps = 0;
    for (int i = 0; i < draws; ++i) {
        meps += subject.answer(output, random);
    }
    return static_cast<double>(meps) / draws;
}

TEST(VirtualSubjects, PsychometricRatesAtTheThresholdAndOneSpreadAway) {
    const Subject subject(SubjectModel::Psychometric, 60, {});
    EXPECT_DOUBLE_EQ(subject.mepProbability(60), 0.5);
    EXPECT_NEAR(subject.mepProbability(60 * 1.07), 0.841345, 1e-6);
    EXPECT_NEAR(subject.mepProbability(60 * 0.93), 0.158655, 1e-6);
    EXPECT_NEAR(observedRate(subject, 60, 40000), 0.5, 0.01);
    EXPECT_NEAR(observedRate(subject, 60 * 1.07, 40000), 0.8413, 0.01);
    EXPECT_NEAR(observedRate(subject, 60 * 0.93, 40000), 0.1587, 0.01);
}

TEST(VirtualSubjects, VariableModelHasItsThresholdAtHalfButAnotherShape) {
    const Subject subject(SubjectModel::Variable, 40, {});
    EXPECT_NEAR(subject.mepProbability(40), 0.5, 1e-9);
    EXPECT_NEAR(observedRate(subject, 40, 40000), 0.5, 0.01);
    const double above = subject.mepProbability(40 * 1.07);
    const double below = subject.mepProbability(40 * 0.93);
    EXPECT_GT(above, 0.5);
    EXPECT_LT(below, 0.5);
    EXPECT_NEAR(observedRate(subject, 40 * 1.07, 40000), above, 0.01);
    // Not the psychometric model in disguise: another spread around the threshold.
    EXPECT_GT(std::fabs(above - 0.8413), 0.03);
}

TEST(VirtualSubjects, OperatorErrorsFlipTheAnswers) {
    const Subject alwaysSeen(SubjectModel::Psychometric, 60, {1.0, 0.0});
    EXPECT_EQ(observedRate(alwaysSeen, 10, 1000), 1.0);
    const Subject neverSeen(SubjectModel::Psychometric, 60, {0.0, 1.0});
    EXPECT_EQ(observedRate(neverSeen, 99, 1000), 0.0);
}

TEST(VirtualSubjects, OwnSpreadSubjectsAreTheSameForEveryMethodAndSpreadAsPublished) {
    std::vector<double> spreads;
    for (std::uint64_t i = 0; i < 2000; ++i) {
        spreads.push_back(ownSpread(1, i));
        EXPECT_GE(spreads.back(), 0.02);
        EXPECT_LE(spreads.back(), 0.15);
    }
    EXPECT_EQ(ownSpread(1, 7), spreads[7]);
    EXPECT_NE(ownSpread(2, 7), spreads[7]);
    std::sort(spreads.begin(), spreads.end());
    EXPECT_NEAR(spreads[1000], 0.052, 0.003);
    EXPECT_LT(spreads[50], 0.03);    // about 2.5 % of them below 2.1 %
    EXPECT_GT(spreads[1950], 0.11);  // about 2.5 % above 12.5 %
    // A subject of the model answers by its own spread.
    const Subject steep(SubjectModel::OwnSpread, 50, {}, 0.02);
    const Subject shallow(SubjectModel::OwnSpread, 50, {}, 0.15);
    EXPECT_NEAR(steep.mepProbability(51), phi(1.0), 1e-12);
    EXPECT_NEAR(shallow.mepProbability(51), phi(1 / 7.5), 1e-12);
}

TEST(VirtualSubjects, AVariablePulseIsAnMepWhenItsAmplitudeReachesFiftyMicrovolts) {
    const Subject subject(SubjectModel::Variable, 50, {});
    Random random(5);
    Random again(5);
    int meps = 0;
    double smallest = 1e9;
    double largest = 0;
    for (int i = 0; i < 4000; ++i) {
        const Pulse pulse = subject.pulse(50, random);
        ASSERT_TRUE(pulse.peakToPeak);
        EXPECT_EQ(pulse.mep, *pulse.peakToPeak > kMepCriterionMicrovolts - 1e-3)
            << *pulse.peakToPeak;
        meps += pulse.mep ? 1 : 0;
        smallest = std::min(smallest, *pulse.peakToPeak);
        largest = std::max(largest, *pulse.peakToPeak);
        // The operator's answer draws the same pulse, then the slip.
        EXPECT_EQ(subject.answer(50, again), pulse.mep ? 1 : 0);
        random.uniform();
    }
    EXPECT_NEAR(meps / 4000.0, 0.5, 0.03);  // at the threshold, half of them
    EXPECT_LT(smallest, 15);                // down to the noise of the recruitment floor
    EXPECT_GT(largest, 200);
    EXPECT_FALSE(Subject(SubjectModel::Psychometric, 50, {}).pulse(50, random).peakToPeak);
}

}  // namespace
}  // namespace limenta
