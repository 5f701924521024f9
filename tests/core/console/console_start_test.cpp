// Start, Reset and the choice of method: the fields Start reads and refuses, what a run
// locks, what Reset clears, and the preferences applied again.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "core/procedure/robust_bayes.h"

namespace limenta::testing {
namespace {

using StartReset = ConsoleTest;

void expectLocked(const ConsoleView& view, bool locked) {
    EXPECT_EQ(view.startEnabled, !locked);
    EXPECT_EQ(view.startValuesLocked, locked);
    EXPECT_EQ(view.distancesReadOnly, locked);
}

TEST_F(StartReset, StartReadsTheFieldsLocksTheInputsAndGivesTheCanvasTheKeys) {
    open();
    edit(Field::First, "52.6");
    edit(Field::Second, "7.5");
    expectLocked(view(), false);
    host.micros = 1234;
    press(Button::Start);
    expectLocked(view(), true);
    EXPECT_EQ(run().state().mysetting, 52.6);
    EXPECT_EQ(run().state().mystep, 7.5);
    EXPECT_EQ(run().state().startstep, 7);
    EXPECT_EQ(run().state().mydiff, 0.45);
    EXPECT_EQ(run().state().starttime, 1234);
    EXPECT_EQ(view().big, "53");
    EXPECT_EQ(view().caption, "Next Output to Try:");
    EXPECT_EQ(view().adjustCaption, "Adjust");
    EXPECT_EQ(focus, std::vector<FocusTarget>{FocusTarget::Canvas});
    EXPECT_TRUE(played.empty());  // Start announces nothing
    EXPECT_EQ(run().state().mydate, host.wall.longDate);
    EXPECT_EQ(run().state().mytime, host.wall.longTime);
    // Decimal commas read as points.
    press(Button::Reset);
    edit(Field::First, "52,5");
    edit(Field::Second, "7,5");
    edit(Field::Third, "0,45");
    press(Button::Start);
    EXPECT_EQ(run().state().mysetting, 52.5);
    EXPECT_EQ(view().big, "53");
    EXPECT_EQ(run().state().mystep, 7.5);
    EXPECT_EQ(run().state().mydiff, 0.45);
}

// Every method the window offers: its captions, Start from its fields, and a whole run
// through the same answer step as any run of the core, on screen as the core has it.
TEST_F(StartReset, EveryWindowMethodStartsFromItsFieldsAndRunsToItsEnd) {
    for (const Method* m : Console::offeredMethods()) {
        SCOPED_TRACE(m->key);
        open();
        choose(m->key);
        ASSERT_EQ(&console->activeMethod(), m);
        const std::vector<const Parameter*> fields = m->fields();
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(view().parameters[i].shown, i < fields.size());
            EXPECT_EQ(view().parameters[i].caption, i < fields.size() ? fields[i]->caption : "");
        }
        press(Button::Start);
        ASSERT_NE(console->run(), nullptr);
        EXPECT_EQ(&run().method(), m);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(run().settings().typed(*fields[i]), view().parameters[i].text);
        }
        limenta::Run expected(*m, run().settings());
        EXPECT_EQ(view().big, shownOutput(expected));
        while (!expected.reached()) {
            const bool mep = nearestWhole(expected.output()) >= 45;
            type(mep ? "y" : "n");
            expected.answer(mep ? 1 : 0, 0);
            ASSERT_EQ(view().big, shownOutput(expected));
            ASSERT_EQ(run().state().stepnum, expected.state().stepnum);
        }
        EXPECT_EQ(view().caption, "rMT Estimate Reached :");
        EXPECT_EQ(view().bigInk, Ink::Green);
        EXPECT_EQ(view().history, historyText(expected.trials()));
        EXPECT_EQ(run().estimate(), expected.estimate());
    }
}

TEST_F(StartReset, StartUnderMlPestSeedsTheBoundsAndShowsTheFirstEstimate) {
    open(prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsLowerBound, "30"}, {kPrefsUpperBound, "70"}}));
    EXPECT_EQ(view().parameters[0].text, "30");
    edit(Field::First, "20");
    edit(Field::Second, "80");
    edit(Field::Third, "2");
    press(Button::Start);
    EXPECT_EQ(run().state().staerken[1], 20);
    EXPECT_EQ(run().state().erfolge[1], 0);
    EXPECT_EQ(run().state().staerken[2], 80);
    EXPECT_EQ(run().state().erfolge[2], 1);
    EXPECT_EQ(run().state().laststim, 0);
    EXPECT_EQ(view().big, "47.5");  // unrounded, from the spread typed (2, not the stored 7)
    EXPECT_EQ(console->preferences().whole(kPrefsLowerBound), 30);  // used once, not stored
    // Every later estimate takes the spread typed too, made whole; the interval learns the
    // spread from the answers, whatever was typed.
    press(Button::Reset);
    edit(Field::Third, "7,5");
    press(Button::Start);
    EXPECT_EQ(run().state().runspread, 8);
    type("nyny");
    EXPECT_EQ(run().state().relsigmafinal, 8);
    EXPECT_EQ(run().interval(), robustInterval(firedAnswers(run().trials())));
}

