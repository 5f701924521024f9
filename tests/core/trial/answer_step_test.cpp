#include "core/trial/answer_step.h"

#include <gtest/gtest.h>

#include <string>

#include "core/trial/run_start.h"

namespace limenta {
namespace {

Procedure adaptiveRun(double start, double step, double diff) {
    Procedure run;
    startAdaptivePest(run, start, step, diff);
    return run;
}

Procedure mlRun(int lower, int upper, int spread, double diff) {
    Procedure run;
    run.mydiff2 = diff;
    startMlPest(run, lower, upper, spread);
    return run;
}

AnswerStep answer(Procedure& run, char c, Method method = Method::AdaptivePest) {
    return takeAnswer(run, c == 'S' ? 1 : 0, method, 0);
}

TEST(AnswerStep, AdaptiveWorkedExampleEndsOnTheSeventhAnswer) {
    Procedure run = adaptiveRun(50, 7, 0.45);
    run.starttime = 1'000'000;
    const std::string answers = "SSFFSFS";
    for (std::size_t i = 0; i + 1 < answers.size(); ++i) {
        const AnswerStep step = answer(run, answers[i]);
        ASSERT_FALSE(step.reached) << i;
        ASSERT_EQ(run.myrmt, 0);
    }
    const AnswerStep last = takeAnswer(run, 1, Method::AdaptivePest, 96'250'000);
    EXPECT_TRUE(last.reached);
    EXPECT_EQ(last.next, 41.6875);
    EXPECT_EQ(run.myrmt, 41.6875);
    EXPECT_EQ(run.lastsetting, 42.125);
    EXPECT_EQ(run.thediff, 0.4375);
    EXPECT_EQ(run.clippedThresh, 42);
    EXPECT_EQ(run.totaltime, 95.25);
}

TEST(AnswerStep, AdaptiveClampsToTheOutputRangeAndMeasuresTheMoveAfter) {
    Procedure high = adaptiveRun(97, 7, 0.45);
    EXPECT_EQ(answer(high, 'F').next, 100);  // 104 becomes 100
    EXPECT_EQ(high.thediff, 3);
    EXPECT_EQ(high.mystep, 7);  // the step keeps its full size

    Procedure low = adaptiveRun(4, 7, 0.45);
    EXPECT_EQ(answer(low, 'S').next, 1);  // -3 becomes 1
    EXPECT_EQ(low.thediff, 3);

    // At the edge a push further out moves 0, which ends the run.
    Procedure edge = adaptiveRun(100, 7, 0.45);
    const AnswerStep step = answer(edge, 'F');
    EXPECT_TRUE(step.reached);
    EXPECT_EQ(edge.myrmt, 100);
}

TEST(AnswerStep, AdaptiveStopsOnlyOnAMoveStrictlySmallerThanTheThreshold) {
    // Start step 1: moves of 1, 1, then 0.5 on the reversal at trial 3.
    Procedure equal = adaptiveRun(50, 1, 0.5);
    answer(equal, 'S');
    answer(equal, 'F');
    EXPECT_FALSE(answer(equal, 'S').reached);  // a move of exactly 0.5 goes on
    EXPECT_EQ(equal.thediff, 0.5);

    Procedure smaller = adaptiveRun(50, 1, 0.5000001);
    answer(smaller, 'S');
    answer(smaller, 'F');
    EXPECT_TRUE(answer(smaller, 'S').reached);
}

TEST(AnswerStep, AdaptiveAnswersAfterTheEndContinueTheStaircase) {
    Procedure run = adaptiveRun(50, 7, 0.45);
    for (const char c : std::string("SSFFSFS")) {
        answer(run, c);
    }
    ASSERT_EQ(run.myrmt, 41.6875);
    const AnswerStep again = answer(run, 'S');  // same direction: step kept at 0.4375
    EXPECT_TRUE(again.reached);
    EXPECT_EQ(run.myrmt, 41.25);
    EXPECT_EQ(run.stepnum, 8);
}

TEST(AnswerStep, MlWorkedExampleFollowsTheEstimates) {
    Procedure run = mlRun(20, 80, 7, 0.45);
    ASSERT_EQ(run.teststim, 45.0);
    ASSERT_EQ(run.laststim, 0.0);

    const AnswerStep first = answer(run, 'F', Method::MlPest);
    EXPECT_FALSE(first.reached);  // laststim is 0, so the first answer always goes on
    EXPECT_EQ(run.thediff, 45.0);
    EXPECT_NEAR(first.next, 62.1885, 5e-5);
    EXPECT_EQ(run.lastsetting, 45.0);
    EXPECT_EQ(run.stepnum, 1);
    EXPECT_EQ(run.clippedThresh, 62);

    EXPECT_NEAR(answer(run, 'S', Method::MlPest).next, 53.2416, 5e-5);
    EXPECT_NEAR(answer(run, 'F', Method::MlPest).next, 57.2871, 5e-5);
    EXPECT_EQ(run.nrstimulus, 5);
    EXPECT_EQ(run.staerken[4], 62.0);  // 62.1885 was fired as 62
    EXPECT_EQ(run.staerken[5], 53.0);
}

TEST(AnswerStep, MlRecordsTheWholePercentThatWasShownRoundedNotTruncated) {
    Procedure run = mlRun(20, 80, 7, 0.45);
    run.curstim = 57.7;
    answer(run, 'S', Method::MlPest);
    EXPECT_EQ(run.staerken[3], 58.0);
}

TEST(AnswerStep, MlEndsWhenTwoEstimatesAgreeWithinTheThresholdInclusive) {
    Procedure run = mlRun(20, 80, 7, 0.45);
    run.curstim = 50.45;
    run.laststim = 50.0;
    const double distance = 50.45 - 50.0;
    run.mydiff2 = distance;
    const int recorded = run.nrstimulus;
    const AnswerStep step = answer(run, 'S', Method::MlPest);
    EXPECT_TRUE(step.reached);
    EXPECT_EQ(run.nrstimulus, recorded);  // the final answer is not recorded
    EXPECT_EQ(run.myrmt, run.mysetting);
}

TEST(AnswerStep, MlAnswersAfterTheEndRepeatTheSameEstimate) {
    Procedure run = mlRun(20, 80, 7, 0.45);
    AnswerStep step;
    for (int i = 0; i < 60 && !step.reached; ++i) {
        step = answer(run, i % 2 == 0 ? 'F' : 'S', Method::MlPest);
    }
    ASSERT_TRUE(step.reached);
    const double estimate = run.myrmt;
    const int recorded = run.nrstimulus;
    const int trials = run.stepnum;
    const AnswerStep again = answer(run, 'S', Method::MlPest);
    EXPECT_TRUE(again.reached);
    EXPECT_EQ(again.next, estimate);
    EXPECT_EQ(run.nrstimulus, recorded);
    EXPECT_EQ(run.stepnum, trials + 1);
    EXPECT_EQ(run.thediff, 0.0);
}

TEST(AnswerStep, RefusesThe201stAnswerAndChangesNothing) {
    for (const Method method : {Method::AdaptivePest, Method::MlPest}) {
        Procedure run = method == Method::MlPest ? mlRun(20, 80, 7, -1) : adaptiveRun(50, 0, -1);
        for (int i = 0; i < kLastTrial; ++i) {
            ASSERT_FALSE(takeAnswer(run, i % 2, method, 0).refused) << i;
        }
        const Procedure before = run;
        const AnswerStep refused = takeAnswer(run, 1, method, 0);
        EXPECT_TRUE(refused.refused);
        EXPECT_EQ(run.stepnum, kLastTrial);
        EXPECT_EQ(run.mysetting, before.mysetting);
        EXPECT_EQ(run.thediff, before.thediff);
        EXPECT_EQ(run.nrstimulus, before.nrstimulus);
        EXPECT_EQ(run.mep, before.mep);
    }
}

TEST(AnswerStep, RefusesAStimulusTheFullRecordCannotTake) {
    // Reset clears the trials but not the ML-PEST record, so answers without a new Start
    // could otherwise fill it past its end.
    Procedure run = mlRun(20, 80, 7, -1);
    while (run.nrstimulus < kLastStimulus) {
        run.insertstimulus(50, 1);
    }
    const Procedure before = run;
    EXPECT_TRUE(answer(run, 'S', Method::MlPest).refused);
    EXPECT_EQ(run.stepnum, before.stepnum);
    EXPECT_EQ(run.curstim, before.curstim);
    EXPECT_EQ(run.thediff, before.thediff);
}

TEST(RunStart, AdaptiveTakesTheFieldsAndMakesTheStartStepWhole) {
    Procedure run = adaptiveRun(52.6, 7.5, 0.45);
    EXPECT_EQ(run.mysetting, 52.6);
    EXPECT_EQ(run.mystep, 7.5);
    EXPECT_EQ(run.startstep, 7);
    EXPECT_EQ(run.mydiff, 0.45);
}

TEST(RunStart, AdaptiveStartValuesNoRunCanUseAreRefused) {
    using enum StartValue;
    using enum StartRule;
    const auto refused = [](double start, double step, double diff) {
        const auto problem = checkAdaptiveStart(start, step, diff);
        return problem ? std::pair{problem->value, problem->rule} : std::pair{StepSize, AboveZero};
    };
    EXPECT_FALSE(checkAdaptiveStart(50, 7, 0.45));
    EXPECT_FALSE(checkAdaptiveStart(1, 1, 1e-9));  // the edges of what runs
    EXPECT_FALSE(checkAdaptiveStart(100, 1e6, 1e6));
    EXPECT_EQ(refused(0.99, 7, 0.45), std::pair(InitialOutput, OneToHundred));
    EXPECT_EQ(refused(100.01, 7, 0.45), std::pair(InitialOutput, OneToHundred));
    EXPECT_EQ(refused(50, 0.99, 0.45), std::pair(StepSize, AtLeastOne));
    EXPECT_EQ(refused(50, -7, 0.45), std::pair(StepSize, AtLeastOne));
    EXPECT_EQ(refused(50, 7, 0), std::pair(DiffThreshold, AboveZero));
    EXPECT_EQ(refused(50, 7, -1), std::pair(DiffThreshold, AboveZero));
}

TEST(RunStart, MlStartValuesNoRunCanUseAreRefused) {
    using enum StartValue;
    using enum StartRule;
    const auto refused = [](int lower, int upper, double spread, double diff) {
        const auto problem = checkMlStart(lower, upper, spread, diff);
        return problem ? std::pair{problem->value, problem->rule} : std::pair{Spread, AboveZero};
    };
    EXPECT_FALSE(checkMlStart(20, 80, 7, 0.45));
    EXPECT_FALSE(checkMlStart(1, 100, 1, 1e-9));
    EXPECT_FALSE(checkMlStart(99, 100, 1, 0.45));
    EXPECT_EQ(refused(0, 80, 7, 0.45), std::pair(LowerBound, OneToHundred));
    EXPECT_EQ(refused(20, 101, 7, 0.45), std::pair(UpperBound, OneToHundred));
    EXPECT_EQ(refused(100, 1, 7, 0.45), std::pair(LowerBound, BelowUpperBound));
    EXPECT_EQ(refused(50, 50, 7, 0.45), std::pair(LowerBound, BelowUpperBound));
    EXPECT_EQ(refused(20, 80, 0.99, 0.45), std::pair(Spread, AtLeastOne));
    EXPECT_EQ(refused(20, 80, 7, 0), std::pair(MlDiffThreshold, AboveZero));
    EXPECT_EQ(ruleText(BelowUpperBound, "--upper"), "must be below --upper");
    EXPECT_EQ(ruleText(OneToHundred, ""), "must be a number from 1 to 100");
}

TEST(RunStart, MlSeedsTheRecordWithBothBounds) {
    Procedure run;
    run.nrstimulus = 7;
    run.laststim = 33;
    EXPECT_EQ(startMlPest(run, 20, 80, 7), 45.0);
    EXPECT_EQ(run.nrstimulus, 2);
    EXPECT_EQ(run.staerken[1], 20.0);
    EXPECT_EQ(run.erfolge[1], 0.0);
    EXPECT_EQ(run.staerken[2], 80.0);
    EXPECT_EQ(run.erfolge[2], 1.0);
    EXPECT_EQ(run.curstim, 45.0);
    EXPECT_EQ(run.laststim, 0.0);
}

}  // namespace
}  // namespace limenta
