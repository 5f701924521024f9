// Practice with a virtual patient: whole runs of every method judged from the sweeps shown,
// the end against the hidden threshold, keys that come before the pulse, an answer taken
// back, and leaving practice as any run is left.
#include <gtest/gtest.h>

#include <cmath>

#include "core/console/console_fixture.h"
#include "core/console/notices.h"
#include "core/numbers/numbers.h"

namespace limenta::testing {
namespace {

using Practice = ConsoleTest;

// Each method to its end, judged as the sweeps show and with every third judgement turned
// round: the end tells the hidden threshold, the error of the estimate shown, and exactly the
// judgements the patient's muscle did not bear out.
TEST_F(Practice, EveryMethodRunsToItsEndAndTheEndTellsTheTruth) {
    open();
    for (const Method* m : Console::offeredMethods()) {
        for (const bool slips : {false, true}) {
            SCOPED_TRACE(std::string(m->key) + (slips ? ", with slips" : ", as the sweeps show"));
            choose(m->key);
            host.wall.msecsSinceEpoch += 3'600'000;  // another patient
            pages.clear();
            console->practise();
            drain();
            ASSERT_TRUE(console->practising());
            EXPECT_EQ(view().title, kPracticeTitle);
            EXPECT_TRUE(view().practiceBanner);
            EXPECT_TRUE(view().practiceWindow);
            ASSERT_FALSE(pages.empty());
            EXPECT_EQ(pages.back().page, ShowPracticePage::Page::Waiting);
            EXPECT_EQ(pages.back().number, 1U);

            int pulses = 0;
            int disagreements = 0;
            while (!run().reached()) {
                ASSERT_LT(pulses, 300) << "the run never ended";
                const std::string output = view().big;
                firePulse();
                ASSERT_TRUE(console->practicePatient()->awaitingJudgement());
                const ShowPracticePage& page = pages.back();
                ASSERT_EQ(page.page, ShowPracticePage::Page::Pulse);
                EXPECT_EQ(page.number, static_cast<std::size_t>(pulses) + 1);
                EXPECT_EQ(std::to_string(page.pulse.output), output);
                bool mep = page.pulse.sweep.peakToPeak() >= kMepCriterionMicrovolts;
                if (slips && (pulses + 1) % 3 == 0) {
                    mep = !mep;
                }
                disagreements += mep != page.pulse.pulse.mep ? 1 : 0;
                ++pulses;
                key(mep ? 'y' : 'n');
            }
            const ShowPracticePage& end = pages.back();
            ASSERT_EQ(end.page, ShowPracticePage::Page::End);
            EXPECT_FALSE(view().timerOn(ConsoleTimer::Pulse));
            const double threshold = console->practicePatient()->threshold();
            EXPECT_EQ(end.result.threshold, threshold);
            EXPECT_GE(threshold, 30);
            EXPECT_LE(threshold, 80);
            const std::optional<double> estimate = run().estimate();
            if (estimate) {
                EXPECT_EQ(end.result.estimate, roundHalfAway(*estimate));
                if (!slips) {
                    EXPECT_LT(std::fabs(*end.result.estimate - threshold), 10);
                }
            } else {
                EXPECT_TRUE(slips) << "a run judged as shown ended above 100";
                EXPECT_FALSE(end.result.estimate);
            }
            EXPECT_EQ(end.result.pulses, pulses);
            EXPECT_EQ(static_cast<int>(end.result.disagreements.size()), disagreements);
            EXPECT_EQ(end.pulses.size(), static_cast<std::size_t>(pulses));
            if (slips) {
                EXPECT_GE(disagreements, pulses / 3 - 2) << "slips the end did not tell";
            }
            // Once ended, no key answers a pulse.
            pastTheWait();
            key('y');
            EXPECT_EQ(view().notice, notice::kPracticeEnded);
            EXPECT_EQ(static_cast<int>(run().trials().size()), pulses);
        }
    }
}

// No answer key can collide with a pulse: a key before the pulse has fired is dropped with a
// reminder, the pulse waits for the output to be spoken and a second more, and only one
// judgement is taken for each pulse.
TEST_F(Practice, AKeyBeforeThePulseIsDroppedAndThePulseWaitsForTheVoice) {
    open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    console->practise();
    drain();
    EXPECT_EQ(pages.back().output, 50);
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Pulse));
    key('y');
    EXPECT_EQ(view().notice, notice::kPulseNotFired);
    EXPECT_TRUE(run().trials().empty());
    EXPECT_TRUE(console->practicePatient()->pulses().empty());