TEST_F(StartReset, ResetDuringARunClearsItAndUnlocksTheInputs) {
    open();
    press(Button::Start);
    type("yyn");
    press(Button::Reset);
    expectLocked(view(), false);
    EXPECT_EQ(console->run(), nullptr);
    EXPECT_EQ(view().big, "");
    EXPECT_EQ(view().history, "");
    EXPECT_EQ(view().caption, "Next Output to Try:");
    EXPECT_EQ(view().bigInk, Ink::Black);
    for (std::size_t j = 0; j < 3; ++j) {
        EXPECT_EQ(view().plain[j].text, "");
        EXPECT_EQ(view().corrected[j].text, "");
    }
    EXPECT_TRUE(view().plot.empty());                         // the splash
    EXPECT_EQ(view().interval, "");                           // no run, no interval
    EXPECT_EQ(view().legend, "Success = y     Failure = n");  // the legend stays
    for (const bool on : view().timers) {
        EXPECT_FALSE(on);  // nothing to announce
    }
    type("y");  // no run, so no answer
    EXPECT_EQ(view().history, "");
}

TEST_F(StartReset, StartRefusesValuesNoRunCanStartFromAndChangesNothing) {
    struct Case {
        std::string prefs;
        const char* first;
        const char* second;
        const char* third;
        const char* message;
    };
    const std::string adaptive = defaultPrefsText();
    const std::string ml = prefsWith({{kPrefsUseMlPest, "1"}});
    const std::string bayes = defaultPrefsText() + "\tmethod=bayes-robust";
    const std::vector<Case> cases{
        {adaptive, "0", "7", ".45",
         "Cannot start: Initial output value must be a number from 1 to 100."},
        {adaptive, "100.5", "7", ".45",
         "Cannot start: Initial output value must be a number from 1 to 100."},
        {adaptive, "50", "0,5", ".45", "Cannot start: Step Size must be at least 1."},
        {adaptive, "50", "-7", ".45", "Cannot start: Step Size must be at least 1."},
        {adaptive, "50", "7", "0", "Cannot start: Diff. Threshold must be greater than 0."},
        {ml, "100", "1", "7", "Cannot start: Lower Bound must be below Upper Bound."},
        {ml, "50", "50.9", "7", "Cannot start: Lower Bound must be below Upper Bound."},
        {ml, "0", "80", "7", "Cannot start: Lower Bound must be a number from 1 to 100."},
        {ml, "20", "101", "7", "Cannot start: Upper Bound must be a number from 1 to 100."},
        {ml, "20", "80", ".5", "Cannot start: Spread must be at least 1."},
        {bayes, "0", "", "", "Cannot start: Width must be greater than 0 and at most 1."},
        {bayes, "1.5", "", "", "Cannot start: Width must be greater than 0 and at most 1."},
        {prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsMlDiffThreshold, "0"}}), "20", "80", "7",
         "Cannot start: The ML-PEST difference threshold (in Preferences) must be greater "
         "than 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        open(c.prefs);
        edit(Field::First, c.first);
        edit(Field::Second, c.second);
        edit(Field::Third, c.third);
        messages.clear();
        press(Button::Start);
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        expectLocked(view(), false);
        EXPECT_EQ(console->run(), nullptr);
        EXPECT_EQ(view().big, "");
        EXPECT_EQ(view().legend, "");
        EXPECT_TRUE(journal.empty());
        type("y");
        EXPECT_EQ(console->run(), nullptr);
    }
}

// Preferences that store other start values, another method, other keys and volumes.
void changeEverything(FakeHost& host) {
    host.prefs = composePrefs(
        {"30", "3", ".1", "0", "100", "40", "97", "98", "0", "0", "10", "90", "5", ".2", "1"});
}

