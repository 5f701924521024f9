#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/procedure/procedure.h"

namespace limenta {
namespace {

// Feeds answers the way the key handler does (without the clamp, which these runs never
// need) and returns the output after each answer.
std::vector<double> staircase(Procedure& run, double start, int startstep,
                              const std::string& answers) {
    run.mysetting = start;
    run.mystep = startstep;
    run.startstep = startstep;
    std::vector<double> outputs;
    for (const char c : answers) {
        run.mysetting = run.runpest(c == 'S' ? 1 : 0);
        outputs.push_back(run.mysetting);
    }
    return outputs;
}

TEST(AdaptivePest, WorkedExampleHalvesOnEveryReversal) {
    Procedure run;
    const auto outputs = staircase(run, 50, 7, "SSFFSFS");
    EXPECT_EQ(outputs, (std::vector<double>{43, 36, 39.5, 43, 41.25, 42.125, 41.6875}));
    EXPECT_EQ(run.mystep, 0.4375);
    EXPECT_EQ(run.stepnum, 7);
}

TEST(AdaptivePest, FirstTwoTrialsMoveByTheStartStepEvenOnAReversal) {
    Procedure run;
    EXPECT_EQ(staircase(run, 50, 7, "S"), std::vector<double>{43});
    EXPECT_EQ(run.stepnum, 1);
    EXPECT_EQ(run.mystep, 7);

    Procedure second;
    EXPECT_EQ(staircase(second, 50, 7, "SF"), (std::vector<double>{43, 50}));
    EXPECT_EQ(second.mystep, 7);
    EXPECT_EQ(second.reversal[2], 1);
    EXPECT_EQ(second.reversal[1], 0);  // the first answer reverses nothing

    // The reversal at trial 2 counts for the steps after it: the second step in the new
    // direction keeps 7, the third doubles.
    Procedure third;
    EXPECT_EQ(staircase(third, 50, 7, "SFFF"), (std::vector<double>{43, 50, 57, 71}));
    EXPECT_EQ(third.doubled[3], 0);
    EXPECT_EQ(third.doubled[4], 1);
}

TEST(AdaptivePest, DoublesWhileTheOutputKeepsOneDirection) {
    Procedure run;
    EXPECT_EQ(staircase(run, 50, 7, "FFFF"), (std::vector<double>{57, 64, 78, 106}));
    EXPECT_EQ(run.doubled[3], 1);
    EXPECT_EQ(run.doubled[4], 1);
    EXPECT_EQ(run.doubled[2], 0);
}

TEST(AdaptivePest, KeepsTheThirdStepWhenADoublingLedIntoTheReversal) {
    Procedure run;
    EXPECT_EQ(staircase(run, 50, 4, "FFFSSSS"), (std::vector<double>{54, 58, 66, 62, 58, 54, 46}));
    EXPECT_EQ(run.mystep, 8);
    EXPECT_EQ(run.doubled[6], 0);
    EXPECT_EQ(run.doubled[7], 1);
}

TEST(AdaptivePest, DoublesTheThirdStepWhenNoDoublingLedIntoTheReversal) {
    Procedure run;
    EXPECT_EQ(staircase(run, 50, 4, "FFSSS"), (std::vector<double>{54, 58, 56, 54, 50}));
    EXPECT_EQ(run.doubled[5], 1);
}

TEST(AdaptivePest, AnyNonZeroAnswerIsASuccessAndAZeroStepNeverMoves) {
    Procedure run;
    run.mysetting = 50;
    run.startstep = 7;
    EXPECT_EQ(run.runpest(5), 43);

    Procedure still;
    EXPECT_EQ(staircase(still, 50, 0, "SFSFF"), (std::vector<double>{50, 50, 50, 50, 50}));
}

TEST(AdaptivePest, NeverWritesPastTheLastTrial) {
    Procedure run;
    staircase(run, 50, 0, std::string(kLastTrial, 'S'));
    ASSERT_EQ(run.stepnum, kLastTrial);
    const Procedure before = run;
    EXPECT_EQ(run.runpest(0), run.mysetting);
    EXPECT_EQ(run.stepnum, kLastTrial);
    EXPECT_EQ(run.mep, before.mep);
}

}  // namespace
}  // namespace limenta
