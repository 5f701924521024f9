// Whole runs driven by answer keys, as the operator gives them: what every answer shows and
// sounds, the wait after it, the keys that are and are not answers, and the trial limit.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/console/notices.h"
#include "core/trial/response_keys.h"

namespace limenta::testing {
namespace {

using Answers = ConsoleTest;

TEST_F(Answers, AdaptivePestRunFromStartToTheGreenEstimate) {
    open();
    press(Button::Start);
    EXPECT_EQ(view().big, "50");
    EXPECT_EQ(view().caption, "Next Output to Try:");
    EXPECT_EQ(view().legend, "Success = y     Failure = n");
    EXPECT_EQ(view().interval, "");  // no answer, no interval
    EXPECT_TRUE(view().plot.empty());

    const std::vector<std::pair<char, const char*>> steps{{'y', "43"}, {'y', "36"}, {'n', "40"},
                                                          {'n', "43"}, {'y', "41"}, {'n', "42"}};
    for (const auto& [key, shown] : steps) {
        type(std::string(1, key));
        EXPECT_EQ(view().big, shown);
        EXPECT_EQ(view().interval.rfind("95 % interval: ", 0), 0U) << view().interval;
        EXPECT_EQ(view().caption, "Next Output to Try :");
        EXPECT_EQ(view().bigInk, Ink::Black);
        EXPECT_EQ(view().plain[0].text, "");  // no estimate, no value
        EXPECT_FALSE(view().plot.empty());
    }
    EXPECT_EQ(plays("Click"), 6);
    EXPECT_EQ(plays("ding2"), 0);

    host.micros = 95'250'000;
    type("y");
    EXPECT_EQ(view().big, "42");
    EXPECT_EQ(view().caption, "rMT Estimate Reached :");
    EXPECT_EQ(view().bigInk, Ink::Green);
    EXPECT_EQ(run().state().myrmt, 41.6875);
    EXPECT_EQ(run().state().totaltime, 95.25);
    EXPECT_EQ(view().plain[0].text, "33");
    EXPECT_EQ(view().plain[1].text, "42");
    EXPECT_EQ(view().plain[2].text, "50");
    EXPECT_EQ(plays("ding2"), 1);
    EXPECT_EQ(volumes.back(), 100);     // the stored signal volume
    EXPECT_EQ(played.back(), "ding2");  // the click first, then the signal
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce1));
    EXPECT_EQ(run().state().clippedThresh, 42);

    // How sure: wider than a fifth of its median after seven pulses, so amber.
    EXPECT_EQ(view().interval, "95 % interval: 36 \u2013 46 (7 pulses) wide: consider more pulses");
    EXPECT_EQ(view().intervalInk, Ink::Amber);
    EXPECT_EQ(view().history,
              "07   042.13   042   1.0   00.4375\r"
              "06   041.25   041   0.0   00.8750\r"
              "05   043.00   043   1.0   01.7500\r"
              "04   039.50   040   0.0   03.5000\r"
              "03   036.00   036   0.0   03.5000\r"
              "02   043.00   043   1.0   07.0000\r"
              "01   050.00   050   1.0   07.0000\r");
    EXPECT_EQ(view().plot, plotScene(run()));
}

TEST_F(Answers, MlPestRunKeepsItsCaptionUntilTwoEstimatesAgree) {
    open(prefsWith({{kPrefsUseMlPest, "1"}}));
    ASSERT_STREQ(console->activeMethod().key, "ml");
    press(Button::Start);
    EXPECT_EQ(view().big, "45");
    EXPECT_EQ(run().state().nrstimulus, 2);

    type("n");
    EXPECT_EQ(view().big, "62");
    EXPECT_EQ(view().caption, "Next Output to Try:");  // ML-PEST leaves Start's caption alone
    EXPECT_EQ(view().history, "01   045.00   045   0.0   45.0000\r");
    type("y");
    EXPECT_EQ(view().big, "53");
    type("n");
    EXPECT_EQ(view().big, "57");

    for (int i = 0; i < 60 && run().state().myrmt == 0; ++i) {
        type(i % 2 == 0 ? "y" : "n");
    }
    ASSERT_NE(run().state().myrmt, 0);
    EXPECT_EQ(view().caption, "rMT Estimate Reached :");
    EXPECT_EQ(view().bigInk, Ink::Green);
    const int recorded = run().state().nrstimulus;
    const std::string shown = view().big;

    type("y");  // after the end: the same estimate again, green, with the signal
    EXPECT_EQ(run().state().nrstimulus, recorded);
    EXPECT_EQ(view().big, shown);
    EXPECT_EQ(plays("ding2"), 2);
}

TEST_F(Answers, KeysDuringTheAnswersWaitAreDroppedAndTheVoiceWaitsForItsEnd) {
    open(prefsWith({{kPrefsVoiceVolume, "80"}}));
    press(Button::Start);
    host.tick = 1000;
    key('x');  // no answer: no click, and no wait
    EXPECT_EQ(plays("Click"), 0);
    EXPECT_EQ(view().history, "");
    key('y');
    host.tick += 4;  // a second press 60 ms later: one pulse, one answer
    key('n');
    EXPECT_EQ(run().state().stepnum, 1);
    EXPECT_EQ(plays("Click"), 1);
    tick(ConsoleTimer::Announce1);  // the wait holds the announcement back
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce1));
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Announce2));

    host.tick = 1030;  // the wait lasts until more than 30 ticks have passed
    key('y');
    EXPECT_EQ(run().state().stepnum, 1);
    host.tick = 1031;
    tick(ConsoleTimer::Announce1);
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce2));
    key('n');
    EXPECT_EQ(run().state().stepnum, 2);
    EXPECT_EQ(run().trials().back().answer, 0);
}