TEST_F(StartReset, PreferencesDuringARunChangeOnlyKeysAndVolumesUntilReset) {
    open();
    press(Button::Start);
    type("y");
    ASSERT_EQ(view().big, "43");
    preferencesDialog = changeEverything;
    press(Button::Prefs);
    EXPECT_EQ(preferencesOpened, 1);

    EXPECT_EQ(run().state().mysetting, 43);
    EXPECT_EQ(run().state().mystep, 7);
    EXPECT_EQ(run().state().mydiff, 0.45);
    EXPECT_EQ(console->preferences().number(kPrefsMlDiffThreshold), 0.45);  // until Reset
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(view().parameters[0].caption, "Initial output value:");
    EXPECT_EQ(view().parameters[0].text, "50");  // the running values stay on show
    EXPECT_EQ(view().volumes[2], 40);
    EXPECT_EQ(view().legend, "Success = a     Failure = b");
    type("y");  // no longer an answer key
    EXPECT_EQ(run().state().stepnum, 1);
    type("a");
    EXPECT_EQ(run().state().stepnum, 2);
    EXPECT_EQ(view().big, "36");  // the staircase went on from 43 by its own step
    EXPECT_EQ(volumes.back(), 40);

    press(Button::Reset);  // the run is over: the stored start values and method apply
    EXPECT_STREQ(console->activeMethod().key, "ml");
    EXPECT_EQ(view().parameters[0].caption, "Lower Bound:");
    EXPECT_EQ(view().parameters[0].text, "10");
    EXPECT_EQ(view().parameters[1].text, "90");
    EXPECT_EQ(console->preferences().number(kPrefsInitialOutput), 30);
    EXPECT_EQ(console->preferences().number(kPrefsMlDiffThreshold), 0.2);
}

TEST_F(StartReset, PreferencesCancelledDuringARunLeaveItsMethodAndValues) {
    open(prefsWith({{kPrefsUseMlPest, "1"}}));
    choose("pest");  // adaptive PEST for this run, ML-PEST in the file
    edit(Field::First, "54");
    press(Button::Start);
    press(Button::Prefs);  // the dialog cancelled: the file as it was
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(run().state().mysetting, 54);
    EXPECT_EQ(view().parameters[0].text, "54");
    type("n");
    EXPECT_EQ(view().history, "01   054.00   054   0.0   07.0000\r");
    EXPECT_EQ(view().big, "61");
    EXPECT_EQ(view().caption, "Next Output to Try :");
}

TEST_F(StartReset, ChoosingAMethodShowsItsStoredValuesAndKeepsTheChoice) {
    open();
    edit(Field::First, "33");
    console->moved(Console::Slider::Click, 10);
    choose("ml");
    EXPECT_STREQ(console->activeMethod().key, "ml");
    EXPECT_EQ(view().method, 1U);
    EXPECT_EQ(view().parameters[0].caption, "Lower Bound:");
    EXPECT_EQ(view().parameters[1].caption, "Upper Bound:");
    EXPECT_EQ(view().parameters[2].caption, "Spread:");
    EXPECT_EQ(view().parameters[0].text, "20");
    EXPECT_EQ(view().parameters[1].text, "80");
    EXPECT_EQ(view().parameters[2].text, "7");
    EXPECT_EQ(view().volumes[2], 100);  // the switch re-applies the stored preferences

    choose("pest");
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(view().parameters[0].caption, "Initial output value:");
    EXPECT_EQ(view().parameters[2].caption, "Diff. Threshold:");
    EXPECT_EQ(view().parameters[0].text, "50");
    EXPECT_EQ(view().parameters[1].text, "7");
    EXPECT_EQ(view().parameters[2].text, ".45");

    // The file stores ML-PEST; the operator's adaptive PEST stands, with its own values.
    host.prefs = prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsSpread, "9"}});
    choose("pest");
    EXPECT_STREQ(console->activeMethod().key, "pest");
    EXPECT_EQ(view().parameters[0].text, "50");
    // Started with ML-PEST stored: its captions and values.
    open(prefsWith({{kPrefsUseMlPest, "1"}, {kPrefsSpread, "9"}}));
    EXPECT_STREQ(console->activeMethod().key, "ml");
    EXPECT_EQ(view().parameters[2].caption, "Spread:");
    EXPECT_EQ(view().parameters[2].text, "9");
    // No method during a run.
    press(Button::Start);
    choose("pest");
    EXPECT_STREQ(console->activeMethod().key, "ml");
}

TEST_F(StartReset, PrefsAppliesTheFileWhateverTheDialogsEnd) {
    open();
    edit(Field::First, "61");
    preferencesDialog = [](FakeHost& h) {
        h.prefs = prefsWith({{kPrefsInitialOutput, "44"}, {kPrefsUseMlPest, "1"}});
    };
    press(Button::Prefs);
    EXPECT_STREQ(console->activeMethod().key, "ml");
    EXPECT_EQ(view().parameters[0].caption, "Lower Bound:");
    EXPECT_EQ(console->preferences().number(kPrefsInitialOutput), 44);
    EXPECT_EQ(view().parameters[0].text, "20");

    preferencesDialog = nullptr;  // Cancel: the file as it was
    edit(Field::First, "99");
    press(Button::Prefs);
    EXPECT_EQ(view().parameters[0].text, "20");  // replaced by the file's values
}

}  // namespace
}  // namespace limenta::testing