    tick(ConsoleTimer::Pulse);
    host.tick += kPulseAfterTicks - 1;
    tick(ConsoleTimer::Pulse);
    EXPECT_TRUE(console->practicePatient()->pulses().empty()) << "fired before its second";
    host.tick += 1;
    tick(ConsoleTimer::Pulse);
    ASSERT_EQ(console->practicePatient()->pulses().size(), 1U);
    EXPECT_EQ(console->practicePatient()->pulses()[0].output, 50);
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Pulse));

    key('y');
    pastTheWait();
    key('y');  // a second answer to the same pulse
    EXPECT_EQ(run().trials().size(), 1U);
    EXPECT_EQ(view().notice, notice::kPulseNotFired);

    // The next output being spoken holds the pulse back, however long it takes.
    host.sounding = true;
    host.tick += 10 * kPulseAfterTicks;
    tick(ConsoleTimer::Pulse);
    tick(ConsoleTimer::Announce1);
    tick(ConsoleTimer::Pulse);
    EXPECT_EQ(console->practicePatient()->pulses().size(), 1U) << "fired while the voice spoke";
    host.sounding = false;
    firePulse();
    ASSERT_EQ(console->practicePatient()->pulses().size(), 2U);
    EXPECT_EQ(pages.back().number, 2U);
    EXPECT_EQ(pages.back().pulse.output, console->practicePatient()->pulses()[1].output);
}

// An answer taken back, before or after the next pulse, leaves the same sweep to be judged
// again, as the run shows its output again.
TEST_F(Practice, AnAnswerTakenBackLeavesItsSweepToBeJudgedAgain) {
    open();
    console->practise();
    drain();
    firePulse();
    const EmgSweep first = pages.back().pulse.sweep;
    key('y');
    firePulse();
    ASSERT_EQ(console->practicePatient()->pulses().size(), 2U);
    undo();
    ASSERT_EQ(console->practicePatient()->pulses().size(), 1U);
    EXPECT_TRUE(console->practicePatient()->awaitingJudgement());
    EXPECT_EQ(pages.back().page, ShowPracticePage::Page::Pulse);
    EXPECT_EQ(pages.back().number, 1U);
    EXPECT_EQ(pages.back().pulse.sweep.microvolts, first.microvolts);

    pastTheWait();
    key('n');
    ASSERT_EQ(run().trials().size(), 1U);
    EXPECT_EQ(console->practicePatient()->pulses()[0].judged, 0);
    pastTheWait();
    undo();  // before the next pulse
    EXPECT_TRUE(console->practicePatient()->awaitingJudgement());
    EXPECT_EQ(pages.back().pulse.sweep.microvolts, first.microvolts);
    key('y');
    firePulse();
    EXPECT_EQ(console->practicePatient()->pulses().size(), 2U);
}

// A practice run cannot pass for a patient's: its report and its journal row say practice;
// there is no practice during a patient's run; Reset and Quit leave practice as any run.
TEST_F(Practice, ItCannotPassForAPatientsRunAndLeavesAsAnyRunDoes) {
    open();
    EXPECT_EQ(view().title, kWindow1Title);
    EXPECT_FALSE(view().practiceBanner);
    press(Button::Start);  // a patient
    EXPECT_FALSE(console->practiceAvailable());
    console->practise();
    drain();
    EXPECT_FALSE(console->practising());
    EXPECT_EQ(report().find("PRACTICE"), std::string::npos);
    EXPECT_FALSE(journal.front().run.practice);
    press(Button::Reset);
    EXPECT_TRUE(console->practiceAvailable());

    journal.clear();
    console->practise();
    drain();
    ASSERT_FALSE(journal.empty());
    EXPECT_TRUE(journal.front().run.practice);
    EXPECT_EQ(journal.front().run.trueThreshold, console->practicePatient()->threshold());
    firePulse();
    type("y");
    EXPECT_NE(report().find("\rLimenta\r" + std::string(kPracticeTitle) + "\r"), std::string::npos);
    EXPECT_TRUE(console->practiceAvailable()) << "a new virtual patient during practice";

    press(Button::Reset);
    EXPECT_FALSE(console->practising());
    EXPECT_EQ(view().title, kWindow1Title);
    EXPECT_FALSE(view().practiceBanner);
    EXPECT_FALSE(view().practiceWindow);
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Pulse));
    type("y");
    EXPECT_EQ(view().notice, notice::kPressStart);

    console->practise();
    drain();
    firePulse();
    key('n');
    EXPECT_TRUE(console->quitQuestion());
    console->quit();
    drain();
    EXPECT_FALSE(view().practiceWindow);
    EXPECT_EQ(journal.back().kind, JournalWrite::Kind::Update);
}

// Start values no run can start from start no practice either.
TEST_F(Practice, RefusedStartValuesStartNoPractice) {
    open();
    edit(Field::First, "0");
    console->practise();
    drain();
    EXPECT_FALSE(console->practising());
    EXPECT_EQ(console->run(), nullptr);
    EXPECT_EQ(messages.size(), 1U);
    EXPECT_EQ(view().title, kWindow1Title);
    EXPECT_TRUE(pages.empty());
}

}  // namespace
}  // namespace limenta::testing
