// One run of any method through its one answer step: the staircase, the ML-PEST record, the
// end, the answers a run refuses, and answers taken back.
#include "core/run/run.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/numbers/numbers.h"
#include "core/trial/run_start.h"

namespace limenta {
namespace {

const Method& method(const char* key) {
    return *findMethod(methods(), key);
}

std::string text(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

std::unique_ptr<Run> adaptiveRun(double start, double step, double diff) {
    return std::make_unique<Run>(
        method("pest"),
        RunSettings{{"start", text(start)}, {"step", text(step)}, {"diff", text(diff)}});
}

std::unique_ptr<Run> mlRun(int lower, int upper, int spread, double diff) {
    return std::make_unique<Run>(method("ml"), RunSettings{{"lower", text(lower)},
                                                           {"upper", text(upper)},
                                                           {"spread", text(spread)},
                                                           {"diff", text(diff)}});
}

AnswerStep answer(const std::unique_ptr<Run>& run, char c) {
    return run->answer(c == 'S' ? 1 : 0, 0);
}

TEST(RunAnswer, AdaptiveWorkedExampleEndsOnTheSeventhAnswer) {
    const auto run = adaptiveRun(50, 7, 0.45);
    run->state().starttime = 1'000'000;
    const std::string answers = "SSFFSFS";
    for (std::size_t i = 0; i + 1 < answers.size(); ++i) {
        const AnswerStep step = answer(run, answers[i]);
        ASSERT_FALSE(step.reached) << i;
        ASSERT_EQ(run->state().myrmt, 0);
    }
    const AnswerStep last = run->answer(1, 96'250'000);
    EXPECT_TRUE(last.reached);
    EXPECT_EQ(last.next, 41.6875);
    EXPECT_EQ(run->state().myrmt, 41.6875);
    EXPECT_EQ(run->state().lastsetting, 42.125);
    EXPECT_EQ(run->state().thediff, 0.4375);
    EXPECT_EQ(run->state().clippedThresh, 42);
    EXPECT_EQ(run->state().totaltime, 95.25);
}

TEST(RunAnswer, AdaptiveClampsToTheOutputRangeAndMeasuresTheMoveAfter) {
    const auto high = adaptiveRun(97, 7, 0.45);
    EXPECT_EQ(answer(high, 'F').next, 100);  // 104 becomes 100
    EXPECT_EQ(high->state().thediff, 3);
    EXPECT_EQ(high->state().mystep, 7);  // the step keeps its full size

    const auto low = adaptiveRun(4, 7, 0.45);
    EXPECT_EQ(answer(low, 'S').next, 1);  // -3 becomes 1
    EXPECT_EQ(low->state().thediff, 3);

    // At the edge a push further out moves 0, which ends the run.
    const auto edge = adaptiveRun(100, 7, 0.45);
    const AnswerStep step = answer(edge, 'F');
    EXPECT_TRUE(step.reached);
    EXPECT_EQ(edge->state().myrmt, 100);
}

TEST(RunAnswer, AdaptiveStopsOnlyOnAMoveStrictlySmallerThanTheThreshold) {
    // Start step 1: moves of 1, 1, then 0.5 on the reversal at trial 3.
    const auto equal = adaptiveRun(50, 1, 0.5);
    answer(equal, 'S');
    answer(equal, 'F');
    EXPECT_FALSE(answer(equal, 'S').reached);  // a move of exactly 0.5 goes on
    EXPECT_EQ(equal->state().thediff, 0.5);

    const auto smaller = adaptiveRun(50, 1, 0.5000001);
    answer(smaller, 'S');
    answer(smaller, 'F');
    EXPECT_TRUE(answer(smaller, 'S').reached);
}

TEST(RunAnswer, AdaptiveAnswersAfterTheEndContinueTheStaircase) {
    const auto run = adaptiveRun(50, 7, 0.45);
    for (const char c : std::string("SSFFSFS")) {
        answer(run, c);
    }
    ASSERT_EQ(run->state().myrmt, 41.6875);
    const AnswerStep again = answer(run, 'S');  // same direction: step kept at 0.4375
    EXPECT_TRUE(again.reached);
    EXPECT_EQ(run->state().myrmt, 41.25);
    EXPECT_EQ(run->state().stepnum, 8);
}

TEST(RunAnswer, MlWorkedExampleFollowsTheEstimates) {
    const auto run = mlRun(20, 80, 7, 0.45);
    ASSERT_EQ(run->state().teststim, 45.0);
    ASSERT_EQ(run->state().laststim, 0.0);

    const AnswerStep first = answer(run, 'F');
    EXPECT_FALSE(first.reached);  // laststim is 0, so the first answer always goes on
    EXPECT_EQ(run->state().thediff, 45.0);
    EXPECT_NEAR(first.next, 62.1885, 5e-5);
    EXPECT_EQ(run->state().lastsetting, 45.0);
    EXPECT_EQ(run->state().stepnum, 1);
    EXPECT_EQ(run->state().clippedThresh, 62);

    EXPECT_NEAR(answer(run, 'S').next, 53.2416, 5e-5);
    EXPECT_NEAR(answer(run, 'F').next, 57.2871, 5e-5);
    EXPECT_EQ(run->state().nrstimulus, 5);
    EXPECT_EQ(run->state().staerken[4], 62.0);  // 62.1885 was fired as 62
    EXPECT_EQ(run->state().staerken[5], 53.0);
}

TEST(RunAnswer, MlRecordsTheWholePercentThatWasShownRoundedNotTruncated) {
    const auto run = mlRun(20, 80, 7, 0.45);
    run->state().curstim = 57.7;
    answer(run, 'S');
    EXPECT_EQ(run->state().staerken[3], 58.0);
}

TEST(RunAnswer, MlEndsWhenTwoEstimatesAgreeWithinTheThresholdInclusive) {
    const auto run = mlRun(20, 80, 7, 0.45);
    run->state().curstim = 50.45;
    run->state().laststim = 50.0;
    const double distance = 50.45 - 50.0;
    run->state().mydiff2 = distance;
    const int recorded = run->state().nrstimulus;
    const AnswerStep step = answer(run, 'S');
    EXPECT_TRUE(step.reached);
    EXPECT_EQ(run->state().nrstimulus, recorded);  // the final answer is not recorded
    EXPECT_EQ(run->state().myrmt, run->state().mysetting);
}

TEST(RunAnswer, MlAnswersAfterTheEndRepeatTheSameEstimate) {
    const auto run = mlRun(20, 80, 7, 0.45);
    AnswerStep step;
    for (int i = 0; i < 60 && !step.reached; ++i) {
        step = answer(run, i % 2 == 0 ? 'F' : 'S');
    }
    ASSERT_TRUE(step.reached);
    const double estimate = run->state().myrmt;
    const int recorded = run->state().nrstimulus;
    const int trials = run->state().stepnum;
    const AnswerStep again = answer(run, 'S');
    EXPECT_TRUE(again.reached);
    EXPECT_EQ(again.next, estimate);
    EXPECT_EQ(run->state().nrstimulus, recorded);
    EXPECT_EQ(run->state().stepnum, trials + 1);
    EXPECT_EQ(run->state().thediff, 0.0);
}

TEST(RunAnswer, RefusesThe201stAnswerAndChangesNothing) {
    for (const Method& m : methods()) {
        SCOPED_TRACE(m.key);
        // Settings that never end a run on their own.
        RunSettings never;
        for (const Parameter& p : m.parameters) {
            never.set(p.key, p.defaultText);
        }
        never.set("diff", "-1");
        never.set("step", "0");
        never.set("width", "0");
        limenta::Run run(m, never);
        for (int i = 0; i < kLastTrial; ++i) {
            ASSERT_FALSE(run.answer(i % 2, 0).refused) << i;
        }
        const Procedure before = run.state();
        const std::size_t trials = run.trials().size();
        const AnswerStep refused = run.answer(1, 0);
        EXPECT_TRUE(refused.refused);
        EXPECT_EQ(run.state().stepnum, kLastTrial);
        EXPECT_EQ(run.state().mysetting, before.mysetting);
        EXPECT_EQ(run.state().thediff, before.thediff);
        EXPECT_EQ(run.state().nrstimulus, before.nrstimulus);
        EXPECT_EQ(run.state().mep, before.mep);
        EXPECT_EQ(run.trials().size(), trials);
    }
}

TEST(RunAnswer, RefusesAStimulusTheFullRecordCannotTake) {
    // Reset clears the trials but not the ML-PEST record, so answers without a new Start
    // could otherwise fill it past its end.
    const auto run = mlRun(20, 80, 7, -1);
    while (run->state().nrstimulus < kLastStimulus) {
        run->state().insertstimulus(50, 1);
    }
    const Procedure before = run->state();
    EXPECT_TRUE(answer(run, 'S').refused);
    EXPECT_EQ(run->state().stepnum, before.stepnum);
    EXPECT_EQ(run->state().curstim, before.curstim);
    EXPECT_EQ(run->state().thediff, before.thediff);
}

// Answers and take-backs at random, from subjects within and beyond the stimulator's reach
// who now and then answer the wrong way: after each, the run is exactly the run that was
// given only the answers it keeps, at the times they were given.
TEST(RunWithdraw, EveryMethodReturnsExactlyToTheRunWithoutTheAnswer) {
    struct Given {
        std::int32_t answer;
        double at;
    };
    SharedModels shared;
    std::mt19937 random(27);
    for (const Method& m : methods()) {
        int endsTakenBack = 0;
        for (const int threshold : {45, 45, 45, 130}) {
            SCOPED_TRACE(std::string(m.key) + " threshold " + std::to_string(threshold));
            const RunSettings settings;
            limenta::Run run(m, settings, shared.of(m, settings));
            run.state().starttime = 5e6;
            std::vector<Given> kept;
            std::vector<TrialRecord> takenBack;
            for (int event = 1; event <= 90; ++event) {
                if (!kept.empty() && random() % 3 == 0) {
                    takenBack.push_back(run.trials().back());
                    endsTakenBack +=
                        run.reached() && kept.size() > 1 && !run.trials()[kept.size() - 2].reached;
                    ASSERT_TRUE(run.withdraw());
                    kept.pop_back();
                } else {
                    const bool mep = nearestWhole(run.output()) >= threshold;
                    const Given given{(mep != (random() % 8 == 0)) ? 1 : 0, event * 1e6};
                    ASSERT_FALSE(run.answer(given.answer, given.at).refused);
                    kept.push_back(given);
                }
                limenta::Run fresh(m, settings, shared.of(m, settings));
                fresh.state().starttime = 5e6;
                for (const Given& given : kept) {
                    fresh.answer(given.answer, given.at);
                }
                ASSERT_EQ(run.trials(), fresh.trials()) << event;
                ASSERT_TRUE(static_cast<const ProcedureState&>(run.state()) ==
                            static_cast<const ProcedureState&>(fresh.state()))
                    << event;
                ASSERT_EQ(run.output(), fresh.output()) << event;
                ASSERT_EQ(run.interval(), fresh.interval()) << event;
                ASSERT_EQ(run.estimate(), fresh.estimate()) << event;
                ASSERT_EQ(run.reached(), fresh.reached()) << event;
                ASSERT_EQ(run.aboveMaximum(), fresh.aboveMaximum()) << event;
            }
            EXPECT_EQ(run.withdrawn(), takenBack);
            // Back to the first answer: the run as Start left it, and nothing more to take.
            while (run.withdraw()) {
            }
            EXPECT_TRUE(run.trials().empty());
            EXPECT_EQ(run.output(), run.firstOutput());
            EXPECT_EQ(run.state().clippedThresh, nearestWhole(run.firstOutput()));
            EXPECT_EQ(run.state().stepnum, 0);
            EXPECT_FALSE(run.estimate());
            EXPECT_FALSE(run.interval());
        }
        EXPECT_GT(endsTakenBack, 0) << m.key << ": no end was ever taken back";
    }
}

TEST(RunStart, AdaptiveTakesTheFieldsAndMakesTheStartStepWhole) {
    const auto run = adaptiveRun(52.6, 7.5, 0.45);
    EXPECT_EQ(run->state().mysetting, 52.6);
    EXPECT_EQ(run->state().mystep, 7.5);
    EXPECT_EQ(run->state().startstep, 7);
    EXPECT_EQ(run->state().mydiff, 0.45);
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
    EXPECT_EQ(run.startMlPest(20, 80, 7), 45.0);
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