// The answer keys are the preferences' (how a key is classified and named is tested with the
// keys): special keys by their codes, and an option that makes every other key an answer.
TEST_F(Answers, TheStoredKeysAnswerAndTheLegendNamesThem) {
    open(prefsWith({{kPrefsSuccessKey, "9"}, {kPrefsFailKey, "127"}}));
    press(Button::Start);
    EXPECT_EQ(view().legend, "Success = TAB     Failure = DELETE");
    for (const std::int32_t code : {keycode::kTab, keycode::kDelete, std::int32_t{'y'}}) {
        key(code);
        pastTheWait();
    }
    ASSERT_EQ(run().trials().size(), 2U);  // y is no answer key now
    EXPECT_EQ(run().trials()[0].answer, 1);
    EXPECT_EQ(run().trials()[1].answer, 0);

    open(prefsWith({{kPrefsSuccessAll, "1"}}));
    press(Button::Start);
    EXPECT_EQ(view().legend, "Success = ANY     Failure = n");
    type("q\rN");
    ASSERT_EQ(run().trials().size(), 3U);
    EXPECT_EQ(run().trials()[1].answer, 1);  // Return
    EXPECT_EQ(run().trials()[2].answer, 0);  // the failure key, in either case
}

TEST_F(Answers, AnswerKeysOutsideARunAreNotTaken) {
    open();
    const auto expectUntouched = [&] {
        EXPECT_EQ(view().big, "");
        EXPECT_EQ(view().history, "");
        EXPECT_TRUE(played.empty());
        EXPECT_FALSE(view().timerOn(ConsoleTimer::Announce1));
        EXPECT_EQ(view().notice, notice::kPressStart);
    };
    type("y");  // before the first Start
    expectUntouched();

    press(Button::Start);
    EXPECT_EQ(view().notice, "");  // a run: the reminder has done its work
    press(Button::Reset);
    type("n");  // after Reset
    expectUntouched();
    EXPECT_EQ(console->run(), nullptr);
}

TEST_F(Answers, The201stAnswerIsRefusedWithAMessageInEveryMethod) {
    for (const Method* m : Console::offeredMethods()) {
        SCOPED_TRACE(m->key);
        open();
        choose(m->key);
        press(Button::Start);
        for (int i = 0; i < kLastTrial; ++i) {
            type(i % 2 == 0 ? "y" : "n");  // runs end and go on after their end
        }
        ASSERT_EQ(run().state().stepnum, kLastTrial);
        const std::string before = view().history;
        const int clicks = plays("Click");
        type("y");
        EXPECT_EQ(view().caption, kTrialLimitMessage);
        EXPECT_EQ(run().state().stepnum, kLastTrial);
        EXPECT_EQ(view().history, before);
        EXPECT_EQ(std::count(before.begin(), before.end(), '\r'), kLastTrial);
        EXPECT_EQ(plays("Click"), clicks);
    }
}

// No MEP at any output: the Bayesian posterior piles up against 100, and the run ends above
// it, with no number that could be taken for an estimate anywhere.
TEST_F(Answers, ABayesianRunWithoutAnyMepEndsAbove100) {
    open();
    choose("bayes-robust");
    press(Button::Start);
    EXPECT_EQ(view().big, "51");
    for (int k = 0; k < 10 && !run().reached(); ++k) {
        type("n");
    }
    ASSERT_TRUE(run().aboveMaximum());
    EXPECT_EQ(view().big, "100+");
    EXPECT_EQ(view().bigInk, Ink::Red);
    EXPECT_EQ(view().caption, "rMT Estimate Reached :");
    EXPECT_EQ(plays("ding2"), 1);
    for (std::size_t j = 0; j < 3; ++j) {
        EXPECT_EQ(view().plain[j].text, "--");
        EXPECT_EQ(view().corrected[j].text, "--");
    }
    const std::string above = report();
    EXPECT_NE(above.find("\rResting Motor Threshold = above 100\r"), std::string::npos);
    EXPECT_NE(above.find("\r80% = --\r"), std::string::npos);
    EXPECT_FALSE(journal.back().run.estimate);
    EXPECT_TRUE(journal.back().run.aboveMaximum);
    EXPECT_FALSE(journal.back().run.ended.empty());
}

TEST_F(Answers, ClampedOutputsStayWithinOneToHundred) {
    open(prefsWith({{kPrefsInitialOutput, "97"}}));
    press(Button::Start);
    type("n");
    EXPECT_EQ(view().big, "100");
    type("n");  // pushed further out: a move of 0 ends the run at 100
    EXPECT_EQ(view().caption, "rMT Estimate Reached :");
    EXPECT_EQ(run().state().clippedThresh, 100);
}

}  // namespace
}  // namespace limenta::testing
